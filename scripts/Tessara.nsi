; The installer of Tessara for Windows, made by scripts/package-windows.sh
; with makensis -DVERSION=... -DSTAGE=<folder of the files> -DOUTFILE=...
; -DFILES=<list made from STAGE> -DARCH=win32|win64.
Unicode true
!if ${ARCH} == win64
  Target amd64-unicode
  !define PROGRAMS $PROGRAMFILES64
!else
  !define PROGRAMS $PROGRAMFILES
!endif
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessara"

Name "Tessara ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAMS}\Tessara"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Tessara"
  SetShellVarContext all
  ; FILES holds the File and CreateDirectory lines of the staged files.
  !include "${FILES}.install.nsh"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Tessara"
  CreateShortcut "$SMPROGRAMS\Tessara\Tessara Setup.lnk" "$INSTDIR\Tessara.exe" "/w"
  CreateShortcut "$SMPROGRAMS\Tessara\Tessara user guide.lnk" "$INSTDIR\docs\user-guide.txt"
  CreateShortcut "$SMPROGRAMS\Tessara\Uninstall Tessara.lnk" "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tessara ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tessara developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
SectionEnd

; Removes exactly what the installer put there: its files one by one and
; then the folders, each only when it is empty.
Section "Uninstall"
  SetShellVarContext all
  !include "${FILES}.uninstall.nsh"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tessara\Tessara Setup.lnk"
  Delete "$SMPROGRAMS\Tessara\Tessara user guide.lnk"
  Delete "$SMPROGRAMS\Tessara\Uninstall Tessara.lnk"
  RMDir "$SMPROGRAMS\Tessara"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
