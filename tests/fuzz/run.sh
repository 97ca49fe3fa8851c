#!/usr/bin/env bash
# Builds the word-file fuzz target with clang and runs it for the given number
# of seconds (default 20) over the seed corpus; extra arguments go to libFuzzer.
#   tests/fuzz/run.sh            a short run, as CI does
#   tests/fuzz/run.sh 3600 -jobs=2 -workers=2
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-20}"
shift || true
build=build/fuzz
CXX="$(command -v clang++-14 || command -v clang++)" cmake -S tests/fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"
# New inputs go to a scratch folder, not into the seed corpus under git.
found="$(mktemp -d)"
trap 'rm -rf "$found"' EXIT
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/fuzz_wordfile" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
  -print_final_stats=1 -artifact_prefix="$build/" "$@" "$found" tests/fuzz/corpus tests/data
