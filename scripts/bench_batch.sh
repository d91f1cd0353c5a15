#!/usr/bin/env bash
# Times `varnel-decode --batch` on a generated file of a million markings
# beside `awk -F, '{print $1,$2,$3}'` on the same file, in the same run, and
# reports both times, their ratio and the peak memory of each. A second run
# over a tenth of the lines shows whether the decoder's memory stays flat.
#
#   scripts/bench_batch.sh [path/to/varnel-decode]
#
# Default program: build/release/src/cli/varnel-decode, made by
#   cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNEL_BUILD_BENCHMARKS=ON
#   cmake --build build/release --target varnel-decode
# Environment: LINES (default 1000000), KEEP=1 keeps the generated file.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
decoder=${1:-$root/build/release/src/cli/varnel-decode}
lines=${LINES:-1000000}

if [[ ! -x $decoder ]]; then
    echo "bench_batch: no program at $decoder; build it first (see the top of this script)" >&2
    exit 2
fi
if [[ ! -x /usr/bin/time ]]; then
    echo "bench_batch: /usr/bin/time is missing (Debian: apt-get install time)" >&2
    exit 2
fi

work=$(mktemp -d)
if [[ ${KEEP:-0} != 1 ]]; then
    trap 'rm -rf "$work"' EXIT
fi

# A shelf of real-looking markings: K7 and K8 parts, one Code Two typed into
# Code Three's box, lower case with spaces, and a prefix no family has (a stop).
awk -v n="$lines" 'BEGIN {
    m[0] = "AXDA2500DKV4D,KQXEB0345MPMW,Y3121234"
    m[1] = "ADA3200AEP4AX,CBBHD0501APAW,1234567890"
    m[2] = "AXDA2600DKV3C,AIUHB0310XPMW,Y3120587"
    m[3] = "ADA3500DAA4BW,CBBID0521MPMW,0512345"
    m[4] = "AXDA2500DKV4D,Y3121234,KQXEB0345MPMW"
    m[5] = "axda 2500dkv4d,kqxeb 0345 mpmw,y3121234"
    m[6] = "AXDX2000,KQXEB0345MPMW,Y3121234"
    m[7] = "SDA3000AIO3BX,CBBWE0529VPMW,0529012"
    for (i = 0; i < n; ++i) print m[i % 8]
}' >"$work/markings.csv"
head -n $((lines / 10)) "$work/markings.csv" >"$work/tenth.csv"

# Runs a command under /usr/bin/time -v; prints "wall_seconds cpu_seconds peak_kib".
# CPU time (user + system) is the steadier figure on a machine shared with
# other work.
measure() {
    local status=0
    /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" || status=$?
    # The decoder exits 1 when a run stopped, as the stop in the file does.
    if ((status > 1)); then
        echo "bench_batch: '$*' failed with status $status:" >&2
        cat "$work/stderr.txt" "$work/time.txt" >&2
        exit 2
    fi
    awk -F': ' '
        /Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0; for (i = 1; i <= n; ++i) s = s * 60 + t[i] }
        /User time \(seconds\)|System time \(seconds\)/ { cpu += $2 }
        /Maximum resident set size/ { kib = $2 }
        END { printf "%.2f %.2f %d\n", s, cpu, kib }' "$work/time.txt"
}

read -r awk_s awk_cpu awk_kib < <(measure awk -F, '{print $1,$2,$3}' "$work/markings.csv")
read -r csv_s csv_cpu csv_kib < <(measure "$decoder" --batch "$work/markings.csv")
read -r json_s json_cpu json_kib < <(measure "$decoder" --json --batch "$work/markings.csv")
read -r tenth_s tenth_cpu tenth_kib < <(measure "$decoder" --batch "$work/tenth.csv")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1fx", a / b; else print "n/a" }'; }
row() {  # label wall cpu kib
    printf '%-36s %7.2f s %7.2f s %9d KiB   %7s %7s\n' "$1" "$2" "$3" "$4" "$(ratio "$2" "$awk_s")" \
        "$(ratio "$3" "$awk_cpu")"
}

printf 'markings: %d lines, %s (awk: %s)\n\n' "$lines" "$(du -h "$work/markings.csv" | cut -f1)" \
    "$(readlink -f "$(command -v awk)")"
printf '%-36s %9s %9s %13s   %7s %7s\n' "" "wall" "cpu" "peak memory" "wall/awk" "cpu/awk"
row "awk -F, '{print \$1,\$2,\$3}'" "$awk_s" "$awk_cpu" "$awk_kib"
row "varnel-decode --batch (CSV)" "$csv_s" "$csv_cpu" "$csv_kib"
row "varnel-decode --json --batch" "$json_s" "$json_cpu" "$json_kib"
row "varnel-decode --batch, $((lines / 10)) lines" "$tenth_s" "$tenth_cpu" "$tenth_kib"
