; Setup.exe of Veltrim 2000: installs the program, its Start-menu group and its Add/Remove
; Programs entry, and writes the uninstaller that takes them away again.
;
; Built by CMake (installer/CMakeLists.txt) with the makensis built for the 486 beside the
; program's run-time (scripts/build-i486-runtime.sh), whose stubs and plugins hold no
; instruction a 486 lacks (tests/cpu, docs/windows98.md):
;   makensis -DPROGRAM_EXE=Veltrim.exe -DREADME=Readme.html -DICON=Veltrim.ico
;            -DOUTFILE=Setup.exe Setup.nsi
; Both Setup.exe and Uninstall.exe run silently with /S; Setup.exe takes /D=<folder> as the
; last argument to install elsewhere than C:\Program Files\Veltrim 2000. Uninstall.exe /S
; keeps Windows as it is; Uninstall.exe /S /PUTBACK puts it back as it was before the oldest
; restore point kept. Both refuse while Veltrim 2000 runs and then exit with 2.
;
; Windows 98 has no Unicode API: the installer is an ANSI one. The Start-menu group, the
; desktop and the Quick Launch folder are the shell's folders of the user who installs, as
; Veltrim 2000 itself asks the shell for them: with user profiles switched on they live below
; $WINDIR\Profiles\<user>. The uninstaller also removes what an earlier version made below
; the Windows directory ($WINDIR\Start Menu\Programs\...).

Unicode false
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!ifndef PROGRAM_EXE | README | ICON | OUTFILE
  !error "Give -DPROGRAM_EXE, -DREADME, -DICON and -DOUTFILE"
!endif

!define PRODUCT "Veltrim 2000"
!define VERSION "5.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define GROUP "$SMPROGRAMS\${PRODUCT}"
!define DESKTOP_LINK "$DESKTOP\${PRODUCT}.lnk"
!define QUICK_LAUNCH_LINK "$QUICKLAUNCH\${PRODUCT}.lnk"
; Where an earlier version put them.
!define EARLIER_GROUP "$WINDIR\Start Menu\Programs\${PRODUCT}"
!define EARLIER_DESKTOP_LINK "$WINDIR\Desktop\${PRODUCT}.lnk"
!define EARLIER_QUICK_LAUNCH_LINK \
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
; A drive's root may be chosen too (Setup /D=D:\): without this, NSIS refuses it and a silent
; Setup installs into the default folder instead. $INSTDIR then names the root "D:", so that
; "$INSTDIR\Config.DAT" is "D:\Config.DAT".
AllowRootDirInstall true
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
!include "FileFunc.nsh"
!include "StrFunc.nsh"
!insertmacro un.GetParameters
!insertmacro un.GetOptions
${UnStrStr}

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!define MUI_WELCOMEPAGE_TITLE "Welcome to ${PRODUCT}$\r$\nVersion ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "${PRODUCT} gathers about eighty hidden settings of Windows 98 \
  on one tabbed window and writes them back when you press Apply or OK.$\r$\n$\r$\n\
  Setup will install ${PRODUCT} Version ${VERSION} on your computer, with a group in the \
  Start menu and an entry in Add/Remove Programs.$\r$\n$\r$\n\
  Click Next to continue."
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE RefuseUsersFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${PRODUCT} Version ${VERSION} is installed"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Readme.html"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "Keep Windows as it is now (the box cleared): the settings \
  you changed with ${PRODUCT}, its right-click entries and its file-cache template stay. Or \
  put Windows back (the box ticked): every restore point kept is put back, newest first, and \
  the right-click entries and the template ${PRODUCT} made are removed. Either way the \
  restore points are deleted with the program."
!define MUI_COMPONENTSPAGE_TEXT_COMPLIST "Windows:"
!insertmacro MUI_UNPAGE_COMPONENTS
!define MUI_UNCONFIRMPAGE_TEXT_TOP "${PRODUCT} Version ${VERSION} will be removed from the \
  folder below, with its shortcuts, its entry in Add/Remove Programs and its restore points. \
  Files of your own in the folder stay."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Neither Setup nor the uninstaller touches the program's files while it runs: the program
