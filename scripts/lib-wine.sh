# Shared by the scripts that make Wine prefixes set up as Windows 98 (source it).
# Run by root, Wine runs as the unprivileged user "veltrim": Wine as root ignores read-only
# files, Windows does not.

wine_user=veltrim
# Changes with what seed_machine lays out: a test machine seeded otherwise is made anew.
seed_version=3
repo_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ "$(id -u)" -eq 0 ]; then
  id "$wine_user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$wine_user"
  as_user() { runuser -u "$wine_user" -- env HOME="/home/$wine_user" "$@"; }
  own() { chown -R "$wine_user" "$@"; }
else
  as_user() { env "$@"; }
  own() { :; }
fi

# wine_in PREFIX COMMAND...: runs a Wine command in PREFIX with no display unless DISPLAY is
# given in the environment of the call. With WINE_RUN_LANG (ja_JP.UTF-8) Wine runs in that
# locale and takes its ANSI code page (932) from it.
wine_in() {
  local prefix=$1
  shift
  local locale=()
  [ -z "${WINE_RUN_LANG:-}" ] || locale=(LANG="$WINE_RUN_LANG" LC_ALL="$WINE_RUN_LANG")
  as_user WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all DISPLAY="${WINE_DISPLAY:-}" \
    XAUTHORITY="${WINE_XAUTHORITY:-${XAUTHORITY:-}}" "${locale[@]}" "$@"
}

# make_prefix PREFIX GRAPHICS: a fresh 32-bit prefix in Windows 98 mode. GRAPHICS is "null"
# (windows without a screen) or "x11".
make_prefix() {
  local prefix=$1 graphics=$2
  rm -rf "$prefix"
  mkdir -p "$prefix"
  own "$prefix"
  wine_in "$prefix" wineboot -i >/dev/null 2>&1
  wine_in "$prefix" wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
  if [ "$graphics" = null ]; then
    wine_in "$prefix" wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
      >/dev/null 2>&1
  fi
}

# msdos_sys: the boot options file of a fresh Windows 98 SE, CR LF line ends, over 1024 bytes.
msdos_sys() {
  local line letter
  printf '[Paths]\r\nWinDir=C:\\WINDOWS\r\nWinBootDir=C:\\WINDOWS\r\nHostWinBootDrv=C\r\n\r\n'
  printf '[Options]\r\nBootMulti=1\r\nBootGUI=1\r\nDoubleBuffer=1\r\nAutoScan=1\r\n'
  printf 'WinVer=4.10.2222\r\n;\r\n'
  printf ';The following lines are required for compatibility with other programs.\r\n'
  printf ';Do not remove them (MSDOS.SYS needs to be >1024 bytes).\r\n'
  line=$(printf 'x%.0s' $(seq 69))
  for letter in a b c d e f g h i j k l m n o p q r s; do printf ';%s%s\r\n' "$line" "$letter"; done
}

# seed_machine PREFIX BUILD_DIR: makes the prefix look like a Windows 98 SE computer on which
# Veltrim 2000 is not installed yet (its Setup.exe installs it).
seed_machine() {
  local prefix=$1 build_dir=$2 drive_c=$1/drive_c
  local windows=$drive_c/windows

  cp "$repo_dir/machine/seed.reg" "$drive_c/seed.reg"
  own "$drive_c/seed.reg"
  wine_in "$prefix" wine regedit /S 'C:\seed.reg' >/dev/null 2>&1
  rm -f "$drive_c/seed.reg"

  msdos_sys >"$drive_c/MSDOS.SYS"
  grep -qi '^\[386Enh\]' "$windows/system.ini" || sed "s/$/\r/" "$repo_dir/machine/system.ini" >>"$windows/system.ini"
  own "$drive_c/MSDOS.SYS" "$windows"
  shell_folders "$prefix" 'C:\windows'
  cp "$build_dir/seedtool.exe" "$drive_c/seedtool.exe"
  own "$drive_c/seedtool.exe"
  # Hidden and system first: set together with read-only, Wine keeps only read-only.
  wine_in "$prefix" wine 'C:\seedtool.exe' attributes 'C:\MSDOS.SYS' 6
  wine_in "$prefix" wine 'C:\seedtool.exe' attributes 'C:\MSDOS.SYS' 7
  rm -f "$drive_c/seedtool.exe"
  wine_in "$prefix" wineserver -w
}

