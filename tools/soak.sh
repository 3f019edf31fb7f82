#!/usr/bin/env bash
# The full soak run: 1000 opening and closing cycles and 1000 list edits in
# one host process under Wine, with windows, GDI and USER objects, kernel
# handles and private bytes counted before and after. ./test.sh runs a short
# one (ctest soak_quick).
#   tools/soak.sh [cycles] [edits]
set -euo pipefail
cd "$(dirname "$0")/.."
source cmake/wine-env.sh
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 --target soak
wine_stop build/mingw64
trap 'wine_stop build/mingw64' EXIT
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" cmake/wine-run.sh build/mingw64/bin/soak.exe "${1:-1000}" "${2:-1000}"
else
  cmake/wine-run.sh build/mingw64/bin/soak.exe "${1:-1000}" "${2:-1000}"
fi
