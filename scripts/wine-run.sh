#!/usr/bin/env bash
# Runs a Windows test program under Wine set up as Windows 98: the emulator ctest uses.
#   wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
# The prefix, seeded as the default Windows 98 machine, is made once per build tree and
# reused. Files named in WINE_RUN_WITH (blank-separated) are copied beside the program.
set -euo pipefail

build_dir=$1
program=$2
shift 2
source "$(dirname "$0")/lib-wine.sh"

if [ "$(id -u)" -eq 0 ]; then
  key=$(printf '%s' "$build_dir" | sha1sum | cut -c1-12)
  prefix=/var/tmp/veltrim-wine/$key
  mkdir -p /var/tmp/veltrim-wine
  chmod 755 /var/tmp/veltrim-wine
  # Prefixes of build trees that no longer exist are removed (each one is about 600 MB).
  for old in /var/tmp/veltrim-wine/*/; do
    [ -f "$old/.veltrim-build" ] || continue
    [ -d "$(cat "$old/.veltrim-build")" ] && continue
    rm -rf "$old" "${old%/}.lock"
  done
else
  prefix=$build_dir/wine-prefix
fi

# Parallel test runs share one prefix: the first one makes it.
exec 9>"${prefix}.lock"
flock 9
if [ ! -f "$prefix/.veltrim-ready" ]; then
  make_prefix "$prefix" null
  seed_machine "$prefix" "$build_dir"
  printf '%s' "$build_dir" >"$prefix/.veltrim-build"
  touch "$prefix/.veltrim-ready"
fi
flock -u 9

# The program runs from inside the prefix, where the test user can always read it.
run_dir=$(as_user mktemp -d "$prefix/drive_c/run.XXXXXX")
trap 'rm -rf "$run_dir"' EXIT
cp "$program" ${WINE_RUN_WITH:-} "$run_dir/"
chmod -R a+rX "$run_dir"
own "$run_dir"
status=0
(cd "$run_dir" && wine_in "$prefix" wine "$run_dir/$(basename "$program")" "$@") || status=$?
exit "$status"
