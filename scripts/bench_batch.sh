#!/usr/bin/env bash
# Times `varnel-decode --batch` on a generated file of random-ish markings
# beside `awk -F, '{print $1,$2,$3}'` on the same file, in the same run, and
# reports the wall and CPU time of each, their ratio to awk's and the peak
# memory. A run over a tenth of the lines shows whether memory stays flat.
#
#   scripts/bench_batch.sh [path/to/varnel-decode ...]
#
# Name several programs (a build before a change and one after it) to time
# them side by side on the same file. Default program:
# build/release/src/cli/varnel-decode, made by
#   cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNEL_BUILD_BENCHMARKS=ON
#   cmake --build build/release --target varnel-decode
# Environment: LINES (default 300000), SEED (default 1), RUNS (default 3: the
# best of each is shown), KEEP=1 keeps the generated file and prints where
# it is.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
decoders=("$@")
if ((${#decoders[@]} == 0)); then
    decoders=("$root/build/release/src/cli/varnel-decode")
fi
lines=${LINES:-300000}

for decoder in "${decoders[@]}"; do
    if [[ ! -x $decoder ]]; then
        echo "bench_batch: no program at $decoder; build it first (see the top of this script)" >&2
        exit 2
    fi
done
if [[ ! -x /usr/bin/time ]]; then
    echo "bench_batch: /usr/bin/time is missing (Debian: apt-get install time)" >&2
    exit 2
fi

work=$(mktemp -d)
if [[ ${KEEP:-0} == 1 ]]; then
    echo "bench_batch: the files stay in $work" >&2
else
    trap 'rm -rf "$work"' EXIT
fi

# Markings drawn at random from a shelf of K7 and K8 part numbers, each with
# a random stepping, date and batch: about one in twenty typed in lower case
# with spaces, one in twenty with Codes Two and Three swapped, one in fifty
# with a prefix no family has (a stop), one in a hundred missing a code.
awk -v n="$lines" -v seed="${SEED:-1}" 'BEGIN {
    srand(seed)
    split("AXDA2500DKV4D AXDA3000DKV4E AXDA2400DKV3C AXDA2600DKV3D AXDC2000DKV3C " \
          "AX1800DMT3C A1200AMS3C DHD1300AMT1C DHD1400DLV1C SDA2500DUT3D SDA3000DKV4D " \
          "ADA3200AEP5AP ADA3000DEP4AW ADA3000DIK4BI ADA3500DAA4BW ADA4800DEP6CD " \
          "ADAFX53CEP5AT OSA248CEP5AK AMA3000BAA4AX SDA3100AIP3AX", opn, " ")
    split("KQXEB AIUHB JIUHA CBBHD CBBID AQYHA", stepping, " ")
    split("MPMW APAW XPMW VPMW SPMW", tail, " ")
    nOpn = length(opn); nStep = length(stepping); nTail = length(tail)
    for (i = 0; i < n; ++i) {
        code1 = opn[1 + int(rand() * nOpn)]
        code2 = sprintf("%s%02d%02d%s", stepping[1 + int(rand() * nStep)], 2 + int(rand() * 5),
                        1 + int(rand() * 52), tail[1 + int(rand() * nTail)])
        code3 = sprintf("Y%07d", int(rand() * 10000000))
        r = rand()
        if (r < 0.05) {
            code1 = tolower(substr(code1, 1, 4)) " " tolower(substr(code1, 5))
        } else if (r < 0.10) {
            t = code2; code2 = code3; code3 = t
        } else if (r < 0.12) {
            code1 = "AXDX2000"
        } else if (r < 0.13) {
            code3 = ""
        }
        print code1 "," code2 "," code3
    }
}' >"$work/markings.csv"
head -n $((lines / 10)) "$work/markings.csv" >"$work/tenth.csv"

# Runs a command RUNS times (default 3); prints "wall_seconds cpu_seconds
# peak_kib", the least of each, timed to the millisecond: awk takes a few
# hundredths of a second, where /usr/bin/time's own figures are too coarse.
# CPU time (user + system) is the steadier figure on a machine shared with
# other work.
measure() {
    local run status wall user system kib
    for ((run = 0; run < ${RUNS:-3}; ++run)); do
        status=0
        {
            TIMEFORMAT='%3R %3U %3S'
            time /usr/bin/time -f %M -o "$work/memory.txt" "$@" >/dev/null 2>"$work/stderr.txt"
        } 2>"$work/time.txt" || status=$?
        # The decoder exits 1 when a run stopped, as the stops in the file do.
        if ((status > 1)); then
            echo "bench_batch: '$*' failed with status $status:" >&2
            cat "$work/stderr.txt" >&2
            exit 2
        fi
        read -r wall user system <"$work/time.txt"
        kib=$(tail -n 1 "$work/memory.txt")
        echo "$wall $(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }') $kib"
    done | awk 'NR == 1 || $1 < w { w = $1 } NR == 1 || $2 < c { c = $2 } NR == 1 || $3 < k { k = $3 }
                END { printf "%.3f %.3f %d\n", w, c, k }'
}

read -r awk_s awk_cpu awk_kib < <(measure awk -F, '{print $1,$2,$3}' "$work/markings.csv")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1fx", a / b; else print "n/a" }'; }
row() {  # label wall cpu kib
    printf '%-40s %7.3f s %7.3f s %9d KiB   %7s %7s\n' "$1" "$2" "$3" "$4" "$(ratio "$2" "$awk_s")" \
        "$(ratio "$3" "$awk_cpu")"
}
# Times one way of running the decoder over a file and prints its row.
time_row() {  # label decoder arguments...
    local label=$1
    shift
    local s cpu kib
    read -r s cpu kib < <(measure "$@")
    row "$label" "$s" "$cpu" "$kib"
}

printf 'markings: %d lines, %s (awk: %s)\n\n' "$lines" "$(du -h "$work/markings.csv" | cut -f1)" \
    "$(readlink -f "$(command -v awk)")"
printf '%-40s %9s %9s %13s   %7s %7s\n' "" "wall" "cpu" "peak memory" "wall/awk" "cpu/awk"
row "awk -F, '{print \$1,\$2,\$3}'" "$awk_s" "$awk_cpu" "$awk_kib"
for decoder in "${decoders[@]}"; do
    if ((${#decoders[@]} > 1)); then
        echo "$decoder:"
    fi
    time_row "varnel-decode --batch (CSV)" "$decoder" --batch "$work/markings.csv"
    time_row "varnel-decode --json --batch" "$decoder" --json --batch "$work/markings.csv"
    if "$decoder" --help | grep -q -- --catalogue; then
        time_row "varnel-decode --catalogue --batch" "$decoder" --catalogue --batch \
            "$work/markings.csv"
    fi
    time_row "varnel-decode --batch, $((lines / 10)) lines" "$decoder" --batch "$work/tenth.csv"
done
