; Verbosa installer. Built by scripts/dist.sh with:
;   makensis -DARCH=x64|x86 -DVERSION=<a.b.c.d> -DBINDIR=<folder with quillon.exe,
;            Tesselator.dll, quillon.chm> [-DX86DLL=<x86 Tesselator.dll>] -DOUTFILE=<setup.exe>
;            [-DSETUPDLL=<VerbosaSetup.dll, the uninstaller's; default: in BINDIR>]
; Installing over an earlier version replaces the program files and keeps
; everything the user made: commands, Fast Folders and settings.
; "All users" installs into Program Files and needs administrator rights;
; "Just me" installs into the user's own programs folder and needs none.
; Silent: /S /AllUsers or /S /CurrentUser; /S alone is All users when the
; installer runs with administrator rights, Just me otherwise.

Unicode true
!if "${ARCH}" == "x64"
    Target amd64-unicode
!endif

!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "MUI2.nsh"

!define PRODUCT "Verbosa"
!ifndef SETUPDLL
    !define SETUPDLL "${BINDIR}\VerbosaSetup.dll"
!endif
!ifndef VERSION
    !error "VERSION is not defined (makensis -DVERSION=a.b.c.d)"
!endif
!define PUBLISHER "Kelto"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Verbosa"
!define APP_PATHS "SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths"
; The registry layout comes from contract/StoreContract.h through CMake.
!ifndef SETTINGS_KEY
    !error "SETTINGS_KEY is not defined (makensis -DSETTINGS_KEY=..., from the store contract)"
!endif
!ifndef VENDOR_KEY
    !error "VENDOR_KEY is not defined (makensis -DVENDOR_KEY=..., from the store contract)"
!endif

Name "${PRODUCT} 3.0"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"

; Administrators are asked for elevation and may choose; other users get Just me.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "Verbosa"
!if "${ARCH}" == "x64"
    !define MULTIUSER_USE_PROGRAMFILES64
!endif
; The uninstaller finds its mode from its own uninstall entry (un.onInit).
!define MULTIUSER_NOUNINSTALL
!define MULTIUSER_INSTALLMODEPAGE_TEXT_ALLUSERS "All users (in Program Files)"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_CURRENTUSER "Just me (no administrator rights needed)"
!include "MultiUser.nsh"

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
!insertmacro MULTIUSER_PAGE_INSTALLMODE
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
    !insertmacro MULTIUSER_INIT
FunctionEnd

; Just me when the user's uninstall entry names this folder (compared by
; short names, so either spelling of the path matches), All users otherwise.
Var PerUser
Function un.onInit
!if "${ARCH}" == "x64"
    SetRegView 64
!endif
    StrCpy $PerUser 0
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
        GetFullPathName /SHORT $0 $0
        GetFullPathName /SHORT $1 $INSTDIR
        ${If} $0 == $1
            StrCpy $PerUser 1
        ${EndIf}
    ${EndIf}
    ${If} $PerUser == 1
        SetShellVarContext current
    ${Else}
        UserInfo::GetAccountType
        Pop $0
        ${If} $0 != "Admin"
            MessageBox MB_OK|MB_ICONSTOP "Verbosa was installed for all users; removing it needs administrator rights." /SD IDOK
            Abort
        ${EndIf}
        SetShellVarContext all
    ${EndIf}
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
    ; All users' commands are kept here; the program expects the folder to exist.
    CreateDirectory "$INSTDIR\Cmds"
    SetOutPath "$INSTDIR"

    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; MultiUser set the shell folders and SHCTX (HKLM or HKCU) for the mode.
    CreateShortcut "$SMPROGRAMS\Verbosa.lnk" "$INSTDIR\quillon.exe" "" "$INSTDIR\quillon.exe" 0

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} 3.0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillon.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Removes every App Paths entry of the mode's root (SHCTX) whose default
; value points into the Cmds folder given on the stack: Verbosa's own
; commands, whose shortcut files are about to go. Other software's entries
; are left alone.
Function un.RemoveCommandEntries
    Pop $R1
    StrCpy $R1 "$R1\"
    StrLen $R2 $R1
    StrCpy $R0 0
    ${Do}
        EnumRegKey $R3 SHCTX "${APP_PATHS}" $R0
        ${If} $R3 == ""
            ${Break}
        ${EndIf}
        ReadRegStr $R4 SHCTX "${APP_PATHS}\$R3" ""
        StrCpy $R5 $R4 $R2
        ${If} $R5 == $R1     ; NSIS compares case-insensitively, like paths
            DeleteRegKey SHCTX "${APP_PATHS}\$R3"
            ; The next entry now has this index.
        ${Else}
            IntOp $R0 $R0 + 1
        ${EndIf}
    ${Loop}
