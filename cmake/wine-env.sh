# Wine for the Windows programs of a build tree: the loader and the prefix
# that match a program's architecture, and whether this machine can run
# 32-bit programs at all. Sourced by cmake/wine-run.sh, test.sh and run.sh.
#
# Debian's `wine` wrapper always takes the 32-bit loader when wine32 is
# installed, also where the kernel cannot execute it: call the loaders
# directly.

WINE_LOADER_WIN32=/usr/lib/wine/wine
WINE_LOADER_WIN64=/usr/lib/wine/wine64

# pe_wine_arch FILE: prints win32 or win64, read from the machine field of
# the file's PE header; fails for anything else.
pe_wine_arch() {
  local file=$1 header machine
  header=$(od -An -tu4 -j60 -N4 "$file" 2>/dev/null | tr -d ' ')
  [ -n "$header" ] || return 1
  machine=$(od -An -tx2 -j$((header + 4)) -N2 "$file" 2>/dev/null | tr -d ' ')
  case $machine in
    014c) echo win32 ;;
    8664) echo win64 ;;
    *) return 1 ;;
  esac
}

# can_run_win32: succeeds when this machine really executes the 32-bit Wine
# loader. Otherwise fails and leaves the reason in WIN32_UNAVAILABLE.
# DISEQC_FORCE_64BIT_ONLY=1 takes the 64-bit-only path on any machine.
can_run_win32() {
  WIN32_UNAVAILABLE=
  if [ -n "${DISEQC_FORCE_64BIT_ONLY:-}" ]; then
    WIN32_UNAVAILABLE="DISEQC_FORCE_64BIT_ONLY is set"
    return 1
  fi
  if [ ! -e "$WINE_LOADER_WIN32" ]; then
    WIN32_UNAVAILABLE="$WINE_LOADER_WIN32 is missing (package wine32:i386)"
    return 1
  fi
  local output status=0
  output=$("$WINE_LOADER_WIN32" --version 2>&1) || status=$?
  if [ "$status" -ne 0 ]; then
    WIN32_UNAVAILABLE="this machine cannot execute 32-bit programs: '$WINE_LOADER_WIN32 --version' exited $status${output:+ (${output##*: })}"
    return 1
  fi
}

# wine_use ARCH BUILD_DIR: exports the environment for running programs of
# that architecture from that build tree, each architecture in a prefix of
# its own, and sets wine_loader.
wine_use() {
  local arch=$1 build_dir
  # Wine takes absolute prefixes only.
  build_dir=$(cd "$2" && pwd) || return 1
  case $arch in
    win32) wine_loader=$WINE_LOADER_WIN32 ;;
    win64) wine_loader=$WINE_LOADER_WIN64 ;;
    *) echo "wine_use: unknown architecture '$arch'" >&2; return 1 ;;
  esac
  export WINEARCH=$arch
  export WINELOADER=$wine_loader
  export WINEPREFIX=$build_dir/wineprefix-$arch
  # Quiet, except for damage found in a heap: the prefix turns on Wine's heap
  # checks for our programs, and the tests fail on what they report.
  export WINEDEBUG=${WINEDEBUG:--all,err+heap}
  # No Mono or Gecko: without them wineboot asks to download them, in a box
  # that nobody answers under a virtual display, and nothing here needs them.
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
}

# Wine's own fonts (Debian's fonts-wine), which it draws the title bars'
# buttons (Marlett), the dialogs (MS Sans Serif) and its system fonts with.
# Debian's Wine 8 does not find them where the package puts them, but it
# reads every font in a prefix's C:\windows\Fonts.
WINE_FONTS_DIR=/usr/share/wine/fonts

# wine_prefix_fonts: copies Wine's fonts into the prefix of wine_use; fails
# when they are not installed. They hold little beyond Latin-1, so their
# faces are linked, as Windows links its fonts, to DejaVu (of fontconfig) for
# the glyphs they lack, such as arrows.
wine_prefix_fonts() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts face
  local links='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  if [ ! -f "$WINE_FONTS_DIR/marlett.ttf" ]; then
    echo "Wine's fonts are missing from $WINE_FONTS_DIR (package fonts-wine): run tools/install-prerequisites.sh as root" >&2
    return 1
  fi
  mkdir -p "$fonts" && cp "$WINE_FONTS_DIR"/* "$fonts"/ || return 1
  for face in "MS Sans Serif" Tahoma "Small Fonts" System; do
    "$WINELOADER" reg add "$links" /v "$face" /t REG_MULTI_SZ /d "DejaVuSans.ttf,DejaVu Sans" /f >/dev/null || return 1
  done
  for face in Courier Fixedsys; do
    "$WINELOADER" reg add "$links" /v "$face" /t REG_MULTI_SZ /d "DejaVuSansMono.ttf,DejaVu Sans Mono" /f >/dev/null || return 1
  done
}

# wine_stop BUILD_DIR: stops the Wine servers of that tree's prefixes, the
# desktops' copies (wineprefix-ARCH-WORKER) included. Wine's helper processes
# belong to the display they started on, so each session begins and ends with
# none running: a helper that died with an earlier display is started again by
# a test program, inherits its output and holds the test runner's pipe open
# until the test times out.
wine_stop() {
  local build_dir prefix
  build_dir=$(cd "$1" 2>/dev/null && pwd) || return 0
  for prefix in "$build_dir"/wineprefix-win32 "$build_dir"/wineprefix-win32-* \
    "$build_dir"/wineprefix-win64 "$build_dir"/wineprefix-win64-*; do
    if [ -d "$prefix" ]; then WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; fi
  done
}
