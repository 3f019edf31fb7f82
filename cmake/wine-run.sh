#!/usr/bin/env bash
# Runs a Windows program of this build under Wine: a prefix of the build tree
# (made on first use), Wine's chatter off, and a virtual display when none is
# set. Usage: wine-run.sh program.exe [args...]
set -euo pipefail

exe=$1
build_dir=${DISEQC_BUILD_DIR:-$(cd "$(dirname "$exe")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ ! -f "$WINEPREFIX/.diseqc-ready" ]; then
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.diseqc-ready" ]; then
      wineboot -i >/dev/null 2>&1 || true
      # Without a window manager Wine waits for one at every window that
      # closes; unmanaged windows close at once.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.diseqc-ready"
    fi
  ) 9>"$build_dir/.wineprefix.lock"
fi

if [ -z "${DISPLAY:-}" ]; then
  # A display of our own for this one program. Wine's helper processes bind
  # to the display they start on, so none is started or kept here for later.
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi

# Wine's helper processes (services.exe and the like) outlive the program
# that started them and inherit its standard output: started by a test, they
# would hold the test runner's pipe open until they exit. Start them here,
# detached from our output, and keep the server for a while between programs
# on this display. Whoever made the display stops the server with it.
wineserver -p30 </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
exec wine "$@"
