#!/usr/bin/env bash
# Installs what building the programs needs, builds the window and varnel-decode,
# says where they are, and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."
# Without a display the window cannot open: say so now, not after the build.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are unset); start it on a virtual one" \
        "with 'xvfb-run -a bash scripts/run.sh' (package xvfb), or decode without a window" \
        "with varnel-decode (README, Headless decoding)" >&2
    exit 1
fi
bash scripts/setup.sh --window
cmake --preset release >/dev/null
cmake --build --preset release --target varnel varnel-decode
echo "run.sh: the window is build/release/src/app/varnel; the headless decoder is" \
    "build/release/src/cli/varnel-decode"
exec ./build/release/src/app/varnel "$@"
