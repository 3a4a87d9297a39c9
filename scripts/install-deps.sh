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
  zlib1g-dev make xz-utils bzip2 python3 p7zip-full locales curl)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# The Japanese machine of the tests: Wine takes its ANSI code page (932) from the locale, and
# falls back to a single-byte one without a word when the locale was never generated.
japanese_locale() {
  locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' && return 0
  grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  if ! $SUDO locale-gen >/dev/null || ! locale -a | grep -qix 'ja_JP.utf8'; then
    echo "Could not generate the locale ja_JP.UTF-8 (locale-gen)." >&2
    return 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  japanese_locale
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
# A mirror caught in the middle of a sync serves an index of the wrong size ("Mirror sync in
# progress?"): try the update again after a pause, then go on with whatever indexes came,
# since the packages may still be had.
updated=0
for attempt in 1 2 3 4 5; do
  if $SUDO apt-get update -qq 2>/tmp/veltrim-apt-update.err && ! grep -q '^[EW]:' /tmp/veltrim-apt-update.err; then
    updated=1
    break
  fi
  echo "apt-get update failed (try $attempt of 5): $(grep -m1 '^[EW]:' /tmp/veltrim-apt-update.err || true)" >&2
  [ "$attempt" -lt 5 ] && sleep $((attempt * 15))
done
if [ "$updated" -ne 1 ]; then
  echo "Going on with the package indexes that could be had." >&2
  # An index the mirror serves whole but older than its Release file names is refused by
  # apt, which then cannot pair i386 libraries with their amd64 twins. The index as served
  # still names packages the mirror holds (each checked against its own hash): take it.
  grep -o 'http[^ ]*/Packages\.xz' /tmp/veltrim-apt-update.err | sort -u | while read -r url; do
    list="/var/lib/apt/lists/$(echo "${url#http://}" | sed 's|\.xz$||; s|/|_|g')"
    if curl -fsS "$url" | xz -dc >"$list.tmp" 2>/dev/null && [ -s "$list.tmp" ]; then
      $SUDO mv "$list.tmp" "$list"
      echo "Took the index as the mirror serves it: $url" >&2
    else
      rm -f "$list.tmp"
    fi
  done
fi
if ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
  echo "Could not install: ${missing[*]}" >&2
  echo "The package mirror did not give them (see the apt-get messages above); try again later." >&2
  exit 1
fi
japanese_locale
