#!/usr/bin/env bash
# Runs Veltrim 2000 on the default Windows 98 machine under Xvfb and saves PNG pictures.
#   screenshots.sh [--main-only] [--dpi N] [OUTPUT_DIR]     (default: docs/screenshots)
# --dpi 120 (or 144) sets the machine's screen to that many pixels per inch (Large Fonts) for
# the run and puts the old setting back after; the pictures' names then end in "-120dpi".
# Every page of the main window (and the welcome window when it shows) is saved, then the
# detail frames of a few pages and the help window; with --main-only just the main window. The program is left with "Cancel", which writes nothing.
# Last comes the first page of Setup.exe, closed without installing.
set -euo pipefail
source "$(dirname "$0")/lib-wine.sh"

main_only=false
dpi=
while [ $# -gt 0 ]; do
  case "$1" in
    --main-only) main_only=true; shift ;;
    --dpi) dpi=$2; shift 2 ;;
    *) break ;;
  esac
done
suffix=${VELTRIM_SHOT_SUFFIX:-}
[ -n "$dpi" ] && [ "$dpi" != 96 ] && suffix=-${dpi}dpi
out_dir=$(realpath -m "${1:-$repo_dir/docs/screenshots}")
build_dir=$repo_dir/build/win32
machine=$(bash "$repo_dir/scripts/machine.sh" path)
program_dir="$machine/drive_c/Program Files/Veltrim 2000"
pages=(boot system windows start-menu internet-1 internet-2 right-click-menus add-remove
  file-cache disk-cache shutdown oem-info veltrim)
# Detail frames opened by ticking a box, with its description: page index, box, picture name.
details=("0 CheckBox2 boot-delay" "1 CheckBox22 system-owner" "2 CheckBox62 windows-toolbar"
  "3 CheckBox30 start-menu-delay" "6 CheckBox79 right-click-menus")

# The screen's pixels per inch live in two places; Wine reads them when its server starts.
dpi_keys=('HKCU\Control Panel\Desktop'
  'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts')
# dpi_of KEY: the LogPixels under KEY, in decimal, or nothing when the machine has none.
dpi_of() {
  wine_in "$machine" wine reg query "$1" /v LogPixels 2>/dev/null | tr -d '\r' |
    awk '$1 == "LogPixels" { print strtonum($3) }' || true
}
# set_dpi KEY VALUE: VALUE empty removes the setting.
set_dpi() {
  if [ -n "$2" ]; then
    wine_in "$machine" wine reg add "$1" /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null 2>&1
  else
    wine_in "$machine" wine reg delete "$1" /v LogPixels /f >/dev/null 2>&1 || true
  fi
}

if [ -z "${VELTRIM_IN_XVFB:-}" ]; then
  bash "$repo_dir/scripts/machine.sh" install
  mkdir -p "$out_dir"
  chmod 777 "$out_dir"
  # Under Xvfb there is no window manager: Wine draws the frames itself.
  wine_in "$machine" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  old_dpi=()
  if [ -n "$dpi" ]; then
    for key in "${dpi_keys[@]}"; do
      old_dpi+=("$(dpi_of "$key")")
      set_dpi "$key" "$dpi"
    done
  fi
  wine_in "$machine" wineserver -k 2>/dev/null || true
  wine_in "$machine" wineserver -w 2>/dev/null || true
  args=()
  $main_only && args+=(--main-only)
  screen=1024x768
  [ -n "$dpi" ] && [ "$dpi" -gt 120 ] && screen=1280x1024
  status=0
  as_user VELTRIM_IN_XVFB=1 VELTRIM_MACHINE="$machine" VELTRIM_SHOT_SUFFIX="$suffix" \
    xvfb-run -a -s "-screen 0 ${screen}x24" \
    bash "$0" "${args[@]}" "$out_dir" 2> >(grep -v "X connection to" >&2) || status=$?
  wine_in "$machine" wineserver -w
  if [ -n "$dpi" ]; then
    for i in "${!dpi_keys[@]}"; do set_dpi "${dpi_keys[$i]}" "${old_dpi[$i]}"; done
    wine_in "$machine" wineserver -k 2>/dev/null || true
    wine_in "$machine" wineserver -w 2>/dev/null || true
  fi
  exit "$status"
fi

# Inside the Xvfb session, as the machine's user.
WINE_DISPLAY=$DISPLAY
as_user() { env "$@"; }
own() { :; }
shot() {
  sleep 0.4
  import -window root -crop "$(window_geometry)" +repage "$out_dir/$1$suffix.png"
  echo "saved $out_dir/$1$suffix.png"
}
window_geometry() {
  # The frame Wine draws for the window: its X window has the caption as its name.
  xwininfo -root -tree | awk -v name="\"$caption\"" 'index($0, name) && /\+/ {
    split($0, a, " "); for (i in a) if (a[i] ~ /^[0-9]+x[0-9]+\+/) { print a[i]; exit } }'
}
drive() { run_tool "$machine" "$build_dir/vtdrive.exe" "$@"; }

(cd "$program_dir" && wine_in "$machine" wine Veltrim.exe) &
show_splash=$(od -An -tu4 -N4 "$program_dir/Config.DAT" | tr -d ' ')
if [ "$show_splash" = 1 ]; then
  drive wait TForm3 Welcome
  caption=Welcome
  $main_only || shot welcome
  drive click TForm3 Welcome SpeedButton2
fi
drive wait TForm1 "Veltrim 2000"
caption="Veltrim 2000"
if $main_only; then
  shot main-window
else
  for index in "${!pages[@]}"; do
    drive page "$index"
    shot "page-$((index + 1))-${pages[$index]}"
  done
  for detail in "${details[@]}"; do
    read -r index box name <<<"$detail"
    drive page "$index"
    drive click TForm1 "Veltrim 2000" "$box"
    drive hover TForm1 "Veltrim 2000" "$box"
    shot "detail-$name"
  done
  # The help window, opened from the Internet #1 page.
  drive page 4
  drive click TForm1 "Veltrim 2000" SpeedButton8
  drive wait TForm4 Help
  caption=Help
  shot help-internet
  drive click TForm4 Help Button1
  caption="Veltrim 2000"
  drive show TAboutBox About
  caption=About
  shot about
  drive close TAboutBox About
  caption="Veltrim 2000"
  # The uninstall-command editor, opened on the first entry of the Add/Remove page.
  drive page 7
  drive click TForm1 "Veltrim 2000" Button2
  drive wait TForm5 "Uninstal Command"
  caption="Uninstal Command"
  shot uninstall-command
  drive click TForm5 "Uninstal Command" Button2
  caption="Veltrim 2000"
  # The window menu with "Undo last change...", "Export settings..." and "Import settings...".
  drive menu TForm1 "Veltrim 2000"
  shot window-menu
  drive endmenu TForm1 "Veltrim 2000"
fi
drive click TForm1 "Veltrim 2000" Button4
wait
if ! $main_only; then
  # Setup's first page; closing it leaves without installing anything.
  caption="Veltrim 2000 Version 5.0 Setup"
  run_tool "$machine" "$build_dir/Setup.exe" &
  drive wait "#32770" "$caption"
  shot setup
  drive close "#32770" "$caption"
  wait
fi