FunctionEnd

; The shell extension (while its file still exists) and the "Create
; Shortcut Command" verb, from the machine's file classes or the user's.
!macro RemoveShellEntries ROOT CLASSES USER_SWITCHES
    ${If} ${FileExists} "$INSTDIR\Tesselator.dll"
        ExecWait '"$SYSDIR\regsvr32.exe" /u ${USER_SWITCHES}/s "$INSTDIR\Tesselator.dll"'
    ${EndIf}
!ifdef X86DLL
    ${If} ${FileExists} "$INSTDIR\x86\Tesselator.dll"
        ExecWait '"$WINDIR\SysWOW64\regsvr32.exe" /u ${USER_SWITCHES}/s "$INSTDIR\x86\Tesselator.dll"'
    ${EndIf}
!endif
    ; Anything the unregistration left behind of the handler key.
    DeleteRegKey ${ROOT} "${CLASSES}Directory\Background\shellex\ContextMenuHandlers\Tesselator"
    DeleteRegKey ${ROOT} "${CLASSES}*\Shell\Create Shortcut Command"
    DeleteRegKey ${ROOT} "${CLASSES}Folder\Shell\Create Shortcut Command"
!macroend

; The commands of the Cmds folder CMDS (PERUSER 1: Just me), and the
; entries they had replaced put back, by the program's own code in the
; setup library; what it put back or kept, and why, goes to the details.
!macro RemoveCommandsWithLibrary CMDS PERUSER
    InitPluginsDir
    File "/oname=$PLUGINSDIR\VerbosaSetup.dll" "${SETUPDLL}"
    System::Call '$PLUGINSDIR\VerbosaSetup.dll::RemoveCommandsForUninstall(w "${CMDS}", i ${PERUSER}, w .r1, i ${NSIS_MAX_STRLEN}) i .r0 ? u'
    ${If} $0 == "error"
        DetailPrint "Verbosa: the setup library could not be loaded; the entries that commands replaced were not put back"
    ${ElseIf} $1 != ""
        DetailPrint "$1"
    ${EndIf}
    Delete "$PLUGINSDIR\VerbosaSetup.dll"
!macroend

Section "Uninstall"
    ${If} $PerUser == 1
        !insertmacro RemoveShellEntries HKCU "Software\Classes\" "/n /i:user "
        !insertmacro RemoveCommandsWithLibrary "$APPDATA\Verbosa\Cmds" 1
        ; Just me commands live in the user's roaming application data;
        ; whatever the library could not remove.
        Push "$APPDATA\Verbosa\Cmds"
        Call un.RemoveCommandEntries
        Delete "$APPDATA\Verbosa\Cmds\run_*.lnk"
        Delete "$APPDATA\Verbosa\Cmds\run_*.cfg"
        RMDir "$APPDATA\Verbosa\Cmds"
        RMDir "$APPDATA\Verbosa"
    ${Else}
        !insertmacro RemoveShellEntries HKCR "" ""
        ; The uninstalling user's own menu entry, made at a first run without
        ; administrator rights, when it starts this installation's program.
        ReadRegStr $R0 HKCU "Software\Classes\*\Shell\Create Shortcut Command\Command" ""
        ${If} $R0 == '"$INSTDIR\quillon.exe" %1'
            DeleteRegKey HKCU "Software\Classes\*\Shell\Create Shortcut Command"
            DeleteRegKey HKCU "Software\Classes\Folder\Shell\Create Shortcut Command"
        ${EndIf}
        !insertmacro RemoveCommandsWithLibrary "$INSTDIR\Cmds" 0
        Push "$INSTDIR\Cmds"
        Call un.RemoveCommandEntries
        Delete "$INSTDIR\Cmds\run_*.lnk"
        Delete "$INSTDIR\Cmds\run_*.cfg"
    ${EndIf}

    ; The uninstalling user's settings and Fast Folders, which name this
    ; installation's program file.
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${VENDOR_KEY}"

    ; Before the files: the folder going last is the sign the uninstaller is done.
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    Delete "$SMPROGRAMS\Verbosa.lnk"
    RMDir "$INSTDIR\Cmds"
    Delete "$INSTDIR\x86\Tesselator.dll"
    RMDir "$INSTDIR\x86"
    Delete "$INSTDIR\quillon.exe"
    Delete "$INSTDIR\Tesselator.dll"
    Delete "$INSTDIR\quillon.chm"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
