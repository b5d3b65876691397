; Tarnvell's installer: per user, no administrator rights.
;
;   makensis -DSTAGE=<dir with Tarnvell.exe, Tarnvell.chm, README.md, LICENSE>
;            -DOUTFILE=<setup.exe> installer/tarnvell.nsi
;
; Setup switches: /S silent, /D=<dir> install directory (last on the line),
; /RUN start Tarnvell after a silent install.
; Uninstaller switches: /S silent, /REMOVESETTINGS delete the settings
; (a silent uninstall keeps them otherwise; an interactive one asks).

; A 64-bit installer for a 64-bit program (and Wine without its 32-bit half
; runs it too).
Target amd64-unicode
SetCompressor /SOLID lzma

!ifndef STAGE
  !error "define STAGE, the directory that holds the files to install"
!endif
!ifndef OUTFILE
  !define OUTFILE "Tarnvell-2.0-setup.exe"
!endif

!define PRODUCT "Tarnvell"
!define VERSION "2.0"
!define COMPANY "KESTROW SOFTWARE"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnvell"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\KESTROW SOFTWARE\Tarnvell"
!define FRAME_CLASS "TarnvellFrame"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"

VIProductVersion "2.0.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${COMPANY}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${COMPANY}, MIT licence"

!define MUI_ICON "${STAGE}\tarnvell.ico"
!define MUI_UNICON "${STAGE}\tarnvell.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tarnvell.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Tarnvell now"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running Tarnvell holds its executable open: ask its hidden frame to close
; (it shows the windows it hid, as on Exit) and wait a little for it to go.
!macro DEFINE_CLOSE_RUNNING prefix
Function ${prefix}CloseRunning
  Push $0
  Push $1
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${FRAME_CLASS}" "${PRODUCT}"
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    ${If} $1 = 0
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 > 50
      ; It may be waiting for its password. The user can close it and retry.
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running. Close it, then choose Retry." /SD IDCANCEL IDRETRY retry
      Abort
      retry:
      StrCpy $1 0
    ${EndIf}
    Sleep 200
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING ""
!insertmacro DEFINE_CLOSE_RUNNING "un."

Section "Tarnvell"
  SetShellVarContext current
  Call CloseRunning
  SetOutPath "$INSTDIR"
  File "${STAGE}\Tarnvell.exe"
  File "${STAGE}\Tarnvell.chm"
  File "${STAGE}\README.md"
  File "${STAGE}\LICENSE"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Tarnvell.exe"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Tarnvell.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0

  ; The finish page offers the start; a silent install starts it on request.
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/RUN" $1
    ${IfNot} ${Errors}
      Exec '"$INSTDIR\Tarnvell.exe"'
    ${EndIf}
  ${EndIf}
SectionEnd

; A program that is ending holds its executable, and its working folder,
; until its process is gone, which comes after its windows: Tarnvell once its
; frame has closed; Uninstall.exe, which started this copy of the uninstaller
; from the temporary folder and is ending meanwhile; and under Wine the menu
; builder that the shortcut started in the install folder. So each file is
; deleted again until it is gone, and the folder removed again while it is
; empty, for up to 10 s each; what is still held then stays.
Function un.DeleteWhenFree
  Exch $0
  Push $1
  StrCpy $1 0
  ${Do}
    Delete "$0"
    ${IfNot} ${FileExists} "$0"
      ${ExitDo}
    ${EndIf}
    ${If} $1 >= 100
      ${ExitDo}
    ${EndIf}
    IntOp $1 $1 + 1
    Sleep 100
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd
!macro DELETE_WHEN_FREE file
  Push "${file}"
  Call un.DeleteWhenFree
!macroend

Function un.RemoveInstallDir
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $0 0
  ${Do}
    RMDir "$INSTDIR"
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
      ${ExitDo}
    ${EndIf}
    ; The user's own files keep it, and no waiting will change that.
    StrCpy $3 ""
    FindFirst $1 $2 "$INSTDIR\*.*"
    ${DoWhile} $2 != ""
      ${If} $2 != "."
      ${AndIf} $2 != ".."
        StrCpy $3 $2
        ${ExitDo}
      ${EndIf}
      FindNext $1 $2
    ${Loop}
    FindClose $1
    ${If} $3 != ""
    ${OrIf} $0 >= 100
      ${ExitDo}
    ${EndIf}
    IntOp $0 $0 + 1
    Sleep 100
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.CloseRunning

  !insertmacro DELETE_WHEN_FREE "$INSTDIR\Tarnvell.exe"
  !insertmacro DELETE_WHEN_FREE "$INSTDIR\Tarnvell.chm"
  !insertmacro DELETE_WHEN_FREE "$INSTDIR\README.md"
  !insertmacro DELETE_WHEN_FREE "$INSTDIR\LICENSE"
  !insertmacro DELETE_WHEN_FREE "$INSTDIR\Uninstall.exe"
  Call un.RemoveInstallDir
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ; Tarnvell enters itself here on its first start: its path, quoted when it
  ; holds a space (earlier versions never quoted it). The value goes by its
  ; name, whichever form its data has.
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"

  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${If} ${Errors}
    MessageBox MB_YESNO|MB_ICONQUESTION "Keep your ${PRODUCT} settings (preferences, hot-keys, groups and password) for a later installation?" /SD IDYES IDYES keep
  ${EndIf}
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${COMPANY}"
  keep:

  ; The entry in Programs and Features goes last: an uninstallation cut
  ; short leaves it there to be run again, and whoever waits on the
  ; uninstaller's copy of itself knows it has finished when it is gone.
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
