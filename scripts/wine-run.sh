#!/usr/bin/env bash
# Runs a Windows test program under Wine set up as Windows 98: the emulator ctest uses.
#   wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
# The prefix, seeded as the default Windows 98 machine, is made once per build tree and
# reused. Files named in WINE_RUN_WITH (blank-separated) are copied beside the program.
# The shared prefix stands for a machine where Veltrim 2000 was installed (its Start-menu group
# and Add/Remove entry); the tests copy Veltrim.exe into folders of their own. With
# WINE_RUN_MACHINE=NAME the program gets a machine of its own instead, seeded as the default
# machine before anything of Veltrim 2000 is there (for the Setup tests, which leave it as they
# found it); it is made anew after a run that failed. WINE_RUN_PROFILE_USER=NAME (with a
# machine of its own) switches user profiles on: the shell keeps the user's Desktop, Start Menu
# and Application Data below C:\windows\Profiles\NAME.
set -euo pipefail

build_dir=$1
program=$2
shift 2
source "$(dirname "$0")/lib-wine.sh"

if [ "$(id -u)" -eq 0 ]; then
  key=$(printf '%s' "$build_dir" | sha1sum | cut -c1-12)
  prefix=/var/tmp/veltrim-wine/$key${WINE_RUN_MACHINE:+-$WINE_RUN_MACHINE}
  mkdir -p /var/tmp/veltrim-wine
  chmod 755 /var/tmp/veltrim-wine
  # Prefixes of build trees that no longer exist are removed (each one is about 600 MB).
  for old in /var/tmp/veltrim-wine/*/; do
    [ -f "$old/.veltrim-build" ] || continue
    [ -d "$(cat "$old/.veltrim-build")" ] && continue
    rm -rf "$old" "${old%/}.lock"
  done
else
  prefix=$build_dir/wine-prefix${WINE_RUN_MACHINE:+-$WINE_RUN_MACHINE}
fi

# Parallel test runs share one prefix: the first one makes it.
exec 9>"${prefix}.lock"
flock 9
if [ "$(cat "$prefix/.veltrim-ready" 2>/dev/null)" != "$seed_version" ] ||
  [ -f "$prefix/.veltrim-failed" ]; then
  [ ! -d "$prefix" ] || wine_in "$prefix" wineserver -k 2>/dev/null || true
  make_prefix "$prefix" null
  seed_machine "$prefix" "$build_dir"
  [ -z "${WINE_RUN_PROFILE_USER:-}" ] ||
    shell_folders "$prefix" "C:\\windows\\Profiles\\$WINE_RUN_PROFILE_USER"
  [ -n "${WINE_RUN_MACHINE:-}" ] || seed_copied_program "$prefix" "$build_dir"
  printf '%s' "$build_dir" >"$prefix/.veltrim-build"
  printf '%s' "$seed_version" >"$prefix/.veltrim-ready"
fi
[ -z "${WINE_RUN_MACHINE:-}" ] || touch "$prefix/.veltrim-failed"
flock -u 9

# The program runs from inside the prefix, where the test user can always read it.
run_dir=$(as_user mktemp -d "$prefix/drive_c/run.XXXXXX")
trap 'rm -rf "$run_dir"' EXIT
cp "$program" ${WINE_RUN_WITH:-} "$run_dir/"
chmod -R a+rX "$run_dir"
own "$run_dir"
status=0
(cd "$run_dir" && wine_in "$prefix" wine "$run_dir/$(basename "$program")" "$@") || status=$?
[ "$status" -ne 0 ] || rm -f "$prefix/.veltrim-failed"
exit "$status"
