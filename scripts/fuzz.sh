#!/usr/bin/env bash
# Builds the decode fuzzer with clang and runs it for a bounded time.
#   bash scripts/fuzz.sh [SECONDS] [extra libFuzzer flags...]
# Fails on any finding (crash, sanitizer report or broken invariant). New
# inputs go to a scratch folder; the seed corpus in fuzz/corpus stays as is.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
bash scripts/setup.sh
CXX=clang++-14 cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARNEL_BUILD_FUZZER=ON -DVARNEL_BUILD_TESTS=OFF -DVARNEL_WERROR=ON >/dev/null
cmake --build build/fuzz --target decode_fuzzer
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ASAN_OPTIONS="detect_leaks=0:abort_on_error=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    ./build/fuzz/fuzz/decode_fuzzer -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -artifact_prefix="$work/" -print_final_stats=1 "$@" "$work" fuzz/corpus
