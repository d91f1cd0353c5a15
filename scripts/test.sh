#!/usr/bin/env bash
# Installs what building and testing need, builds everything with warnings as
# errors and runs every test. With --asan, does the same in the
# AddressSanitizer and UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=default
if [ "${1:-}" = "--asan" ]; then preset=asan; fi
bash scripts/setup.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
QT_QPA_PLATFORM=offscreen ctest --preset "$preset" -j2
echo "test.sh: every test passed; varnel-decode is build/$preset/src/cli/varnel-decode," \
    "the window build/$preset/src/app/varnel"
