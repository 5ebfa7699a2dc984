; The game's setup program: a per-user install (no administrator rights) into
; %LOCALAPPDATA%\Programs\Zarnel or a folder the player chooses, with a Start-menu shortcut, an
; optional desktop shortcut and an entry under the current user's installed programs; its
; uninstaller removes exactly what the installer made. /S installs and uninstalls silently.
; scripts/build-windows runs makensis with these defined on its command line:
;   GENERATED  the game's build folder, whose version.nsh gives VERSION, VERSION_QUAD and ICON
;   LISTS      the folder of install.nsh and uninstall.nsh, the File and the Delete and RMDir
;              lines of the player's folder, generated from the zip's folder so that both hold
;              the same files
;   OUTFILE    the setup program to write
Unicode true
!include "${GENERATED}/version.nsh"
!include "MUI2.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zarnel"
!define PUBLISHER "The Zarnel developers"

Name "Zarnel"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Zarnel"
; A second install goes where the first one went: it upgrades that install in place.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ManifestSupportedOS all

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=1033 "ProductName" "Zarnel"
VIAddVersionKey /LANG=1033 "FileDescription" "Zarnel setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 The Zarnel developers, MIT License"
VIAddVersionKey /LANG=1033 "OriginalFilename" "zarnel-${VERSION}-setup.exe"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Zarnel" SectionGame
  SectionIn RO
  !include "${LISTS}/install.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; A shortcut's working directory is the output folder at its creation: the game reads media\
  ; from its working directory.
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\Zarnel.lnk" "$INSTDIR\zarnel.exe" "" "$INSTDIR\zarnel.exe" 0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Zarnel"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zarnel.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB, as the installed programs list shows it.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Desktop shortcut" SectionDesktop
  SetOutPath "$INSTDIR"
  CreateShortCut "$DESKTOP\Zarnel.lnk" "$INSTDIR\zarnel.exe" "" "$INSTDIR\zarnel.exe" 0
SectionEnd

; Only what the installer made: the player's own files in the folder stay, and so does the
; folder then. The folders and the key above ours go only when they are empty: the installer made
; them when no other program had.
Section "Uninstall"
  !include "${LISTS}/uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  RMDir "$LOCALAPPDATA\Programs"
  Delete "$SMPROGRAMS\Zarnel.lnk"
  Delete "$DESKTOP\Zarnel.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall"
  ; uninstall.exe runs as a copy of itself in a new folder under %TEMP%, so that it can delete
  ; the original; it leaves the copy's folder to be deleted at the next start of Windows, but
  ; ahead of the copy, so that the folder, not yet empty then, would stay. Asking again puts the
  ; folder after the copy.
  StrCmp "$EXEDIR" "$INSTDIR" +2
  RMDir /REBOOTOK "$EXEDIR"
SectionEnd
