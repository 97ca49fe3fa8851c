#!/usr/bin/env bash
# Builds Vokabo Retano and runs every test: unit tests, GUI tests offscreen
# and the end-to-end tests under a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
# CI sets VOKABO_WARNINGS_AS_ERRORS=ON: a warning fails its build there.
cmake --preset default -DCMAKE_COMPILE_WARNING_AS_ERROR="${VOKABO_WARNINGS_AS_ERRORS:-OFF}" >/dev/null
cmake --build --preset default
ctest --preset default "$@"
