#!/usr/bin/env bash
# Installs the Debian 12 packages that a task needs, if missing.
#   bash scripts/setup.sh            build and test (scripts/test.sh, a .deb)
#   bash scripts/setup.sh --window   only what building the programs needs (scripts/run.sh)
#   bash scripts/setup.sh --fuzz     adds clang and libFuzzer (scripts/fuzz.sh)
#   bash scripts/setup.sh --bench    adds Google Benchmark (-DVARNEL_BUILD_BENCHMARKS=ON)
# Flags combine: --window --bench builds the benchmarks without the test tools.
# Works as root (apt-get) and as a normal user (through sudo). apt's output
# goes to a log file, kept and named only when something fails.
set -euo pipefail

# The compiler, the build tools and Qt: enough for both programs.
build=(cmake ninja-build g++ qt6-base-dev libxkbcommon-dev)
# The unit tests, the installed window driven on a virtual display, the
# launcher and metadata validators, the .deb tools, and python3 for the
# parts catalogue's own checker.
test=(libgtest-dev libgmock-dev xvfb xauth xdotool desktop-file-utils appstream dpkg-dev file
      python3)
fuzz=(clang-14 libclang-rt-14-dev)
# Google Benchmark, and time for the batch benchmark's memory figures.
bench=(libbenchmark-dev time)

wanted=("${build[@]}")
with_tests=1
for flag in "$@"; do
    case "$flag" in
        --window) with_tests=0 ;;
        --fuzz) wanted+=("${fuzz[@]}") ;;
        --bench) wanted+=("${bench[@]}") ;;
        *)
            echo "setup.sh: unknown flag $flag (known: --window --fuzz --bench)" >&2
            exit 2
            ;;
    esac
done
if [ "$with_tests" -eq 1 ]; then wanted+=("${test[@]}"); fi

missing=()
for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then exit 0; fi

if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null; then
    sudo=(sudo)
else
    echo "setup.sh: missing packages ${missing[*]}; install them as root, or install sudo" >&2
    exit 1
fi

log="$(mktemp "${TMPDIR:-/tmp}/varnel-setup.XXXXXX.log")"
echo "setup.sh: installing ${missing[*]} (Debian packages; this can take minutes)"
if "${sudo[@]}" apt-get update >>"$log" 2>&1 &&
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        "${missing[@]}" >>"$log" 2>&1; then
    rm -f "$log"
else
    echo "setup.sh: installing failed; apt's output is in $log" >&2
    exit 1
fi
