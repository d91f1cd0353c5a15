#!/usr/bin/env bash
# Installs what building the window needs, builds Varnel and starts it.
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
cmake --build --preset release --target varnel
exec ./build/release/src/app/varnel "$@"