; holds its single-instance mutex from its first moment to its last, before and after any
; window (SYNCHRONIZE access is all it takes to find it).
!macro RefuseWhileRunning AGAIN
  System::Call 'kernel32::OpenMutexA(i 0x00100000, i 0, t "${PRODUCT} single instance") i .r0'
  ${If} $0 <> 0
    System::Call 'kernel32::CloseHandle(i r0)'

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

Var UninstallKey

; The Add/Remove entry of the installation in $INSTDIR: the one that names this folder, or
; else the first free one of "${PRODUCT}", "${PRODUCT} (2)", ... A second installation in
; another folder gets an entry of its own, and each uninstaller finds its own.
!macro FindUninstallKey UN
Function ${UN}FindUninstallKey
  Push $0
  Push $1
  StrCpy $1 1
  ${Do}
    ${If} $1 = 1
      StrCpy $UninstallKey "${UNINSTALL_KEY}"
    ${Else}
      StrCpy $UninstallKey "${UNINSTALL_KEY} ($1)"
    ${EndIf}
    ClearErrors
    ReadRegStr $0 HKLM "$UninstallKey" "UninstallString"
    ${If} ${Errors}
    ${OrIf} $0 == '"$INSTDIR\Uninstall.exe"'
      ${ExitDo}
    ${EndIf}
    IntOp $1 $1 + 1
  ${LoopUntil} $1 > 99
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro FindUninstallKey ""
!insertmacro FindUninstallKey "un."

!macro NoteIfThere NAME
  ${If} ${FileExists} "$INSTDIR\${NAME}"
    StrCpy $0 "$0 ${NAME}"
  ${EndIf}
!macroend

; A first installation goes only into a folder without files of the names Setup writes: such
; files are the user's, and Setup neither replaces nor edits them. Installed there before
; (the Add/Remove entry names this folder), they are the program's own. On the folder page
; the user chooses again; silent, Setup ends with 2 and changes nothing.
Function RefuseUsersFolder
  Call FindUninstallKey
  ClearErrors
  ReadRegStr $0 HKLM "$UninstallKey" "UninstallString"
  ${If} $0 == '"$INSTDIR\Uninstall.exe"'
    Return
  ${EndIf}
  StrCpy $0 ""
  !insertmacro NoteIfThere "Veltrim.exe"
  !insertmacro NoteIfThere "Uninstall.exe"
  !insertmacro NoteIfThere "Readme.html"
  !insertmacro NoteIfThere "Rollout.txt"
  !insertmacro NoteIfThere "Config.DAT"
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONSTOP "The folder $INSTDIR already holds files of the names \
      ${PRODUCT} installs:$0.$\r$\n$\r$\nThey are not ${PRODUCT}'s: choose another folder." /SD IDOK
    ${If} ${Silent}
      SetErrorLevel 2
      Quit
    ${EndIf}
    Abort
  ${EndIf}
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
; stay and only FirstRun is set again, so that the kept copy of Uninstall.lnk is renewed. A
; Config.DAT of another size is no file of the program's: it stays as it is.
Function WriteConfigDat
  StrCpy $1 -1
  ClearErrors
  FileOpen $0 "$INSTDIR\Config.DAT" r
  ${IfNot} ${Errors}
    FileSeek $0 0 END $1
    FileClose $0
  ${EndIf}
  ${If} $1 <> -1
  ${AndIf} $1 <> 20
    Return
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

; On a first installation into a folder that already holds files, the program's own names
; among them are the user's: the uninstaller leaves them. Reinstalling keeps the record.
Function RecordUsersFiles
  ClearErrors
  ReadRegStr $0 HKLM "$UninstallKey" "UninstallString"
  ${IfNot} ${Errors}
    Return
  ${EndIf}
  StrCpy $0 "|"
  ${If} ${FileExists} "$INSTDIR\Config.DAT"
    StrCpy $0 "$0Config.DAT|"
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\data.ini"
    StrCpy $0 "$0data.ini|"
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\Uninstall.lnk"
    StrCpy $0 "$0Uninstall.lnk|"
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\Veltrim.log"
    StrCpy $0 "$0Veltrim.log|"
  ${EndIf}
  WriteRegStr HKLM "$UninstallKey" "UsersFiles" $0
