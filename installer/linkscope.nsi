; Linkscope's setup program: installs the tray utility for every user of the machine, with an
; uninstaller, a Start menu shortcut, an entry in the list of installed programs and (for the
; user who installs it) a start with Windows. The build passes:
;   VERSION  3.3.4.40     DIST  folder of the stripped binaries     RES  the res folder
;   OUTFILE  the setup program to write        LINKSCOPE_CLI  when linkscope-cli.exe was built
;
; Silent use:  linkscope-setup-<version>.exe /S [/EVALUATIONADAPTER] [/NOSTARTUP] [/D=folder]
; (/D= comes last and takes the rest of the line, spaces included, without quotes).

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!ifndef VERSION | DIST | RES | OUTFILE
  !error "VERSION, DIST, RES and OUTFILE must be defined"
!endif

!define PRODUCT "Linkscope"
!define PUBLISHER "ORVEX"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Linkscope"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define USER_KEY "Software\ORVEX\Linkscope"
; The program's hidden main window: its class, and its title in English (the language file
; gives the title in the other languages).
!define MAIN_CLASS "LinkscopeMainFrame"
!define DEFAULT_TITLE "Linkscope Utility"
!define CLOSE_MESSAGE "LINKSCOPE_CLOSE_FOR_SETUP"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An upgrade goes where the earlier version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "x64.nsh"

!define MUI_ICON "${RES}\icons\associated.ico"
!define MUI_UNICON "${RES}\icons\associated.ico"
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var WasRunning      ; 1 when setup closed a running Linkscope (it is started again at the end)
Var CloseMessage

; ---------------------------------------------------------------------------------------------
; Closing a running Linkscope: its hidden main window carries the title of its current language
; (the language file's "DlgTitle"), so every language's title is looked for. The window is asked
; to close as Exit would: WM_CLOSE when a person is there to answer the question whether to
; save a changed profile, the program's own close message (which asks nothing) in silent mode.

!macro CLOSE_PROGRAM_FUNCTIONS un
Function ${un}CloseWindowTitled  ; title on the stack
  Exch $R0
  Push $R1
  Push $R2
  Push $R3
  ${Do}
    FindWindow $R1 "${MAIN_CLASS}" "$R0"
    ${If} $R1 = 0
      ${Break}
    ${EndIf}
    StrCpy $WasRunning 1
    System::Call 'user32::GetWindowThreadProcessId(p R1, *i .R2)'
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R2) p .R3'  ; SYNCHRONIZE
    ${If} ${Silent}
      System::Call 'user32::PostMessage(p R1, i $CloseMessage, p 0, p 0)'
    ${Else}
      System::Call 'user32::PostMessage(p R1, i ${WM_CLOSE}, p 0, p 0)'
    ${EndIf}
    ; The program is gone when its process has ended and its files can be replaced.
    ${If} $R3 != 0
      ${Do}
        System::Call 'kernel32::WaitForSingleObject(p R3, i 30000) i .R2'
        ${If} $R2 = 0
          ${Break}
        ${EndIf}
        ${If} ${Silent}
          System::Call 'kernel32::CloseHandle(p R3)'
          SetErrorLevel 2
          Abort "${PRODUCT} did not end"
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
          "${PRODUCT} is still running. Close it (Exit in its tray menu), then choose Retry." \
          IDRETRY +2
        Abort
      ${Loop}
      System::Call 'kernel32::CloseHandle(p R3)'
    ${Else}
      ; Without a process handle, wait for the window itself (30 seconds at most).
      StrCpy $R2 0
      waitwindow:
        IsWindow $R1 0 windowgone
        Sleep 100
        IntOp $R2 $R2 + 1
        IntCmp $R2 300 windowgone waitwindow windowgone
      windowgone:
    ${EndIf}
  ${Loop}
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd

Function ${un}CloseProgram
  Push $R0
  Push $R1
  Push $R2
  StrCpy $WasRunning 0
  System::Call 'user32::RegisterWindowMessage(t "${CLOSE_MESSAGE}") i .s'
  Pop $CloseMessage
  Push "${DEFAULT_TITLE}"
  Call ${un}CloseWindowTitled
  ; A vendor's Wlan.oem replaces Wlan.ini when it is there, as in the program.
  StrCpy $R2 "$INSTDIR\res\Wlan.ini"
  IfFileExists "$INSTDIR\res\Wlan.oem" 0 +2
    StrCpy $R2 "$INSTDIR\res\Wlan.oem"
  StrCpy $R0 1
  ${Do}
    ReadINIStr $R1 "$R2" "Languages" "Language-$R0"
    ${If} $R1 == ""
      ${Break}
    ${EndIf}
    ReadINIStr $R1 "$R2" "$R1" "DlgTitle"
    ${If} $R1 != ""
      Push $R1
      Call ${un}CloseWindowTitled
    ${EndIf}
    IntOp $R0 $R0 + 1
  ${LoopWhile} $R0 < 100
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd
!macroend
!insertmacro CLOSE_PROGRAM_FUNCTIONS ""
!insertmacro CLOSE_PROGRAM_FUNCTIONS "un."

