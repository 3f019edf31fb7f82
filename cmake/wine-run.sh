#!/usr/bin/env bash
# Runs a Windows program of this build under Wine: the loader that matches
# the program's PE header, a prefix of the build tree per architecture (made
# on first use), Wine's chatter off, and a virtual display when none is set.
# Usage: wine-run.sh program.exe [args...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

fail() {
  echo "wine-run.sh: $*" >&2
  exit 1
}

# copy_is_current COPY: succeeds when the copy was made from the prefix as it
# is now: with the same heap checks, for the same Wine.
copy_is_current() {
  cmp -s "$stamp" "$1/${stamp##*/}" &&
    cmp -s "$WINEPREFIX/.update-timestamp" "$1/.update-timestamp"
}

# use_desktop_prefix WORKER: switches to that desktop's copy of the prefix,
# made again from the prefix that was just set up whenever the two differ.
# Copying is much quicker than setting up each copy with wineboot.
use_desktop_prefix() {
  local copy=$WINEPREFIX-$1 windows=drive_c/windows folder
  if ! copy_is_current "$copy"; then
    (
      flock 9
      # The prefix is not set up again while it is copied.
      flock -s 8
      if ! copy_is_current "$copy"; then
        WINEPREFIX=$copy wineserver -k 2>/dev/null || true
        rm -rf "$copy" "$copy.new"
        mkdir "$copy.new"
        # Wine's DLLs are nearly all of a prefix (over a gigabyte) and are
        # written only when Wine itself changes, and then the copy is made
        # again: they are linked, the rest is copied.
        tar -C "$WINEPREFIX" --exclude="./$windows/system32" --exclude="./$windows/syswow64" \
          --exclude="./$windows/winsxs" -cf - . | tar -C "$copy.new" -xf - ||
          fail "could not copy the Wine prefix $WINEPREFIX to $copy"
        for folder in system32 syswow64 winsxs; do
          if [ -d "$WINEPREFIX/$windows/$folder" ]; then
            cp -al "$WINEPREFIX/$windows/$folder" "$copy.new/$windows/" ||
              fail "could not link the Wine prefix's $windows/$folder into $copy"
          fi
        done
        mv "$copy.new" "$copy" || fail "could not copy the Wine prefix $WINEPREFIX to $copy"
      fi
    ) 8>"$WINEPREFIX.lock" 9>"$copy.lock"
  fi
  export WINEPREFIX=$copy
}

exe=$1
[ -f "$exe" ] || fail "no such program: $exe"
# A program lies one folder below its build tree: in bin/ or in a session's folder.
build_dir=${DISEQC_BUILD_DIR:-$(cd "$(dirname "$exe")/.." && pwd)}
arch=$(pe_wine_arch "$exe") || fail "$exe is not a 32- or 64-bit Windows program"
wine_use "$arch" "$build_dir"

