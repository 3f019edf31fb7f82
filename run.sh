#!/usr/bin/env bash
# Builds the plug-in and opens it in the workbench, the stand-in viewer: the
# 32-bit plug-in where this machine can run it, else the 64-bit one.
# With a display: an interactive session, or a tour if one is asked for.
# Without one: a scripted tour (--tour unless another is given) under a
# virtual display. A tour writes a screenshot, which is checked, and prints
# the decoded DiSEqC log; --docs makes that screenshot the README's picture of
# the tour (docs/tour.png, docs/extras.png). Every other option is passed on
# to the workbench.
# Usage: ./run.sh [--tour | --tour-extras] [--docs] [workbench options, e.g. --api "MD-API 1.0",
#                 --api-none, --screenshot FILE.png, --trace FILE, --model stab|moteck]
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
# --docs: the tour writes the README's picture of it, in docs/.
docs_screenshot() {
  [ -n "$docs" ] || return 0
  if [ -n "$screenshot" ]; then
    echo "run.sh: --docs names the screenshot itself; leave out --screenshot" >&2
    exit 2
  fi
  case $tour in
    --tour) screenshot=docs/tour.png ;;
    --tour-extras) screenshot=docs/extras.png ;;
    *)
      echo "run.sh: --docs takes --tour or --tour-extras" >&2
      exit 2
      ;;
  esac
  args+=(--screenshot "$(windows_path "$PWD/$screenshot")")
}
windows_path() { local path=$1; echo "Z:${path//\//\\}"; }
# unix_path PATH: where a file name that the workbench was given lands here.
# Wine runs the workbench in this folder, on drive Z:, which is /; the other
# drives are links in the prefix.
unix_path() {
  local path=${1//\\//} prefix
  prefix=$PWD/$build/wineprefix-$(pe_wine_arch "$session/workbench.exe")
  case $path in
    [A-Za-z]:/*) realpath -m "$prefix/dosdevices/$(tr 'A-Z' 'a-z' <<<"${path:0:1}"):${path:2}" ;;
    /*) echo "$path" ;;
    *) echo "$PWD/$path" ;;
  esac
}

args=()
docs=
for arg in "$@"; do
  if [ "$arg" = --docs ]; then docs=yes; else args+=("$arg"); fi
done
tour=
screenshot=
for ((i = 0; i < ${#args[@]}; i++)); do
  case ${args[i]} in
    --tour*) tour=${args[i]} ;;
    --screenshot) screenshot=${args[i + 1]:-} ;;
  esac
done
if [ -z "${DISPLAY:-}" ] && [ -z "$tour" ]; then
  args+=(--tour)
  tour=--tour
fi
docs_screenshot
if [ -n "$tour" ] && [ -z "$screenshot" ]; then
  screenshot=$(windows_path "$PWD/$build/tour.png")
  args+=(--screenshot "$screenshot")
fi
if [ -n "$screenshot" ]; then
  screenshot_file=$(unix_path "$screenshot")
  # Only a screenshot that this run writes passes the check below.
  rm -f "$screenshot_file"
fi

# No Wine server of an earlier display may hold our output open (wine_stop).
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
if [ -n "$screenshot" ]; then
  if [ ! -f "$screenshot_file" ]; then
    echo "run.sh: the workbench ended without writing $screenshot_file" >&2
    exit 1
  fi
  echo "screenshot written to $screenshot_file"
fi