# shell_folders PREFIX BASE: the user's Desktop, Start Menu (with Programs) and Application Data
# (with the Quick Launch folder) below BASE, made and named in the shell's "User Shell Folders"
# and "Shell Folders", as Windows 98 has them: below the Windows folder without user profiles,
# below C:\windows\Profiles\<user> with them. Wine answers the shell's folders from there.
shell_folders() {
  local prefix=$1 base=$2 unix key escaped
  unix=$prefix/drive_c/$(printf '%s' "${base#C:\\}" | tr '\\' /)
  mkdir -p "$unix/Desktop" "$unix/Start Menu/Programs" \
    "$unix/Application Data/Microsoft/Internet Explorer/Quick Launch"
  own "$prefix/drive_c/windows"
  escaped=${base//\\/\\\\}
  {
    printf 'REGEDIT4\r\n'
    for key in 'User Shell Folders' 'Shell Folders'; do
      printf '\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\%s]\r\n' "$key"
      printf '"Desktop"="%s\\\\Desktop"\r\n' "$escaped"
      printf '"Programs"="%s\\\\Start Menu\\\\Programs"\r\n' "$escaped"
      printf '"Start Menu"="%s\\\\Start Menu"\r\n' "$escaped"
      printf '"AppData"="%s\\\\Application Data"\r\n' "$escaped"
    done
    # Wine mirrors shortcuts saved in the shell's folders into the Linux desktop's menus
    # (winemenubuilder): not part of the Windows machine, so switched off.
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]\r\n"winemenubuilder.exe"=""\r\n'
  } >"$prefix/drive_c/shell-folders.reg"
  own "$prefix/drive_c/shell-folders.reg"
  wine_in "$prefix" wine regedit /S 'C:\shell-folders.reg' >/dev/null 2>&1
  rm -f "$prefix/drive_c/shell-folders.reg"
}

# seed_copied_program PREFIX BUILD_DIR: for tests that copy Veltrim.exe into folders of their
# own instead of running Setup.exe, what Setup leaves outside the program's folder: the
# Start-menu group with Uninstall.lnk (here opening Add/Remove Programs) and the Add/Remove
# entry "Veltrim 2000".
seed_copied_program() {
  local prefix=$1 build_dir=$2 drive_c=$1/drive_c
  local key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrim 2000'
  local add_remove='rundll32.exe shell32.dll,Control_RunDLL appwiz.cpl'

  mkdir -p "$drive_c/windows/Start Menu/Programs/Veltrim 2000"
  own "$drive_c/windows/Start Menu"
  cp "$build_dir/seedtool.exe" "$drive_c/seedtool.exe"
  own "$drive_c/seedtool.exe"
  wine_in "$prefix" wine 'C:\seedtool.exe' shortcut \
    'C:\windows\Start Menu\Programs\Veltrim 2000\Uninstall.lnk' 'C:\windows\rundll32.exe' \
    'shell32.dll,Control_RunDLL appwiz.cpl' 'C:\windows'
  rm -f "$drive_c/seedtool.exe"
  wine_in "$prefix" wine reg add "$key" /v DisplayName /d 'Veltrim 2000' /f >/dev/null 2>&1
  wine_in "$prefix" wine reg add "$key" /v UninstallString /d "$add_remove" /f >/dev/null 2>&1
  wine_in "$prefix" wineserver -w
}

# run_tool PREFIX EXE ARGS...: runs one of our Windows helper programs inside the prefix.
run_tool() {
  local prefix=$1 exe=$2
  shift 2
  local tools=$prefix/drive_c/veltrim-tools
  mkdir -p "$tools"
  cp "$exe" "$tools/"
  own "$tools"
  wine_in "$prefix" wine "C:\\veltrim-tools\\$(basename "$exe")" "$@"
}
