#!/usr/bin/env bash
# Builds Vokabo Retano and runs every test: unit tests, GUI tests offscreen
# and the end-to-end tests under a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default "$@"
