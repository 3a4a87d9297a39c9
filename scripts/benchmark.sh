#!/usr/bin/env bash
# Benchmarks, reported and never asserted:
#  - start-up time and idle working set of Veltrim.exe against a one-window program under the
#    same Wine (the test prefix, null graphics driver), alternating the two, medians of RUNS;
#  - one full Apply on the in-memory machine, natively, in an optimised build;
#  - the size and imports of Veltrim.exe.
#   benchmark.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
cmake --preset win32 >/dev/null
cmake --build --preset win32 >/dev/null
build=$(pwd)/build/win32
WINE_RUN_WITH="$build/Veltrim.exe $build/minimalwindow.exe" \
  scripts/wine-run.sh "$build" "$build/startupbench.exe" "$runs"
cmake -S . -B build/native-release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native-release --target applybench -j2 >/dev/null
build/native-release/tests/applybench 2000
echo "Veltrim.exe: $(stat -c %s "$build/Veltrim.exe") bytes; imports:" \
  $(i686-w64-mingw32-objdump -p "$build/Veltrim.exe" | awk '/DLL Name/ {print $3}')