# A test that ctest gave a desktop of its own (cmake/windows-suite.sh) runs
# on that desktop's display, in that desktop's copy of the prefix: parallel
# tests then neither take each other's focus nor share a Wine server. The
# desktop's id is "WORKER_DISPLAY".
desktop=
if [ -n "${CTEST_RESOURCE_GROUP_0_DESKTOP:-}" ]; then
  desktop=${CTEST_RESOURCE_GROUP_0_DESKTOP#id:}
  desktop=${desktop%%,*}
  [[ $desktop =~ ^[0-9]+_[0-9]+$ ]] || fail "unknown desktop '$CTEST_RESOURCE_GROUP_0_DESKTOP'"
  export DISPLAY=:${desktop#*_}
fi

[ -e "$wine_loader" ] || fail "$wine_loader is missing: run tools/install-prerequisites.sh as root"
if [ "$arch" = win32 ] && ! can_run_win32; then
  fail "cannot run the 32-bit $(basename "$exe"): $WIN32_UNAVAILABLE. Use the 64-bit build (preset mingw64) on this machine."
fi
if [ -z "${DISPLAY:-}" ] && ! command -v xvfb-run >/dev/null; then
  fail "no display (DISPLAY is unset) and no xvfb-run for a virtual one: install xvfb and xauth (tools/install-prerequisites.sh), or set DISPLAY"
fi

# The programs to run under Wine's heap checks and their GlobalFlag, one
# "file.exe flags" a line; the build writes it from its targets
# (diseqc_windows_program in cmake/windows.cmake).
heap_checks=$build_dir/heap_checked_programs.txt
[ -f "$heap_checks" ] || fail "no $heap_checks: configure the build tree with cmake --preset first"
# Holds the heap checks the prefix was set up with: a build with other checks sets it up again.
# Set-up 5 adds Wine's fonts, which prefixes set up before it lack.
stamp=$WINEPREFIX/.diseqc-prefix-5
if ! cmp -s "$heap_checks" "$stamp"; then
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if ! cmp -s "$heap_checks" "$stamp"; then
      log=$WINEPREFIX.log
      status=0
      WINEDEBUG=err+all "$wine_loader" wineboot -i >"$log" 2>&1 || status=$?
      # The registry reaches the disk when the server has finished.
      wineserver -w || true
      if [ "$status" -ne 0 ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
        tail -n 20 "$log" >&2
        fail "could not create the Wine prefix $WINEPREFIX ('$wine_loader wineboot -i' exited $status; its output is in $log). Remove that folder and try again; if it fails again, check that '$wine_loader --version' runs."
      fi
      # Without a window manager Wine waits for one at every window that
      # closes; unmanaged windows close at once.
      "$wine_loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$log" 2>&1 ||
        fail "could not configure the Wine prefix $WINEPREFIX (see $log)"
      wine_prefix_fonts || fail "could not give the Wine prefix $WINEPREFIX its fonts"
      options='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Image File Execution Options'
      # A program that the earlier setup checked and this build does not (it
      # opts out, or is gone) loses its entry. Wine would read the list on its
      # standard input.
      if [ -f "$stamp" ]; then
        while read -r program _; do
          "$wine_loader" reg delete "$options\\$program" /f </dev/null >>"$log" 2>&1 || true
        done <"$stamp"
      fi
      while read -r program flags; do
        "$wine_loader" reg add "$options\\$program" /v GlobalFlag /t REG_DWORD /d "$flags" /f \
          </dev/null >>"$log" 2>&1 || fail "could not turn on heap checks in the Wine prefix $WINEPREFIX (see $log)"
      done <"$heap_checks"
      wineserver -w
      cp "$heap_checks" "$stamp"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

if [ -n "$desktop" ]; then
  use_desktop_prefix "${desktop%_*}"
elif [ -n "${DISEQC_DISPLAY_ALONE:-}" ] && [ -n "${DISPLAY:-}" ]; then
  # Parallel tests on one shared display (ctest without desktops): a program
  # that takes the focus all the time has the display to itself, the others
  # share it. The lock stays with this script, not with Wine's servers.
  exec 8>"$WINEPREFIX.display.lock"
  flock 8
elif [ -n "${DISPLAY:-}" ]; then
  exec 8>"$WINEPREFIX.display.lock"
  flock -s 8
fi

if [ -z "${DISPLAY:-}" ]; then
  # A display of our own for this one program. Wine's helper processes bind
  # to the display they start on, so none is started or kept here for later.
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$wine_loader" "$@"
fi

# Wine's helper processes outlive the program that started them and inherit
# its standard output: started by a test, they would hold the test runner's
# pipe open until they exit. services.exe and the like are started here,
# detached from our output, and the server is kept for a while between
# programs on this display; whoever made the display stops the server with
# it. explorer.exe, which looks after the desktop, is started again by
# whichever program opens a window after the last one has gone, and lives as
# long as other programs keep windows open: so the program writes into files,
# which are relayed to our output until the program ends. A server that was
# running already has its helpers (the server answers 2 and goes on).
server=0
wineserver -p30 </dev/null >/dev/null 2>&1 8>&- || server=$?
if [ "$server" -ne 2 ]; then
  "$wine_loader" cmd /c exit </dev/null >/dev/null 2>&1 8>&- || true
fi

output=$(mktemp)
errors=$(mktemp)
trap 'rm -f "$output" "$errors"' EXIT
"$wine_loader" "$@" >"$output" 2>"$errors" 8>&- &
program=$!
tail -n +1 -s 0.1 --pid="$program" -f "$output" &
tail -n +1 -s 0.1 --pid="$program" -f "$errors" >&2 &
status=0
wait "$program" || status=$?
# The relays stop once they have passed on the last of it.
wait
exit "$status"
