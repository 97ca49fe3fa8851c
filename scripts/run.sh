#!/usr/bin/env bash
# Builds Vokabo Retano and starts it. Arguments are passed to the program
# ("-o" starts it in the notification area only).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build
cmake --preset release >/dev/null
cmake --build --preset release --target vokabo
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Built build/release/src/vokabo, but there is no display to show it on."
  echo "Run it from a desktop session, or under a virtual display:"
  echo "  xvfb-run -a build/release/src/vokabo"
  exit 1
fi
exec build/release/src/vokabo "$@"
