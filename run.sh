#!/usr/bin/env bash
# Builds the plug-in and opens it in the workbench, the stand-in viewer.
# With a display: an interactive session. Without one: a scripted tour under a
# virtual display that writes a screenshot and prints the decoded DiSEqC log.
# Usage: ./run.sh [--tour] [workbench options, e.g. --api "MD-API 1.0" or --api-none]
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-prerequisites.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target diseqc workbench

# The plug-in keeps its settings beside itself: give the session a folder of
# its own, starting from no settings file.
session=build/mingw/session
rm -rf "$session"
mkdir -p "$session"
cp build/mingw/bin/diseqc.dll build/mingw/bin/workbench.exe "$session/"
screenshot=$PWD/build/mingw/tour.png
windows_path() { local path=$1; echo "Z:${path//\//\\}"; }

args=("$@")
if [ -z "${DISPLAY:-}" ]; then
  case " ${args[*]-} " in *" --tour "*) ;; *) args+=(--tour) ;; esac
  rm -f "$screenshot"
  args+=(--screenshot "$(windows_path "$screenshot")")
fi
# Wine's helper processes belong to the display they started on.
export WINEPREFIX=$PWD/build/mingw/wineprefix
wineserver -k 2>/dev/null || true
cmake/wine-run.sh "$session/workbench.exe" "${args[@]}" "$(windows_path "$PWD/$session/diseqc.dll")"
if [ -f "$screenshot" ]; then echo "screenshot written to $screenshot"; fi
