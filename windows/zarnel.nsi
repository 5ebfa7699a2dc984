; The game's setup program: a per-user install (no administrator rights) into
; %LOCALAPPDATA%\Programs\Zarnel or a folder the player chooses, with a Start-menu shortcut, an
; optional desktop shortcut and an entry under the current user's installed programs; its
; uninstaller removes exactly what the installer made. Run over an installed version, it first
; has that version's own uninstaller remove its files, then installs in the same folder. /S
; installs and uninstalls silently.
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
!include "LogicLib.nsh"

!define UNINSTALLS_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define UNINSTALL_KEY "${UNINSTALLS_KEY}\Zarnel"
!define PUBLISHER "The Zarnel developers"

Name "Zarnel"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Zarnel"
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
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipOnUpgrade
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The folder of the installed version, from its uninstall entry; "" when none is installed.
Var Installed
; What the first install made besides the install folder, kept in the uninstall entry and carried
; over by every upgrade, so that the last uninstaller removes that and nothing else: the outermost
; of the folders above the install folder that were not there ("" when none was missing), and 1
; when the current user had no Uninstall key.
Var MadeFolder
Var MadeUninstallsKey

; A second install upgrades the first where it is, whatever /D= says, and does not ask where.
Function .onInit
  ReadRegStr $Installed HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $Installed != ""
    StrCpy $INSTDIR $Installed
  ${EndIf}
FunctionEnd

Function SkipOnUpgrade
  ${If} $Installed != ""
    Abort
  ${EndIf}
FunctionEnd

; Before anything is installed: what is missing now, the install makes. An empty Uninstall key
; is there all the same, and not ours.
Function FindWhatTheInstallMakes
  StrCpy $MadeFolder ""
  ${GetParent} "$INSTDIR" $0
  ${Do}
    ${If} $0 == ""
    ${OrIf} ${FileExists} "$0\*.*"
      ${ExitDo}
    ${EndIf}
    StrCpy $MadeFolder $0
    ${GetParent} $0 $0
  ${Loop}
  ClearErrors
  EnumRegKey $0 HKCU "${UNINSTALLS_KEY}" 0
  ${If} ${Errors}
    StrCpy $MadeUninstallsKey 1
  ${Else}
    StrCpy $MadeUninstallsKey 0
  ${EndIf}
FunctionEnd

; The installed version's own uninstaller knows its files: it removes them, so that none that this
; version no longer has stays behind, and the player's own files stay. Run in place (_?=), it does
; not start a copy of itself from %TEMP% and return at once, so the setup waits for its end; it
; cannot delete itself, so the setup does. An installed version whose entry does not say what
; its first install made (it is older than that record) is looked at afresh once its uninstaller
; has run.
Function RemoveInstalledVersion
  ClearErrors
  ReadRegStr $MadeFolder HKCU "${UNINSTALL_KEY}" "SetupMadeFolder"
  ReadRegDWORD $MadeUninstallsKey HKCU "${UNINSTALL_KEY}" "SetupMadeUninstallKey"
  ${If} ${Errors}
    StrCpy $1 ""
  ${Else}
    StrCpy $1 "known"
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\uninstall.exe"
    ClearErrors
    ExecWait '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR' $0
    ${If} ${Errors}
    ${OrIf} $0 <> 0
      DetailPrint "The installed version's uninstaller failed ($0): installing over its files"
    ${EndIf}
    Delete "$INSTDIR\uninstall.exe"
  ${EndIf}
  ${If} $1 == ""
    Call FindWhatTheInstallMakes
  ${EndIf}
FunctionEnd

Section "Zarnel" SectionGame
  SectionIn RO
  ${If} $Installed == ""
    Call FindWhatTheInstallMakes
  ${Else}
    Call RemoveInstalledVersion
  ${EndIf}
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
  WriteRegStr HKCU "${UNINSTALL_KEY}" "SetupMadeFolder" "$MadeFolder"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "SetupMadeUninstallKey" $MadeUninstallsKey
  ; In KiB, as the installed programs list shows it.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Desktop shortcut" SectionDesktop
  SetOutPath "$INSTDIR"
  CreateShortCut "$DESKTOP\Zarnel.lnk" "$INSTDIR\zarnel.exe" "" "$INSTDIR\zarnel.exe" 0
SectionEnd

; The folders above the install folder that the first install made, innermost first, each only
; while it is empty; never one that is not above the install folder, however the entry was edited.
Function un.RemoveMadeFolders
  StrLen $1 $MadeFolder
  StrCpy $0 "$INSTDIR" $1
  StrCpy $2 "$INSTDIR" 1 $1
  ${If} $MadeFolder == ""
  ${OrIf} $0 != $MadeFolder
  ${OrIf} $2 != "\"
    Return
  ${EndIf}
  StrCpy $0 "$INSTDIR"
  ${Do}
    ${GetParent} $0 $0
    ${If} $0 == ""
      ${ExitDo}
    ${EndIf}
    RMDir $0
  ${LoopUntil} $0 == $MadeFolder
FunctionEnd

; Only what the installer made: the player's own files in the folder stay, and so does the
; folder then. The folders above it and the Uninstall key above ours go only when the first
; install made them, and then only when they are empty.
Section "Uninstall"
  ReadRegStr $MadeFolder HKCU "${UNINSTALL_KEY}" "SetupMadeFolder"
  ReadRegDWORD $MadeUninstallsKey HKCU "${UNINSTALL_KEY}" "SetupMadeUninstallKey"
  !include "${LISTS}/uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Call un.RemoveMadeFolders
  Delete "$SMPROGRAMS\Zarnel.lnk"
  Delete "$DESKTOP\Zarnel.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${If} $MadeUninstallsKey = 1
    DeleteRegKey /ifempty HKCU "${UNINSTALLS_KEY}"
  ${EndIf}
  ; uninstall.exe runs as a copy of itself in a new folder under %TEMP%, so that it can delete
  ; the original; it leaves the copy's folder to be deleted at the next start of Windows, but
  ; ahead of the copy, so that the folder, not yet empty then, would stay. Asking again puts the
  ; folder after the copy.
  StrCmp "$EXEDIR" "$INSTDIR" +2
  RMDir /REBOOTOK "$EXEDIR"
SectionEnd
