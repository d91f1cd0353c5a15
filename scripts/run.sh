#!/usr/bin/env bash
# Installs what is missing, builds Varnel and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default
cmake --build --preset default --target varnel
exec ./build/default/src/app/varnel "$@"