; The program finds its language file and pictures in .\res, so it always starts in its own
; folder: Exec starts it in $OUTDIR.
Function StartProgram
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\linkscope.exe"'
FunctionEnd

; ---------------------------------------------------------------------------------------------

Section "!${PRODUCT}" SecProgram
  SectionIn RO
  Call CloseProgram

  SetOutPath "$INSTDIR"
  File "${DIST}\linkscope.exe"
!ifdef LINKSCOPE_CLI
  File "${DIST}\linkscope-cli.exe"
!endif
  SetOutPath "$INSTDIR\res"
  File "${RES}\Wlan.ini"
  File "${RES}\linkscope-logo.bmp"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcut starts the program in its folder (CreateShortCut takes $OUTDIR as the
  ; working folder).
  SetOutPath "$INSTDIR"
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\linkscope.exe" "" \
    "$INSTDIR\linkscope.exe" 0 SW_SHOWNORMAL "" "Watch and configure the wireless adapter"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\linkscope.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Start with Windows" SecStartup
  ; Windows starts the programs of the Run key in its own folder, not in theirs: the command
  ; starts Linkscope in its folder, as the shortcut does.
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" \
    '"$SYSDIR\cmd.exe" /c start "" /d "$INSTDIR" "$INSTDIR\linkscope.exe"'
SectionEnd

Section /o "Evaluation adapter (simulated)" SecSimulated
  SetOutPath "$INSTDIR"
  File "${DIST}\W32N50.dll"
  File "${DIST}\adapterinstall.exe"
  File "/oname=W32N50-environment.json" "${RES}\simulated-environment.json"
  nsExec::ExecToLog '"$INSTDIR\adapterinstall.exe" install "$INSTDIR\W32N50-environment.json"'
  Pop $0
  ${If} $0 != 0
    DetailPrint "The simulated adapters could not be registered (adapterinstall: $0)"
    SetErrors
  ${EndIf}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "SimulatedAdapter" 1
SectionEnd

; Runs last: what the choices of this run leave behind, and the program started again when
; setup closed it.
Section "-Finish"
  ${IfNot} ${SectionIsSelected} ${SecStartup}
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
  ${IfNot} ${SectionIsSelected} ${SecSimulated}
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "SimulatedAdapter"
  ${EndIf}
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
  ${If} $WasRunning = 1
    Call StartProgram
  ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} \
    "The tray utility, its language file and pictures, a Start menu shortcut and the uninstaller."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStartup} \
    "Start ${PRODUCT} in the notification area when you log on."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecSimulated} \
    "An evaluation adapter for machines without the card: a simulated 802.11b adapter and \
     access points, so that ${PRODUCT} can be tried out."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} needs a 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  ${GetParameters} $0
  ; An upgrade keeps the evaluation adapter when the earlier version had it.
  ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "SimulatedAdapter"
  ClearErrors
  ${GetOptions} $0 "/EVALUATIONADAPTER" $2
  ${IfNot} ${Errors}
    StrCpy $1 1
  ${EndIf}
  ${If} $1 = 1
    !insertmacro SelectSection ${SecSimulated}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/NOSTARTUP" $2
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------------------------------------

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  Call un.CloseProgram

  ; The simulated adapters' registry entries go before the program that removes them.
  IfFileExists "$INSTDIR\adapterinstall.exe" 0 +3
    nsExec::ExecToLog '"$INSTDIR\adapterinstall.exe" remove'
    Pop $0

  Delete "$INSTDIR\linkscope.exe"
  Delete "$INSTDIR\linkscope-cli.exe"
  Delete "$INSTDIR\W32N50.dll"
  Delete "$INSTDIR\adapterinstall.exe"
  Delete "$INSTDIR\W32N50-environment.json"
  Delete "$INSTDIR\W32N50-diagnostics.txt"
  Delete "$INSTDIR\res\Wlan.ini"
  Delete "$INSTDIR\res\linkscope-logo.bmp"
  RMDir "$INSTDIR\res"
  Delete "$INSTDIR\uninstall.exe"
  ; Only an empty folder goes: whatever a user put there stays.
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; The user's profiles and settings stay unless the user asks to remove them; a silent
  ; uninstall (an upgrade by hand, a script) keeps them.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
    "Remove your ${PRODUCT} profiles and settings as well?" /SD IDNO IDNO keep
    DeleteRegKey HKCU "${USER_KEY}"
    DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
  keep:
SectionEnd
