; The 64-bit installer of Vorlith, built by scripts/build-windows.sh:
;   makensis -DVERSION=0.24 -DSTAGE=DIR -DSIZE_KB=N -DOUTFILE=FILE dist/windows/vorlith.nsi
; STAGE holds the files to install (as the zip holds them) and STAGE.files.nsh and
; STAGE.remove.nsh, the File and the Delete/RMDir lines for each of them. It installs under
; Program Files, puts a shortcut in the Start menu and an entry in Apps & features; the
; uninstaller takes all of it away again (the player's own files are not in Program Files).
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include x64.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlith"

Name "Vorlith ${VERSION}"
OutFile "${OUTFILE}"
Icon "${STAGE}\game.ico"
UninstallIcon "${STAGE}\game.ico"
InstallDir "$PROGRAMFILES64\Vorlith"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Vorlith"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Vorlith ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" ""

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Vorlith needs a 64-bit Windows."
    Abort
  ${EndIf}
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Vorlith"
  !include "${STAGE}.files.nsh"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Vorlith.lnk" "$INSTDIR\vorlith.exe" "" "$INSTDIR\game.ico" 0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vorlith"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\game.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only the files the installer put there; the folder goes when that leaves it empty.
Section "Uninstall"
  Delete "$SMPROGRAMS\Vorlith.lnk"
  !include "${STAGE}.remove.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
