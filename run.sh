#!/usr/bin/env bash
# Builds the plug-in and opens it in the workbench, the stand-in viewer: the
# 32-bit plug-in where this machine can run it, else the 64-bit one.
# With a display: an interactive session. Without one: a scripted tour under a
# virtual display that writes a screenshot and prints the decoded DiSEqC log.
# Usage: ./run.sh [--tour | --tour-extras] [workbench options, e.g. --api "MD-API 1.0" or --api-none]
set -euo pipefail
cd "$(dirname "$0")"
source cmake/wine-env.sh

./tools/install-prerequisites.sh
if can_run_win32; then
  preset=mingw
  echo "run.sh: running the 32-bit plug-in"
else
  preset=mingw64
  echo "run.sh: running the 64-bit plug-in, as $WIN32_UNAVAILABLE"
fi
build=build/$preset
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target diseqc workbench

# The plug-in keeps its settings beside itself: give the session a folder of
# its own, starting from no settings file.
session=$build/session
rm -rf "$session"
mkdir -p "$session"
cp "$build/bin/diseqc.dll" "$build/bin/workbench.exe" "$session/"
screenshot=$PWD/$build/tour.png
windows_path() { local path=$1; echo "Z:${path//\//\\}"; }

args=("$@")
tour=
case " ${args[*]-} " in *" --tour "*) tour=yes ;; esac
if [ -z "${DISPLAY:-}" ]; then
  [ -n "$tour" ] || args+=(--tour)
  tour=yes
  rm -f "$screenshot"
  args+=(--screenshot "$(windows_path "$screenshot")")
fi

wine_stop "$build"
trap 'wine_stop "$build"' EXIT
status=0
cmake/wine-run.sh "$session/workbench.exe" "${args[@]}" "$(windows_path "$PWD/$session/diseqc.dll")" ||
  status=$?
if [ "$status" -ne 0 ]; then
  echo "run.sh: the workbench exited with status $status." >&2
  if [ -n "${DISPLAY:-}" ]; then
    echo "run.sh: if DISPLAY=$DISPLAY is no running X server, unset DISPLAY to use a virtual one;" \
      "WINEDEBUG=err+all ./run.sh shows what Wine reports." >&2
  else
    echo "run.sh: WINEDEBUG=err+all ./run.sh shows what Wine reports." >&2
  fi
  exit "$status"
fi
if [ -n "$tour" ] && [ -z "${DISPLAY:-}" ]; then
  if [ ! -f "$screenshot" ]; then
    echo "run.sh: the tour ended without writing $screenshot" >&2
    exit 1
  fi
  echo "screenshot written to $screenshot"
fi
