; The installer of Snimanje podataka, built by tools/package (makensis from Debian's nsis):
;   makensis -DVERSION=1.1.0 -DPROGRAMS=FOLDER -DOUTFILE=... -DTEXTS=installer_texts.nsh tools/snimanje.nsi
; TEXTS is src/app/installer_texts.nsh in UTF-8 (the file keeps the program's code page 1250,
; which makensis on Linux cannot read).
; It puts Snimanje.exe and its two command-line programs into the folder of the accounting
; program's databases (the dialog looks for them beside itself), with a Start-menu and a desktop
; shortcut and an entry in Programs and Features. It runs as the user who starts it and asks for
; elevation only when that folder cannot be written otherwise. The uninstaller removes exactly
; those files, shortcuts and the entry: never a database, an archive, a .bak, the staging folder
; or the settings. /S installs or removes silently, /D=FOLDER (last, unquoted) names the folder.
Unicode true
!include "MUI2.nsh"
!include "LogicLib.nsh"
!ifndef VERSION | PROGRAMS | OUTFILE | TEXTS
  !error "VERSION, PROGRAMS, OUTFILE and TEXTS are given by tools/package"
!endif
!include "${TEXTS}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Snimanje"
!define UNINSTALLER "Snimanje-uninstall.exe"
!define SHORTCUT "${TEXT_PRODUCT}.lnk"

Name "${TEXT_PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Snimanje"
RequestExecutionLevel user
SetCompressor /SOLID lzma
ShowInstDetails show
BrandingText "${TEXT_PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1050 "ProductName" "${TEXT_PRODUCT}"
VIAddVersionKey /LANG=1050 "FileDescription" "${TEXT_PRODUCT} ${VERSION}"
VIAddVersionKey /LANG=1050 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1050 "ProductVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1050 "LegalCopyright" "${TEXT_PUBLISHER}"

!define MUI_ICON "..\src\app\res\snimanje.ico"
!define MUI_UNICON "..\src\app\res\snimanje.ico"
!define MUI_ABORTWARNING
!define MUI_DIRECTORYPAGE_TEXT_TOP "${TEXT_CHOOSE_FOLDER}"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DatabaseFolderChosen
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Snimanje.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Croatian"

; For everyone (the common Start menu and desktop, HKLM) when run by an administrator, else for
; the user who runs it (HKCU): SHCTX and the shell folders follow the choice.
Function .onInit
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ${If} ${Silent}
    Call MakeFolderWritable
  ${EndIf}
FunctionEnd

; The folder is written by this process if it can be; otherwise the installer starts itself again
; elevated (Windows asks the operator) for the same folder, and this one ends.
Function MakeFolderWritable
  ClearErrors
  CreateDirectory "$INSTDIR"
  FileOpen $0 "$INSTDIR\snimanje-setup.tmp" w
  ${IfNot} ${Errors}
    FileClose $0
    Delete "$INSTDIR\snimanje-setup.tmp"
    Return
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    MessageBox MB_OK|MB_ICONSTOP "${TEXT_NEEDS_ADMIN}" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  ${If} ${Silent}
    ExecShellWait "runas" "$EXEPATH" "/S /D=$INSTDIR"
  ${Else}
    ExecShellWait "runas" "$EXEPATH" "/D=$INSTDIR"
  ${EndIf}
  Quit
FunctionEnd

Function DatabaseFolderChosen
  ${IfNot} ${FileExists} "$INSTDIR\BRODANIKVESTRA_G*.fdb"
    MessageBox MB_YESNO|MB_ICONEXCLAMATION "${TEXT_NO_DATABASES}" /SD IDYES IDYES go_on
    Abort
  ${EndIf}
  go_on:
  Call MakeFolderWritable
FunctionEnd

Section "Snimanje podataka" SecProgram
  SetOutPath "$INSTDIR"
  File "${PROGRAMS}\Snimanje.exe"
  File "${PROGRAMS}\vorbex.exe"
  File "${PROGRAMS}\snimanje_backup.exe"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\Snimanje.exe"
  CreateShortcut "$DESKTOP\${SHORTCUT}" "$INSTDIR\Snimanje.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${TEXT_PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${TEXT_PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Snimanje.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The entry in HKLM naming this folder says the installation was for everyone.
Function un.onInit
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\Snimanje.exe"
  Delete "$INSTDIR\vorbex.exe"
  Delete "$INSTDIR\snimanje_backup.exe"
  Delete "$SMPROGRAMS\${SHORTCUT}"
  Delete "$DESKTOP\${SHORTCUT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when nothing else is left: the folder is the databases' own.
  RMDir "$INSTDIR"
SectionEnd
