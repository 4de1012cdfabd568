; The setup program of Hushcloak Privacy: a per-user install that needs no administrator rights.
; scripts/package.sh builds it; it defines HC_STAGE (the folder with the files to install), HC_OUTFILE, and
; HC_SIGN_COMMAND when the build is signed.

; A 64-bit setup program for the 64-bit HC.exe: it sees the registry and folders as the program does.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "HcVersion.nsh"
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

!define HC_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\HushcloakPrivacy"
!define HC_RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define HC_SHORTCUT "$SMPROGRAMS\${HC_PRODUCT_NAME}.lnk"
; How long a running HC.exe may take to end once it has agreed to: it shows the hidden windows and saves.
!define HC_EXIT_WAIT_MS 15000
; How long it may take to agree: it may be waiting for the user to type the unhide password.
!define HC_EXIT_ASK_MS 120000

Name "${HC_PRODUCT_NAME}"
Caption "${HC_PRODUCT_NAME} ${HC_VERSION} Setup"
OutFile "${HC_OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${HC_PRODUCT_NAME}"
InstallDirRegKey HKCU "${HC_UNINSTALL_KEY}" "InstallLocation"
BrandingText "${HC_PRODUCT_NAME} ${HC_VERSION}"

VIProductVersion "${HC_VERSION}"
VIFileVersion "${HC_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${HC_PRODUCT_NAME}"
VIAddVersionKey /LANG=1033 "CompanyName" "${HC_COMPANY_NAME}"
VIAddVersionKey /LANG=1033 "FileDescription" "${HC_PRODUCT_NAME} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${HC_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${HC_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${HC_COMPANY_NAME}"

!ifdef HC_SIGN_COMMAND
!finalize '"${HC_SIGN_COMMAND}" "%1"'
!uninstfinalize '"${HC_SIGN_COMMAND}" "%1"'
!endif

!define MUI_ICON "${HC_STAGE}\HC.ico"
!define MUI_UNICON "${HC_STAGE}\HC.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\HC.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${HC_PRODUCT_NAME} now"

!insertmacro MUI_PAGE_LICENSE "${HC_STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Asks a running HC.exe to end the way its tray exit does: it shows its hidden windows first (through the
; password when one is required). Files are replaced only once it has ended; otherwise setup says so and stops.
!macro HC_CLOSE_RUNNING un
Function ${un}CloseRunningProgram
    Push $0
    Push $1
    Push $2
    Call ${un}IsProgramRunning
    Pop $0
    ${If} $0 == 0
        Goto done
    ${EndIf}
    FindWindow $1 "HushcloakPrivacyCloseRequest"
    ${If} $1 == 0
        Goto refused
    ${EndIf}
    ; It answers 1 once it has agreed to end, 0 when the exit was refused (for example the password prompt was
    ; cancelled).
    SendMessage $1 ${WM_CLOSE} 0 0 $2 /TIMEOUT=${HC_EXIT_ASK_MS}
    ${If} $2 != 1
        Goto refused
    ${EndIf}
    StrCpy $2 0
    ${Do}
        Call ${un}IsProgramRunning
        Pop $0
        ${If} $0 == 0
            Goto done
        ${EndIf}
        Sleep 100
        IntOp $2 $2 + 100
    ${LoopUntil} $2 >= ${HC_EXIT_WAIT_MS}
refused:
    MessageBox MB_OK|MB_ICONSTOP "${HC_PRODUCT_NAME} is still running and did not close. Close it from its tray icon, then run this program again." /SD IDOK
    SetErrorLevel 2
    Quit
done:
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

; Pushes 1 while HC.exe runs: its single-instance mutex exists exactly as long as it does.
Function ${un}IsProgramRunning
    Push $0
    Push $1
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "HushCloak") p .r0 ?e'
    Pop $1
    ${If} $0 P<> 0
        System::Call 'kernel32::CloseHandle(p r0)'
        StrCpy $0 1
    ${ElseIf} $1 == 5
        StrCpy $0 1  ; access denied: it exists, held by a process with other rights
    ${Else}
        StrCpy $0 0
    ${EndIf}
    Pop $1
    Exch $0
FunctionEnd
!macroend
!insertmacro HC_CLOSE_RUNNING ""
!insertmacro HC_CLOSE_RUNNING "un."

Section "Hushcloak Privacy" SecProgram
    SectionIn RO
    ; Only now, once the user has agreed: cancelling setup earlier leaves the program running.
    Call CloseRunningProgram
    SetOutPath "$INSTDIR"
    File "${HC_STAGE}\HC.exe"
    File "${HC_STAGE}\LICENSE.txt"
    ; Each file by name, as the uninstaller removes them: the folder may hold files of the user's.
!if /FileExists "${HC_STAGE}\images\Index.html"
    SetOutPath "$INSTDIR\images"
    File "${HC_STAGE}\images\Index.html"
    SetOutPath "$INSTDIR"
!endif
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    ; The shortcut starts the program in its own folder, as the page beside it expects.
    CreateShortcut "${HC_SHORTCUT}" "$INSTDIR\HC.exe" "" "$INSTDIR\HC.exe" 0

    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegStr HKCU "${HC_UNINSTALL_KEY}" "DisplayName" "${HC_PRODUCT_NAME}"
    WriteRegStr HKCU "${HC_UNINSTALL_KEY}" "DisplayVersion" "${HC_VERSION}"
    WriteRegStr HKCU "${HC_UNINSTALL_KEY}" "Publisher" "${HC_COMPANY_NAME}"
    WriteRegStr HKCU "${HC_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\HC.exe,0"
    WriteRegStr HKCU "${HC_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${HC_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${HC_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${HC_UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKCU "${HC_UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${HC_UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes the autostart value under one Run key, but only when it starts this copy of the program.
!macro HC_REMOVE_AUTOSTART root
    ReadRegStr $0 ${root} "${HC_RUN_KEY}" "HushCloak"
    ${If} $0 == "$INSTDIR\HC.exe"
    ${OrIf} $0 == '"$INSTDIR\HC.exe"'
        DeleteRegValue ${root} "${HC_RUN_KEY}" "HushCloak"
    ${EndIf}
!macroend

Section "Uninstall"
    Call un.CloseRunningProgram
    ; The files setup wrote, by name, then the folders only when empty: setup may have been pointed at a folder
    ; that already held the user's files.
    Delete "$INSTDIR\HC.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\images\Index.html"
    RMDir "$INSTDIR\images"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    Delete "${HC_SHORTCUT}"

    !insertmacro HC_REMOVE_AUTOSTART HKCU
    ; Without administrator rights the machine-wide delete fails; that value is then left for an administrator,
    ; as a per-user uninstaller can do no more.
    !insertmacro HC_REMOVE_AUTOSTART HKLM

    DeleteRegKey HKCU "${HC_UNINSTALL_KEY}"

    MessageBox MB_YESNO|MB_ICONQUESTION "Do you also want to remove your ${HC_PRODUCT_NAME} settings and password?" /SD IDNO IDNO keep
        DeleteRegKey HKCU "HushCloak"
        DeleteRegKey HKCU "SOFTWARE\Microsoft\Windows\CurrentVersion\LogoAcc\HKAcc"
        DeleteRegKey HKCU "SOFTWARE\Microsoft\Windows\CurrentVersion\LogoAcc\HKAccHelp"
        DeleteRegKey /ifempty HKCU "SOFTWARE\Microsoft\Windows\CurrentVersion\LogoAcc"
keep:
SectionEnd
