; The installer of くるみ箱 for 64-bit Windows, made by scripts/windows with
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.1 -DFOLDER=<the zip's folder> -DFILES=<files.nsh>
;            -DICON=<kurubako.ico> -DOUTFILE=<setup.exe> -DSIZE_KB=<the folder's size in KiB>
;            -DCOPYRIGHT=<year and holder, from LICENSE> kurubako.nsi
; where files.nsh names each file of the folder, one line `!insertmacro File "<sub-folder\>" "<name>"`
; a file (the sub-folder empty for the folder itself).
;
; It installs the folder into Program Files\くるみ箱, adds 「PostPet くるみ箱」 to the Start menu
; and the program to Windows' list of installed programs. The uninstaller removes exactly those
; files and leaves the user's settings in the registry (HKEY_CURRENT_USER\Software\VB and VBA
; Program Settings\Tobiuo\Kurubako).
;
; Neither replaces nor removes the files of a running くるみ箱 (Windows would keep the program and
; its DLLs, leaving half an installation): while the program's mutex exists (it holds it while it
; runs, src/platform/runningmark_win.cpp), they ask to close it first, with Retry and Cancel, and
; change nothing on Cancel. A silent run (/S) cancels at once and ends with exit code 2.
;
; The finish page offers no "run": the installer runs elevated, and a program started from it
; would be the administrator's, writing its settings into the administrator's registry.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "PostPet くるみ箱"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kurubako"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\くるみ箱"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} のインストーラー"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "CompanyName" "Tobiuo"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright © ${COPYRIGHT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; Waits until no くるみ箱 runs, or gives up (Cancel, or at once when silent) with exit code 2.
; The names are the program's (src/platform/runningmark_win.cpp): its session's and the global one.
!macro WaitForProgram
    ${Do}
        StrCpy $1 0
        ${ForEach} $2 0 1 + 1
            ${If} $2 = 0
                StrCpy $3 "Kurubako-Tobiuo-Running"
            ${Else}
                StrCpy $3 "Global\Kurubako-Tobiuo-Running"
            ${EndIf}
            System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "$3") p .r0' ; SYNCHRONIZE
            ${If} $0 P<> 0
                System::Call 'kernel32::CloseHandle(p r0)'
                StrCpy $1 1
            ${EndIf}
        ${Next}
        ${If} $1 = 0
            ${Break}
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "くるみ箱 が動いています。$\r$\nくるみ箱 を終了してから「再試行」を押してください。" \
            /SD IDCANCEL IDRETRY +3
        SetErrorLevel 2
        Quit
    ${Loop}
!macroend

Function .onInit
    !insertmacro WaitForProgram
FunctionEnd

Function un.onInit
    !insertmacro WaitForProgram
FunctionEnd

; Each file of the folder: installed by the installer, removed by the uninstaller with its
; sub-folder once that is empty.
!macro File sub name
    !ifdef __UNINSTALL__
        Delete "$INSTDIR\${sub}${name}"
        !if "${sub}" != ""
            RMDir "$INSTDIR\${sub}"
        !endif
    !else
        SetOutPath "$INSTDIR\${sub}"
        File "${FOLDER}\${sub}${name}"
    !endif
!macroend

Section
    SetShellVarContext all
    !insertmacro WaitForProgram ; once more: it may have been started since the first page
    !include "${FILES}"
    SetOutPath "$INSTDIR" ; the shortcut's working folder
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\kurubako.exe" "" "$INSTDIR\kurubako.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kurubako.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tobiuo"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there goes: a folder the user chose keeps anything else in it.
Section "Uninstall"
    SetShellVarContext all
    !insertmacro WaitForProgram
    Delete "${SHORTCUT}"
    !include "${FILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
