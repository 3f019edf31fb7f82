#!/usr/bin/env bash
# The long runs, too long for ./test.sh (which runs short ones of each):
#   tools/long-run.sh monkey [actions] [seed]   10000 random actions on the real
#                                                setup window; a seed from the clock
#   tools/long-run.sh soak [cycles] [edits]     1000 opening and closing cycles and
#                                                1000 list edits, resources counted
# Builds the 64-bit tree when the program is missing or older than its
# sources, runs it under Wine (with a virtual display when none is set) and
# exits with its status: 0 only when no check failed.
set -euo pipefail
cd "$(dirname "$0")/.."
source cmake/wine-env.sh

program=${1:-}
case "$program" in
  monkey) defaults=(10000) ;;
  soak) defaults=(1000 1000) ;;
  *) echo "usage: tools/long-run.sh monkey [actions] [seed] | soak [cycles] [edits]" >&2; exit 2 ;;
esac
shift
[ $# -gt 0 ] || set -- "${defaults[@]}"
build=build/mingw64

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset mingw64 >/dev/null
fi
# The build knows what is out of date; with nothing to do it is quick.
cmake --build --preset mingw64 --target "$program" >/dev/null

# No Wine server of an earlier display may hold our output open (wine_stop).
trap 'wine_stop "$build"' EXIT
wine_stop "$build"
run=(cmake/wine-run.sh "$build/bin/$program.exe" "$@")
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}"
else
  "${run[@]}"
fi
