#!/usr/bin/env bash
# Installs the build and test prerequisites on Debian, as root; does nothing
# when they are there already.
set -euo pipefail

packages=(cmake g++ make googletest libgtest-dev clang-14 libclang-rt-14-dev
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine32:i386 wine64
          xvfb xauth
          fonts-wine fonts-dejavu-core zlib1g-dev libz-mingw-w64-dev)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${missing[*]}; run as root to install them" >&2
  exit 1
fi
echo "installing: ${missing[*]}"
# wine32, which runs the 32-bit plug-in, is an i386 package.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
