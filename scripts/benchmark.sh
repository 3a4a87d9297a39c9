#!/usr/bin/env bash
# Start-up time of Veltrim.exe against a one-window program under the same Wine (the test
# prefix, null graphics driver), and the size and imports of Veltrim.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win32 >/dev/null
cmake --build --preset win32 >/dev/null
build=$(pwd)/build/win32
WINE_RUN_WITH="$build/Veltrim.exe $build/minimalwindow.exe" \
  scripts/wine-run.sh "$build" "$build/startupbench.exe" "${1:-7}"
echo "Veltrim.exe: $(stat -c %s "$build/Veltrim.exe") bytes; imports:" \
  $(i686-w64-mingw32-objdump -p "$build/Veltrim.exe" | awk '/DLL Name/ {print $3}')
