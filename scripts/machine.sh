#!/usr/bin/env bash
# The default Windows 98 machine: a Wine prefix seeded like a Windows 98 SE computer, with
# Veltrim 2000 installed in C:\Program Files\Veltrim 2000 by its Setup.exe.
#   machine.sh install   make the machine if it is missing, then (re)install Veltrim 2000 by
#                        running build/win32/Setup.exe /S on it
#   machine.sh reset     throw the machine away and make it again
#   machine.sh path      print where the machine lives
# The machine is kept between runs: settings the program changed stay changed until a reset.
set -euo pipefail
source "$(dirname "$0")/lib-wine.sh"

build_dir=$repo_dir/build/win32
if [ "$(id -u)" -eq 0 ]; then
  machine=${VELTRIM_MACHINE:-/var/tmp/veltrim-machine}
else
  machine=${VELTRIM_MACHINE:-$HOME/.local/share/veltrim-machine}
fi
program_dir=$machine/drive_c/Program\ Files/Veltrim\ 2000

create() {
  echo "Making the Windows 98 machine in $machine (about 20 s)..."
  mkdir -p "$(dirname "$machine")"
  make_prefix "$machine" x11
  seed_machine "$machine" "$build_dir"
  cp "$repo_dir/machine/classic-look.reg" "$machine/drive_c/classic-look.reg"
  own "$machine/drive_c/classic-look.reg"
  wine_in "$machine" wine regedit /S 'C:\classic-look.reg' >/dev/null 2>&1
  rm -f "$machine/drive_c/classic-look.reg"
  # Wine's own fonts, or Tahoma and Marlett fall back to fonts without the caption glyphs.
  cp /usr/share/wine/fonts/* "$machine/drive_c/windows/Fonts/" 2>/dev/null || true
  own "$machine/drive_c/windows/Fonts"
  wine_in "$machine" wineserver -w
  touch "$machine/.veltrim-machine"
}

install_program() {
  [ -f "$build_dir/Setup.exe" ] || {
    echo "build/win32/Setup.exe is missing: build it first (cmake --build --preset win32)." >&2
    exit 1
  }
  [ -f "$machine/.veltrim-machine" ] || create
  # Setup keeps the options of an earlier installation (Config.DAT) and refuses, with exit
  # code 2, while the program runs.
  local status=0
  run_tool "$machine" "$build_dir/Setup.exe" /S || status=$?
  rm -f "$machine/drive_c/veltrim-tools/Setup.exe"
  if [ "$status" -eq 2 ]; then
    echo "Veltrim 2000 is running on the machine: close it, then run this again." >&2
    exit 1
  elif [ "$status" -ne 0 ] || [ ! -f "$program_dir/Veltrim.exe" ]; then
    echo "Setup.exe /S failed (exit code $status)." >&2
    exit 1
  fi
}

case "${1:-install}" in
  install) install_program ;;
  reset)
    rm -rf "$machine"
    install_program
    ;;
  path) echo "$machine" ;;
  *)
    echo "usage: $0 [install|reset|path]" >&2
    exit 2
    ;;
esac
