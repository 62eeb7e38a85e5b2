; Verbosa installer. Built by scripts/dist.sh with:
;   makensis -DARCH=x64|x86 -DBINDIR=<folder with quillon.exe, Tesselator.dll,
;            quillon.chm> [-DX86DLL=<x86 Tesselator.dll>] -DOUTFILE=<setup.exe>
; Commands live under HKEY_LOCAL_MACHINE, so the installer asks for elevation.

Unicode true
!if "${ARCH}" == "x64"
    Target amd64-unicode
!endif

!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "MUI2.nsh"

!define PRODUCT "Verbosa"
!define VERSION "3.0.0.2"
!define PUBLISHER "Kelto"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Verbosa"
!define APP_PATHS "SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths"
!define SETTINGS_KEY "Software\Kelto\quillon30"

Name "${PRODUCT} 3.0"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"
!if "${ARCH}" == "x64"
    InstallDir "$PROGRAMFILES64\Verbosa"
!else
    InstallDir "$PROGRAMFILES\Verbosa"
!endif

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\quillon.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
!if "${ARCH}" == "x64"
    SetRegView 64
!endif
FunctionEnd

Function un.onInit
!if "${ARCH}" == "x64"
    SetRegView 64
!endif
FunctionEnd

Section "Verbosa" SecMain
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "${BINDIR}\quillon.exe"
    File "${BINDIR}\Tesselator.dll"
    File "${BINDIR}\quillon.chm"
!ifdef X86DLL
    ; 32-bit programs load only a 32-bit shell extension.
    SetOutPath "$INSTDIR\x86"
    File "${X86DLL}"
!endif
    ; Commands are kept here; the program expects the folder to exist.
    CreateDirectory "$INSTDIR\Cmds"
    SetOutPath "$INSTDIR"

    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Verbosa.lnk" "$INSTDIR\quillon.exe" "" "$INSTDIR\quillon.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} 3.0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillon.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Removes every App Paths entry whose default value points into this
; installation's Cmds folder: Verbosa's own commands, whose shortcut files
; are about to go. Other software's entries are left alone.
Function un.RemoveCommandEntries
    StrCpy $R1 "$INSTDIR\Cmds\"
    StrLen $R2 $R1
    StrCpy $R0 0
    ${Do}
        EnumRegKey $R3 HKLM "${APP_PATHS}" $R0
        ${If} $R3 == ""
            ${Break}
        ${EndIf}
        ReadRegStr $R4 HKLM "${APP_PATHS}\$R3" ""
        StrCpy $R5 $R4 $R2
        ${If} $R5 == $R1     ; NSIS compares case-insensitively, like paths
            DeleteRegKey HKLM "${APP_PATHS}\$R3"
            ; The next entry now has this index.
        ${Else}
            IntOp $R0 $R0 + 1
        ${EndIf}
    ${Loop}
FunctionEnd

Section "Uninstall"
    ; The shell extension first, while its file still exists.
    ${If} ${FileExists} "$INSTDIR\Tesselator.dll"
        ExecWait '"$SYSDIR\regsvr32.exe" /u /s "$INSTDIR\Tesselator.dll"'
    ${EndIf}
!ifdef X86DLL
    ${If} ${FileExists} "$INSTDIR\x86\Tesselator.dll"
        ExecWait '"$WINDIR\SysWOW64\regsvr32.exe" /u /s "$INSTDIR\x86\Tesselator.dll"'
    ${EndIf}
!endif
    ; Anything the unregistration left behind of the handler key.
    DeleteRegKey HKCR "Directory\Background\shellex\ContextMenuHandlers\Tesselator"

    ; The "Create Shortcut Command" verb.
    DeleteRegKey HKCR "*\Shell\Create Shortcut Command"
    DeleteRegKey HKCR "Folder\Shell\Create Shortcut Command"

    Call un.RemoveCommandEntries

    ; The uninstalling user's settings and Fast Folders, which name this
    ; installation's program file.
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Kelto"

    Delete "$SMPROGRAMS\Verbosa.lnk"
    Delete "$INSTDIR\Cmds\run_*.lnk"
    Delete "$INSTDIR\Cmds\run_*.cfg"
    RMDir "$INSTDIR\Cmds"
    Delete "$INSTDIR\x86\Tesselator.dll"
    RMDir "$INSTDIR\x86"
    Delete "$INSTDIR\quillon.exe"
    Delete "$INSTDIR\Tesselator.dll"
    Delete "$INSTDIR\quillon.chm"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
