#!/usr/bin/env bash
# Builds Veltrim.exe and Setup.exe, installs the program on the default Windows 98 machine
# with Setup.exe /S and opens it.
# With no display (a server, a container) it runs under Xvfb and saves a screenshot of the
# main window instead. The machine is kept between runs; scripts/machine.sh reset renews it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib-wine.sh

bash scripts/install-deps.sh
# The 486 run-time and NSIS: built once (about 20 minutes), then reused.
bash scripts/build-i486-runtime.sh >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32
bash scripts/machine.sh install
machine=$(bash scripts/machine.sh path)

if [ -z "${DISPLAY:-}" ]; then
  echo "No display here (DISPLAY is not set): running Veltrim 2000 under Xvfb instead."
  bash scripts/screenshots.sh --main-only build/screenshots
  echo "Screenshot of the main window: $(pwd)/build/screenshots/main-window.png"
  exit 0
fi

# On a desktop the window manager draws the frames.
wine_in "$machine" wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
wine_in "$machine" wineserver -k 2>/dev/null || true
if [ "$(id -u)" -eq 0 ]; then
  # The machine's user may use this display: hand it the display's cookie.
  cookie=/home/$wine_user/.Xauthority
  touch "$cookie" && chown "$wine_user" "$cookie" && chmod 600 "$cookie"
  xauth extract - "$DISPLAY" 2>/dev/null | as_user xauth -f "$cookie" merge - 2>/dev/null || true
  export WINE_XAUTHORITY=$cookie
fi
echo "Opening Veltrim 2000 on $DISPLAY..."
cd "$machine/drive_c/Program Files/Veltrim 2000"
WINE_DISPLAY=$DISPLAY wine_in "$machine" wine Veltrim.exe
