#!/usr/bin/env bash
# Builds every libFuzzer target with clang and runs each for a bounded time.
#   bash scripts/fuzz.sh [SECONDS] [FUZZER...] [libFuzzer flags...]
# SECONDS per fuzzer (default 30); name fuzzers to run only those (default:
# all of them). Fails on the first finding (crash, sanitizer report or broken
# invariant) and keeps the input that caused it in build/fuzz/findings/. New
# inputs go to a scratch folder; the seed corpora in fuzz/ stay as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
shift || true

# Each fuzzer and its seed corpus.
declare -A corpus=(
    [decode_fuzzer]=fuzz/corpus
    [batch_fuzzer]=fuzz/corpus_batch
    [output_fuzzer]=fuzz/corpus_output
    [html_fuzzer]=fuzz/corpus_html
)
order=(decode_fuzzer batch_fuzzer output_fuzzer html_fuzzer)

chosen=()
flags=()
for argument in "$@"; do
    if [[ "$argument" == -* ]]; then flags+=("$argument"); else chosen+=("$argument"); fi
done
if [ ${#chosen[@]} -eq 0 ]; then
    # Only the fuzzers this tree defines.
    for name in "${order[@]}"; do
        if grep -q "add_executable($name " fuzz/CMakeLists.txt; then chosen+=("$name"); fi
    done
fi

bash scripts/setup.sh --fuzz
CXX=clang++-14 cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARNEL_BUILD_FUZZER=ON -DVARNEL_BUILD_TESTS=OFF -DVARNEL_WERROR=ON >/dev/null
cmake --build build/fuzz -j2 --target "${chosen[@]}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The hand-worked markings of the tests seed the decode fuzzer too: one input
# per row, Code One to Three in UTF-8 behind a zero byte, 0xFF between them.
mkdir -p "$work/markings"
LC_ALL=C awk -F'\t' -v dir="$work/markings" 'NR > 1 {
    printf "%c%s\377%s\377%s", 0, $5, $6, $7 > (dir "/" $1); close(dir "/" $1)
}' tests/data/markings.tsv
findings=build/fuzz/findings
mkdir -p "$findings"
for name in "${chosen[@]}"; do
    echo "== $name: $seconds s"
    seeds=()
    if [ -d "${corpus[$name]:-}" ]; then seeds=("${corpus[$name]}"); fi
    if [ "$name" = decode_fuzzer ]; then seeds+=("$work/markings"); fi
    mkdir -p "$work/$name"
    ASAN_OPTIONS="detect_leaks=0:abort_on_error=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
        "./build/fuzz/fuzz/$name" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
        -artifact_prefix="$findings/$name-" -print_final_stats=1 "${flags[@]}" \
        "$work/$name" "${seeds[@]}"
done
