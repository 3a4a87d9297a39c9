; Setup.exe of Veltrim 2000: installs the program, its Start-menu group and its Add/Remove
; Programs entry, and writes the uninstaller that takes them away again.
;
; Built by CMake (installer/CMakeLists.txt) with Debian's makensis:
;   makensis -DPROGRAM_EXE=Veltrim.exe -DREADME=Readme.html -DICON=Veltrim.ico
;            -DOUTFILE=Setup.exe Setup.nsi
; Both Setup.exe and Uninstall.exe run silently with /S; Setup.exe takes /D=<folder> as the
; last argument to install elsewhere than C:\Program Files\Veltrim 2000.
;
; Windows 98 has no Unicode API: the installer is an ANSI one. The Start-menu group, the
; desktop and the Quick Launch folder are named from the Windows directory, as Veltrim 2000
; itself names them ($WINDIR\Start Menu\Programs\...), not from the shell's folders, so that
; Setup, the uninstaller and the program's own shortcut boxes all meet in the same places.

Unicode false
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!ifndef PROGRAM_EXE | README | ICON | OUTFILE
  !error "Give -DPROGRAM_EXE, -DREADME, -DICON and -DOUTFILE"
!endif

!define PRODUCT "Veltrim 2000"
!define VERSION "5.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define GROUP "$WINDIR\Start Menu\Programs\${PRODUCT}"
!define DESKTOP_LINK "$WINDIR\Desktop\${PRODUCT}.lnk"
!define QUICK_LAUNCH_LINK \
  "$WINDIR\Application Data\Microsoft\Internet Explorer\Quick Launch\${PRODUCT}.lnk"

Name "${PRODUCT}"
Caption "${PRODUCT} Version ${VERSION} Setup"
UninstallCaption "${PRODUCT} Version ${VERSION} Uninstall"
BrandingText "${PRODUCT} Version ${VERSION}"
; "Setup.exe" is the name Windows 98 users look for; the compatibility shims that name draws
; on later Windows do not exist there.
!pragma warning disable 9000
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
ShowInstDetails show
ShowUninstDetails show

; The file's version block names the product and its version; it names no copyright holder.
!pragma warning disable 9100
VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "Version ${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!define MUI_WELCOMEPAGE_TITLE "Welcome to ${PRODUCT}$\r$\nVersion ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "${PRODUCT} gathers about eighty hidden settings of Windows 98 \
  on one tabbed window and writes them back when you press Apply or OK.$\r$\n$\r$\n\
  Setup will install ${PRODUCT} Version ${VERSION} on your computer, with a group in the \
  Start menu and an entry in Add/Remove Programs.$\r$\n$\r$\n\
  Click Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${PRODUCT} Version ${VERSION} is installed"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Readme.html"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "${PRODUCT} Version ${VERSION} will be removed from the \
  folder below, with its shortcuts and its entry in Add/Remove Programs. The Windows \
  settings you changed with it stay as they are."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Neither Setup nor the uninstaller touches the program's files while it runs: its main
; window (also while hidden in the notification area) or its welcome window is there.
!macro RefuseWhileRunning AGAIN
  FindWindow $0 "TForm1" "${PRODUCT}"
  ${If} $0 = 0
    FindWindow $0 "TForm3" "Welcome"
  ${EndIf}
  ${If} $0 <> 0
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is running.$\r$\n$\r$\nClose it first (when \
      its icon is in the notification area, right-click the icon and choose Exit), then \
      ${AGAIN}." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseWhileRunning "run Setup again"
FunctionEnd

Function un.onInit
  !insertmacro RefuseWhileRunning "uninstall ${PRODUCT} again"
FunctionEnd

; The program reads Config.DAT from its current directory: start it in its folder.
Function StartProgram
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\Veltrim.exe"'
FunctionEnd

!macro Record4 FILE VALUE
  FileWriteByte ${FILE} ${VALUE}
  FileWriteByte ${FILE} 0
  FileWriteByte ${FILE} 0
  FileWriteByte ${FILE} 0
!macroend

; Config.DAT: five 32-bit little-endian records. A new installation has ShowSplash 1,
; FirstRun 1 (the first start copies the group's Uninstall.lnk into the program's folder)
; and the reserved records 0. Installed over an earlier installation, the user's options
; stay and only FirstRun is set again, so that the kept copy of Uninstall.lnk is renewed.
Function WriteConfigDat
  StrCpy $1 0
  ClearErrors
  FileOpen $0 "$INSTDIR\Config.DAT" r
  ${IfNot} ${Errors}
    FileSeek $0 0 END $1
    FileClose $0
  ${EndIf}
  ${If} $1 = 20
    FileOpen $0 "$INSTDIR\Config.DAT" a
    FileSeek $0 8 SET
    !insertmacro Record4 $0 1
  ${Else}
    FileOpen $0 "$INSTDIR\Config.DAT" w
    !insertmacro Record4 $0 1
    !insertmacro Record4 $0 0
    !insertmacro Record4 $0 1
    !insertmacro Record4 $0 0
    !insertmacro Record4 $0 0
  ${EndIf}
  FileClose $0
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "/oname=Veltrim.exe" "${PROGRAM_EXE}"
  File "/oname=Readme.html" "${README}"
  Call WriteConfigDat
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; Each shortcut starts in the program's folder (the output folder set above).
  CreateDirectory "${GROUP}"
  CreateShortCut "${GROUP}\${PRODUCT}.lnk" "$INSTDIR\Veltrim.exe"
  CreateShortCut "${GROUP}\Readme.lnk" "$INSTDIR\Readme.html"
  CreateShortCut "${GROUP}\Uninstall.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
SectionEnd

; Takes away what Setup installed, the shortcuts the program may have made, its own files
; (options, bookkeeping of right-click entries, kept Uninstall.lnk, restore points) and its
; Add/Remove entry. The Windows settings changed with the program stay as they are. The
; program's folder and the group go only when they are empty: files the user put there stay.
Section "Uninstall"
  Delete "$INSTDIR\Veltrim.exe"
  Delete "$INSTDIR\Readme.html"
  Delete "$INSTDIR\Config.DAT"
  Delete "$INSTDIR\Config.DAT.new"
  Delete "$INSTDIR\data.ini"
  Delete "$INSTDIR\Uninstall.lnk"
  RMDir /r "$INSTDIR\Restore"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "${GROUP}\${PRODUCT}.lnk"
  Delete "${GROUP}\Readme.lnk"
  Delete "${GROUP}\Uninstall.lnk"
  RMDir "${GROUP}"
  Delete "${DESKTOP_LINK}"
  Delete "${QUICK_LAUNCH_LINK}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