FunctionEnd

Section "Install"
  Call RefuseUsersFolder
  SetOutPath "$INSTDIR"
  Call RecordUsersFiles
  File "/oname=Veltrim.exe" "${PROGRAM_EXE}"
  File "/oname=Readme.html" "${README}"
  File "/oname=Rollout.txt" "${__FILEDIR__}/../docs/rollout.md"
  Call WriteConfigDat
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; Each shortcut starts in the program's folder (the output folder set above).
  CreateDirectory "${GROUP}"
  CreateShortCut "${GROUP}\${PRODUCT}.lnk" "$INSTDIR\Veltrim.exe"
  CreateShortCut "${GROUP}\Readme.lnk" "$INSTDIR\Readme.html"
  CreateShortCut "${GROUP}\Uninstall.lnk" "$INSTDIR\Uninstall.exe"

  ${If} $UninstallKey == "${UNINSTALL_KEY}"
    WriteRegStr HKLM "$UninstallKey" "DisplayName" "${PRODUCT}"
  ${Else}
    WriteRegStr HKLM "$UninstallKey" "DisplayName" "${PRODUCT} ($INSTDIR)"
  ${EndIf}
  WriteRegStr HKLM "$UninstallKey" "UninstallString" '"$INSTDIR\Uninstall.exe"'
SectionEnd

Var PutBack

; The choice of the uninstaller's second page (off unless asked for).
Section /o "un.Put Windows back" SecPutBack
  StrCpy $PutBack "/putback"
SectionEnd

; A file of the program's own name that was the user's before the first installation stays.
!macro DeleteUnlessUsers NAME
  Push $0
  Push $1
  ReadRegStr $0 HKLM "$UninstallKey" "UsersFiles"
  ${UnStrStr} $1 $0 "|${NAME}|"
  ${If} $1 == ""
    Delete "$INSTDIR\${NAME}"
  ${Else}
    DetailPrint "Kept ${NAME}: it was there before ${PRODUCT} was installed."
  ${EndIf}
  Pop $1
  Pop $0
!macroend

; The program's spare of Config.DAT holds its five records (20 bytes); a file of that name of
; another size is the user's.
Function un.DeleteSpare
  StrCpy $1 -1
  ClearErrors
  FileOpen $0 "$INSTDIR\Config.DAT.new" r
  ${IfNot} ${Errors}
    FileSeek $0 0 END $1
    FileClose $0
  ${EndIf}
  ${If} $1 = 20
    Delete "$INSTDIR\Config.DAT.new"
  ${EndIf}
FunctionEnd

!macro RemoveFolderIfEmpty FOLDER
  RMDir "${FOLDER}"
  ${If} ${FileExists} "${FOLDER}\*.*"
    DetailPrint "Kept ${FOLDER}: it holds files that are not ${PRODUCT}'s."
  ${EndIf}
!macroend

; The group's three shortcuts and the folder when nothing else is in it, the desktop and
; Quick Launch shortcuts.
!macro DeleteShortcuts GROUP_FOLDER DESKTOP QUICK_LAUNCH
  Delete "${GROUP_FOLDER}\${PRODUCT}.lnk"
  Delete "${GROUP_FOLDER}\Readme.lnk"
  Delete "${GROUP_FOLDER}\Uninstall.lnk"
  RMDir "${GROUP_FOLDER}"
  Delete "${DESKTOP}"
  Delete "${QUICK_LAUNCH}"
!macroend

