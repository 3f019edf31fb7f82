#!/usr/bin/env bash
# Runs the Windows-side suite of a build tree with as many parallel workers
# as this machine has cores and one more (at least two; DISEQC_DESKTOPS sets another
# number), each on a virtual desktop of its own: a display, and a copy of the
# tree's Wine prefix (cmake/wine-run.sh). ctest hands the desktops out as a
# resource, so that no two tests that open windows share a display.
# Usage: cmake/windows-suite.sh PRESET [ctest options...]
#   e.g. cmake/windows-suite.sh mingw64 -R 'Extras|monkey'
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source cmake/wine-env.sh

preset=$1
shift
build=build/$preset
[ -d "$build" ] || { echo "windows-suite.sh: no $build: configure it with cmake --preset $preset" >&2; exit 1; }
# A test spends much of its time waiting on Wine, its timers and the display:
# one worker more than there are cores keeps the cores busy.
desktops=${DISEQC_DESKTOPS:-$(($(nproc) + 1))}
((desktops >= 2)) || desktops=2

servers=()
resources=$(mktemp)
stop() {
  wine_stop "$build"
  local server
  for server in "${servers[@]}"; do kill "$server" 2>/dev/null || true; done
  rm -f "$resources"
}
# Each run starts and ends without a Wine server, which a display that has
# gone would leave holding the test runner's output open (wine_stop).
trap stop EXIT
wine_stop "$build"

# Xvfb picks a free display number and writes it once it takes clients; the
# read ends then, or when Xvfb ends without one.
ids=()
for ((worker = 0; worker < desktops; worker++)); do
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  servers+=($!)
  display=
  read -r -t 30 display <"$fifo" || true
  rm -f "$fifo"
  [ -n "$display" ] || { echo "windows-suite.sh: Xvfb did not start a display" >&2; exit 1; }
  ids+=("{\"id\": \"${worker}_$display\", \"slots\": 1}")
  # ctest itself lists the tests of each program on the first desktop, in
  # the tree's own prefix, which the desktops' copies are made from.
  ((worker > 0)) || export DISPLAY=:$display
done
(
  IFS=,
  printf '{"version": {"major": 1, "minor": 0}, "local": [{"desktop": [%s]}]}\n' "${ids[*]}"
) >"$resources"

ctest --preset "$preset" --resource-spec-file "$resources" -j "$desktops" "$@"
