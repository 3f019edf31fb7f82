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

# A 32-bit tree that cannot run here builds the DLL alone, to check it as a
# file: its test programs would only cost the time to build them.
win32_runs=
if can_run_win32; then win32_runs=yes; fi
for preset in mingw mingw64; do
  cmake --preset "$preset" >/dev/null
  if [ "$preset" = mingw ] && [ -z "$win32_runs" ]; then
    echo "== $preset: building diseqc.dll"
    cmake --build --preset "$preset" --target diseqc
  else
    echo "== $preset: building diseqc.dll, workbench and Windows-side tests"
    cmake --build --preset "$preset"
  fi
done

# No Wine server is left holding our output open, however this ends (wine_stop).
trap 'wine_stop build/mingw; wine_stop build/mingw64' EXIT
# Each suite runs on one virtual desktop per core (cmake/windows-suite.sh).
# Where this machine runs both architectures, the 32-bit suite runs beside
# the 64-bit one and its output follows the 64-bit suite's.
not_run=
win32_log=
if [ -n "$win32_runs" ]; then
  echo "== mingw: the 32-bit Windows-side suite under Wine, beside the 64-bit one"
  win32_log=build/mingw/windows-suite.log
  cmake/windows-suite.sh mingw >"$win32_log" 2>&1 &
  win32_suite=$!
else
  not_run="the 32-bit Windows-side suite did not run: $WIN32_UNAVAILABLE"
  echo "== mingw: $not_run; checking the 32-bit build as files instead"
  ctest --test-dir build/mingw/static_checks --output-on-failure
fi
echo "== mingw64: the 64-bit Windows-side suite under 64-bit Wine"
status=0
cmake/windows-suite.sh mingw64 || status=$?
if [ -n "$win32_log" ]; then
  win32_status=0
  wait "$win32_suite" || win32_status=$?
  echo "== mingw: the 32-bit Windows-side suite's output"
  cat "$win32_log"
  ((win32_status == 0)) || { echo "== mingw: the 32-bit Windows-side suite failed"; status=1; }
fi
((status == 0)) || exit "$status"

echo "== all tests passed${not_run:+ ($not_run)}"
