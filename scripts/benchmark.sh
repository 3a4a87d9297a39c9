#!/usr/bin/env bash
# Benchmarks, reported and never asserted:
#  - start-up time and idle working set of Veltrim.exe against a one-window program (and that
#    program loading Veltrim's DLLs) under the same Wine (the test prefix, null graphics
#    driver), started alternately, medians of RUNS;
#  - where the start goes inside the process: read pass, first page, show, the other pages;
#  - one full Apply under Wine against the same platform calls made bare (on a machine of its
#    own, seeded as the default machine), medians of RUNS;
#  - one full Apply on the in-memory machine, natively, in an optimised build;
#  - the size and imports of Veltrim.exe.
#   benchmark.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-9}
bash scripts/build-i486-runtime.sh >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 >/dev/null
build=$(pwd)/build/win32
echo "== Start-up"
WINE_RUN_WITH="$build/Veltrim.exe $build/minimalwindow.exe $build/minimalimports.exe" \
  scripts/wine-run.sh "$build" "$build/startupbench.exe" "$runs"
echo "== Start-up phases inside the process"
WINE_RUN_MACHINE=bench scripts/wine-run.sh "$build" "$build/startphasesbench.exe" "$runs"
echo "== Apply under Wine"
# Disk writes make single Applies vary several-fold: three times the rounds.
WINE_RUN_MACHINE=bench scripts/wine-run.sh "$build" "$build/applyreplaybench.exe" "$((runs * 3))"
echo "== Apply natively"
cmake -S . -B build/native-release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native-release --target applybench -j2 >/dev/null
build/native-release/bench/applybench 2000
echo "== Size"
echo "Veltrim.exe: $(stat -c %s "$build/Veltrim.exe") bytes; imports:" \
  $(i686-w64-mingw32-objdump -p "$build/Veltrim.exe" | awk '/DLL Name/ {print $3}')
