#!/usr/bin/env bash
# Runs a Windows test program under Wine set up as Windows 98: the emulator ctest uses.
#   wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
# The prefix is made once per build tree and reused. Run by root, the programs run as the
# unprivileged user "veltrim": Wine as root ignores read-only files, Windows does not.
set -euo pipefail

build_dir=$1
program=$2
shift 2

test_user=veltrim
if [ "$(id -u)" -eq 0 ]; then
  id "$test_user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$test_user"
  key=$(printf '%s' "$build_dir" | sha1sum | cut -c1-12)
  prefix=/var/tmp/veltrim-wine/$key
  mkdir -p /var/tmp/veltrim-wine
  chmod 755 /var/tmp/veltrim-wine
  as_user() { runuser -u "$test_user" -- env HOME="/home/$test_user" "$@"; }
else
  prefix=$build_dir/wine-prefix
  as_user() { env "$@"; }
fi

# Prefixes of build trees that no longer exist are removed (each one is about 600 MB).
if [ "$(id -u)" -eq 0 ]; then
  for old in /var/tmp/veltrim-wine/*/; do
    [ -f "$old/.veltrim-build" ] || continue
    [ -d "$(cat "$old/.veltrim-build")" ] && continue
    rm -rf "$old" "${old%/}.lock"
  done
fi

wine_env=(WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all DISPLAY=)

make_prefix() {
  [ -f "$prefix/.veltrim-ready" ] && return
  rm -rf "$prefix"
  mkdir -p "$prefix"
  [ "$(id -u)" -eq 0 ] && chown "$test_user" "$prefix"
  as_user "${wine_env[@]}" wineboot -i >/dev/null 2>&1
  as_user "${wine_env[@]}" wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
  as_user "${wine_env[@]}" wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
    >/dev/null 2>&1
  as_user "${wine_env[@]}" wineserver -w
  printf '%s' "$build_dir" >"$prefix/.veltrim-build"
  touch "$prefix/.veltrim-ready"
}

# Parallel test runs share one prefix: the first one makes it.
exec 9>"${prefix}.lock"
flock 9
make_prefix
flock -u 9

# The program runs from inside the prefix, where the test user can always read it.
run_dir=$(as_user mktemp -d "$prefix/drive_c/run.XXXXXX")
trap 'rm -rf "$run_dir"' EXIT
cp "$program" "$run_dir/"
chmod -R a+rX "$run_dir"
status=0
(cd "$run_dir" && as_user "${wine_env[@]}" wine "$run_dir/$(basename "$program")" "$@") ||
  status=$?
exit "$status"
