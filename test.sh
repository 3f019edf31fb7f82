#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test: the
# native tree, the fuzzing, and the Windows-side suite once for each
# architecture that this machine can run. A 32-bit build that cannot run
# here is still checked as a file.
set -euo pipefail
cd "$(dirname "$0")"
source cmake/wine-env.sh

./tools/install-prerequisites.sh

echo "== native: portable logic under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== fuzzing every reader of typed or stored text"
./tools/fuzz.sh "${DISEQC_FUZZ_SECONDS:-60}"

for preset in mingw mingw64; do
  echo "== $preset: building diseqc.dll, workbench and Windows-side tests"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

# Each suite starts and ends without a Wine server, which a display that has
# gone would leave holding the test runner's output open (wine_stop).
trap 'wine_stop build/mingw; wine_stop build/mingw64' EXIT
windows_suite() {
  local preset=$1
  wine_stop "build/$preset"
  if [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset "$preset"
  else
    ctest --preset "$preset"
  fi
  wine_stop "build/$preset"
}

not_run=
if can_run_win32; then
  echo "== mingw: the 32-bit Windows-side suite under Wine"
  windows_suite mingw
else
  not_run="the 32-bit Windows-side suite did not run: $WIN32_UNAVAILABLE"
  echo "== mingw: $not_run; checking the 32-bit build as files instead"
  ctest --test-dir build/mingw/static_checks --output-on-failure
fi
echo "== mingw64: the 64-bit Windows-side suite under 64-bit Wine"
windows_suite mingw64

echo "== all tests passed${not_run:+ ($not_run)}"
