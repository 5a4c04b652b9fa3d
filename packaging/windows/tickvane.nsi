; The per-user installer of the Windows clock, made by makensis (Debian's nsis) in the
; Windows build: `cmake --build build-win --target installer`, or scripts/windows-installer.
; makensis is given VERSION, ZUBO_EXE, CLEANUP_EXE, ICON and OUTFILE with -D.
;
; Per user: into %LOCALAPPDATA%\Programs\Tickvane, with the Start menu shortcut and the
; installed-programs entry of the current user, so no administrator is needed. The
; uninstaller ends the clock (quit, then by force), removes every start it left with either Task Scheduler, the
; files, the shortcut and the entry; the user's settings (%LOCALAPPDATA%\Tickvane) stay.
; Silent with /S, both ways.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "Tickvane"
!define PUBLISHER "Tickvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tickvane"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\Tickvane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Tickvane"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  ; Over an installed copy: its clock, if shown, holds zubo.exe open; its starts stay.
  IfFileExists "$INSTDIR\tickvane-cleanup.exe" 0 +2
    ExecWait '"$INSTDIR\tickvane-cleanup.exe" --keep-starts "$INSTDIR\zubo.exe"'
  File "/oname=zubo.exe" "${ZUBO_EXE}"
  File "/oname=tickvane-cleanup.exe" "${CLEANUP_EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tickvane.lnk" "$INSTDIR\zubo.exe" "" "$INSTDIR\zubo.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zubo.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  ; First the clock and its starts: a start left behind would run a program that is gone.
  ExecWait '"$INSTDIR\tickvane-cleanup.exe" "$INSTDIR\zubo.exe"'
  Delete "$SMPROGRAMS\Tickvane.lnk"
  Delete "$INSTDIR\zubo.exe"
  Delete "$INSTDIR\tickvane-cleanup.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
