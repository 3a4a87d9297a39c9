#!/usr/bin/env bash
# The default Windows 98 machine: a Wine prefix seeded like a Windows 98 SE computer, with
# Veltrim 2000 installed in C:\Program Files\Veltrim 2000.
#   machine.sh install   make the machine if it is missing, then (re)install Veltrim.exe
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
  mkdir -p "$program_dir"
  # Config.DAT: ShowSplash 1, FirstRun 1, the reserved records 0.
  printf '\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\000\000\000' \
    >"$program_dir/Config.DAT"
  cp "$repo_dir/machine/Readme.html" "$program_dir/"
  cp "$machine/drive_c/windows/Start Menu/Programs/Veltrim 2000/Uninstall.lnk" "$program_dir/"
  own "$program_dir"
  wine_in "$machine" wineserver -w
  touch "$machine/.veltrim-machine"
}

install_program() {
  [ -f "$build_dir/Veltrim.exe" ] || {
    echo "build/win32/Veltrim.exe is missing: build it first (cmake --build --preset win32)." >&2
    exit 1
  }
  [ -f "$machine/.veltrim-machine" ] || create
  cp "$build_dir/Veltrim.exe" "$program_dir/Veltrim.exe"
  own "$program_dir/Veltrim.exe"
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
