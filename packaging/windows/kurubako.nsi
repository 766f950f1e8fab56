; The installer of くるみ箱 for 64-bit Windows, made by scripts/windows with
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.1 -DFOLDER=<the zip's folder> -DFILES=<files.nsh>
;            -DICON=<kurubako.ico> -DOUTFILE=<setup.exe> kurubako.nsi
; where files.nsh names each file of the folder, one line `!insertmacro File "<sub-folder\>" "<name>"`
; a file (the sub-folder empty for the folder itself).
;
; It installs the folder into Program Files\くるみ箱, adds 「PostPet くるみ箱」 to the Start menu
; and the program to Windows' list of installed programs. The uninstaller removes exactly those
; files and leaves the user's settings in the registry (HKEY_CURRENT_USER\Software\VB and VBA
; Program Settings\Tobiuo\Kurubako).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

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
VIAddVersionKey /LANG=1041 "LegalCopyright" "Tobiuo"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\kurubako.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

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
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there goes: a folder the user chose keeps anything else in it.
Section "Uninstall"
    SetShellVarContext all
    Delete "${SHORTCUT}"
    !include "${FILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
