#!/usr/bin/env bash
# Runs every test: installs what is missing, builds each preset and runs its ctest suite
# (native: the core against the fake machine; native-asan: the same with AddressSanitizer and
# UndefinedBehaviorSanitizer, so a memory fault or undefined behaviour fails the run; win32:
# the same core and the real platform under Wine set up as Windows 98).
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh || exit 1
# The 486 run-time and NSIS of the win32 preset: built once (about 20 minutes), then reused.
bash scripts/build-i486-runtime.sh >/dev/null || exit 1

failed=0
for preset in native native-asan win32; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null || { failed=1; continue; }
  cmake --build --preset "$preset" || { failed=1; continue; }
  ctest --preset "$preset" || failed=1
done
if [ "$failed" -ne 0 ]; then
  echo "Some tests failed."
  exit 1
fi
echo "All tests passed."
