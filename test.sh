#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-prerequisites.sh

echo "== native: portable logic under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== fuzzing the settings file reader and writer"
./tools/fuzz.sh "${DISEQC_FUZZ_SECONDS:-60}"

echo "== mingw: diseqc.dll, workbench and Windows-side tests under Wine"
cmake --preset mingw >/dev/null
cmake --build --preset mingw
# Wine's helper processes belong to the display they started on: begin and
# end with none running.
stop_wine() { WINEPREFIX="$PWD/build/mingw/wineprefix" wineserver -k 2>/dev/null || true; }
stop_wine
trap stop_wine EXIT
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset mingw
else
  ctest --preset mingw
fi
echo "== all tests passed"
