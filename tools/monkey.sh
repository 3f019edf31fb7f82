#!/usr/bin/env bash
# The long monkey run on the real setup window: builds the 64-bit tree when
# the monkey is missing or older than its sources, then runs it under Wine.
# Usage: tools/monkey.sh [actions] [seed]   (10000 actions, a seed from the clock)
# Exits with the monkey's status: 0 only when no check failed.
set -euo pipefail
cd "$(dirname "$0")/.."
source cmake/wine-env.sh

actions=${1:-10000}
seed=${2:-}
build=build/mingw64

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset mingw64 >/dev/null
fi
# The build knows what is out of date; with nothing to do it is quick.
cmake --build --preset mingw64 --target monkey >/dev/null

trap 'wine_stop "$build"' EXIT
wine_stop "$build"
run=(cmake/wine-run.sh "$build/bin/monkey.exe" "$actions" ${seed:+"$seed"})
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}"
else
  "${run[@]}"
fi