; First the program itself takes away its restore points (only the files they list) and,
; when asked, puts Windows back; then what Setup installed, the shortcuts the program may
; have made, its own files and its Add/Remove entry go. Folders go only when they are empty.
Section "-un.Uninstall"
  SetOutPath "$INSTDIR"
  ; The program's log goes to the uninstaller's own temporary folder: a file of that name in
  ; the program's folder may be the user's.
  InitPluginsDir
  ExecWait '"$INSTDIR\Veltrim.exe" /uninstall $PutBack /log "$PLUGINSDIR\Uninstall.log"' $0
  ClearErrors
  FileOpen $1 "$PLUGINSDIR\Uninstall.log" r
  ${IfNot} ${Errors}
    ${Do}
      ClearErrors
      FileRead $1 $2
      ${If} ${Errors}
        ${ExitDo}
      ${EndIf}
      DetailPrint $2
    ${Loop}
    FileClose $1
  ${EndIf}
  ; A write of the program's that was cut off (power lost, program ended): only the program
  ; may put it back or keep it, and its restore point is the one good copy. Nothing goes.
  ${If} $0 = 2
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} was stopped while it was writing settings.$\r$\n$\r$\nStart ${PRODUCT} once, so that it puts back or keeps that write, then uninstall it again." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  ; Neither done nor partly done (the program could not run, or ended abnormally): what it
  ; had to take away may still be there, and it alone can. Nothing goes.
  ${If} $0 <> 0
  ${AndIf} $0 <> 1
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} could not take away its restore points (code \
      $0).$\r$\n$\r$\nNothing was removed." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  ${If} $0 <> 0
    DetailPrint "${PRODUCT} could not put back everything (code $0): see the lines above."
  ${EndIf}
  SetOutPath "$TEMP"
  Delete "$INSTDIR\Veltrim.exe"
  Delete "$INSTDIR\Readme.html"
  Delete "$INSTDIR\Rollout.txt"
  !insertmacro DeleteUnlessUsers "Config.DAT"
  Call un.DeleteSpare
  !insertmacro DeleteUnlessUsers "data.ini"
  !insertmacro DeleteUnlessUsers "Uninstall.lnk"
  ; The runs from logon scripts whose own log could not be written.
  !insertmacro DeleteUnlessUsers "Veltrim.log"
  !insertmacro RemoveFolderIfEmpty "$INSTDIR\Restore"
  Delete "$INSTDIR\Uninstall.exe"
  ; Never a drive's root: RMDir of "D:" would name the drive's current folder.
  StrLen $1 "$INSTDIR"
  ${If} $1 > 3
    !insertmacro RemoveFolderIfEmpty "$INSTDIR"
  ${EndIf}

  !insertmacro DeleteShortcuts "${GROUP}" "${DESKTOP_LINK}" "${QUICK_LAUNCH_LINK}"
  !insertmacro DeleteShortcuts "${EARLIER_GROUP}" "${EARLIER_DESKTOP_LINK}" \
    "${EARLIER_QUICK_LAUNCH_LINK}"

  DeleteRegKey HKLM "$UninstallKey"
SectionEnd

; After the sections: the choice is named once its section exists.
Function un.onInit
  !insertmacro RefuseWhileRunning "uninstall ${PRODUCT} again"
  Call un.FindUninstallKey
  ; The choice names the date it reaches back to: the oldest restore point kept.
  StrCpy $1 ""
  ClearErrors
  FileOpen $0 "$INSTDIR\Restore\Points.txt" r
  ${IfNot} ${Errors}
    ${Do}
      ClearErrors
      FileRead $0 $2
      ${If} ${Errors}
        ${ExitDo}
      ${EndIf}
      StrCpy $3 $2 1
      ${If} $3 != ";"
      ${AndIf} $3 != "$\r"
      ${AndIf} $3 != "$\n"
      ${AndIf} $2 != ""
        StrCpy $1 $2 19  ; "2000-01-31 13.05.59"
        ${ExitDo}
      ${EndIf}
    ${Loop}
    FileClose $0
  ${EndIf}
  ${If} $1 == ""
    SectionSetText ${SecPutBack} "Put Windows back (no restore point is kept)"
  ${Else}
    SectionSetText ${SecPutBack} "Put Windows back as it was on $1"
  ${EndIf}
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/PUTBACK" $2
  ${IfNot} ${Errors}
    SectionSetFlags ${SecPutBack} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
