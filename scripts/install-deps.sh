#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test Veltrim 2000.
# Does nothing when everything is already there.
set -euo pipefail

# libasan8 and libubsan1: the sanitizer runtimes of g++ 12, for the native-asan preset.
# gcc-12-source, libgmp/mpfr/mpc-dev, scons, zlib1g-dev: scripts/build-i486-runtime.sh builds
# the 486 run-time and NSIS (makensis builds Setup.exe) from Debian's sources with them.
# p7zip-full, python3: the test that reads every instruction of Setup.exe and what it holds.
packages=(cmake g++ libasan8 libubsan1 googletest g++-mingw-w64-i686 wine wine32:i386 fonts-wine
  xvfb xauth x11-utils imagemagick gcc-12-source libgmp-dev libmpfr-dev libmpc-dev scons
  zlib1g-dev make xz-utils bzip2 python3 p7zip-full)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
