// Installs the built package silently into this Wine prefix, makes a command
// with the installed program as a user would (the path-mode dialog, driven
// from outside), then uninstalls and checks what is left.
// The installer's path comes in VERBOSA_INSTALLER (set by ctest).
#include "tests/packaging/InstallerSupport.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace {

std::wstring InstallerPath()
{
    return PackagePath(L"VERBOSA_INSTALLER");
}

const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Verbosa";

std::wstring ProgramFilesFolder()
{
    return ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Verbosa";
}

// Waits for a visible top-level dialog with this caption. Visible, because
// the program's main window exists hidden in path mode under the same class.
HWND WaitForWindow(const wchar_t* caption, DWORD timeoutMs = 60000)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        for (HWND window = FindWindowExW(nullptr, nullptr, L"#32770", caption); window;
             window = FindWindowExW(nullptr, window, L"#32770", caption)) {
            if (IsWindowVisible(window))
                return window;
        }
        Sleep(100);
    }
    return nullptr;
}

// The editor fills its fields when it is first shown; wait for the target.
std::wstring WaitForText(HWND dialog, int id, DWORD timeoutMs = 10000)
{
    wchar_t text[MAX_PATH] = {};
    for (DWORD waited = 0; waited < timeoutMs && !text[0]; waited += 100) {
        GetDlgItemTextW(dialog, id, text, MAX_PATH);
        if (!text[0])
            Sleep(100);
    }
    return text;
}

TEST(Installer, InstallsUsesAndUninstallsCleanly)
{
    const std::wstring installer = InstallerPath();
    ASSERT_FALSE(installer.empty()) << L"VERBOSA_INSTALLER names no installer";
    const std::wstring dir = ProgramFilesFolder();
    // A first start, whatever an earlier run of this prefix left.
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Kelto\\quillon30\\FastFolders");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Kelto\\quillon30");
    RegDeleteKeyW(HKEY_CURRENT_USER, (kAppPaths + L"\\pad.exe").c_str()); // a name in both scopes asks first
    ASSERT_EQ(0u, RunAndWait(L"\"" + installer + L"\" /S"));

    for (const wchar_t* file : {L"quillon.exe", L"Tesselator.dll", L"quillon.chm", L"uninstall.exe"})
        EXPECT_TRUE(FileExists(dir + L"\\" + file)) << file;
    EXPECT_TRUE(GetFileAttributesW((dir + L"\\Cmds").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    // Another program's entry, which the uninstaller must leave alone.
    WriteString(HKEY_LOCAL_MACHINE, kAppPaths + L"\\otherapp.exe", L"", L"C:\\Other\\otherapp.exe");

    // Path mode, as the "Create Shortcut Command" verb starts it.
    HANDLE process = nullptr;
    RunAndWait(L"\"" + dir + L"\\quillon.exe\" C:\\windows\\notepad.exe", &process);
    ASSERT_NE(nullptr, process);
    // Whatever fails below, the program does not outlive the test.
    struct Reaper {
        HANDLE& process;
        ~Reaper()
        {
            if (process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
                TerminateProcess(process, 1);
            if (process)
                CloseHandle(process);
        }
    } reaper{process};
    HWND dialog = WaitForWindow(L"New Command");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(L"C:\\windows\\notepad.exe", WaitForText(dialog, 1003));
    SetDlgItemTextW(dialog, 1002, L"Pad");
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    HWND done = WaitForWindow(L"Verbosa");
    ASSERT_NE(nullptr, done);
    PostMessageW(done, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 60000));

    EXPECT_EQ(dir + L"\\Cmds\\run_pad.lnk", DefaultValue(kAppPaths + L"\\pad.exe"));
    EXPECT_TRUE(FileExists(dir + L"\\Cmds\\run_pad.lnk"));
    EXPECT_TRUE(FileExists(dir + L"\\Cmds\\run_pad.cfg"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"*\\Shell\\Create Shortcut Command")); // first run

    // This user's own menu entry, as a first run without the rights makes it.
    const std::wstring userVerb = L"Software\\Classes\\*\\Shell\\Create Shortcut Command";
    WriteString(HKEY_CURRENT_USER, userVerb + L"\\Command", L"", L"\"" + dir + L"\\quillon.exe\" %1");

    // The uninstaller copies itself away and returns at once: wait for the folder.
    ASSERT_EQ(0u, RunAndWait(L"\"" + dir + L"\\uninstall.exe\" /S"));
    EXPECT_TRUE(WaitUntilGone(dir));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, userVerb));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPaths + L"\\pad.exe"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"*\\Shell\\Create Shortcut Command"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Folder\\Shell\\Create Shortcut Command"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Directory\\Background\\shellex\\ContextMenuHandlers\\Tesselator"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_EQ(L"C:\\Other\\otherapp.exe", DefaultValue(kAppPaths + L"\\otherapp.exe"));
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, (kAppPaths + L"\\otherapp.exe").c_str());
}

// Just me: the user's own folders and keys, and on uninstall only what this
// user's Verbosa made. Under Wine the installer runs elevated, so this also
// shows the switch wins over the administrators' default of All users.
TEST(Installer, JustMeInstallsAndUninstallsForTheUserAlone)
{
    const std::wstring installer = InstallerPath();
    ASSERT_FALSE(installer.empty()) << L"VERBOSA_INSTALLER names no installer";
    const std::wstring dir = ShellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Verbosa";
    const std::wstring startMenuLink = ShellFolder(CSIDL_PROGRAMS) + L"\\Verbosa.lnk";
    ASSERT_EQ(0u, RunAndWait(L"\"" + installer + L"\" /S /CurrentUser"));

    EXPECT_TRUE(FileExists(dir + L"\\quillon.exe"));
    EXPECT_TRUE(FileExists(dir + L"\\uninstall.exe"));
    EXPECT_TRUE(FileExists(startMenuLink));
    EXPECT_EQ(dir, ReadStringValue(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    // A Just me command as the program makes it, the user's verb, extension
    // handler and settings, and another program's entry in the user's App Paths.
    const std::wstring cmds = ShellFolder(CSIDL_APPDATA) + L"\\Verbosa\\Cmds";
    CreateDirectoryW((ShellFolder(CSIDL_APPDATA) + L"\\Verbosa").c_str(), nullptr);
    CreateDirectoryW(cmds.c_str(), nullptr);
    WriteFileBytes(cmds + L"\\run_pad.lnk", "link");
    WriteFileBytes(cmds + L"\\run_pad.cfg", "properties");
    WriteString(HKEY_CURRENT_USER, kAppPaths + L"\\pad.exe", L"", cmds + L"\\run_pad.lnk");
    WriteString(HKEY_CURRENT_USER, kAppPaths + L"\\pad.exe", L"Path", cmds);
    WriteString(HKEY_CURRENT_USER, kAppPaths + L"\\otherapp.exe", L"", L"C:\\Other\\otherapp.exe");
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring shellKeys[] = {classes + L"*\\Shell\\Create Shortcut Command",
                                    classes + L"Folder\\Shell\\Create Shortcut Command",
                                    classes + L"Directory\\Background\\shellex\\ContextMenuHandlers\\Tesselator"};
    for (const std::wstring& key : shellKeys)
        WriteString(HKEY_CURRENT_USER, key, L"", dir + L"\\quillon.exe");
    CreateKey(HKEY_CURRENT_USER, L"Software\\Kelto\\quillon30");

    ASSERT_EQ(0u, RunAndWait(L"\"" + dir + L"\\uninstall.exe\" /S"));
    EXPECT_TRUE(WaitUntilGone(dir));
    EXPECT_FALSE(FileExists(startMenuLink));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppPaths + L"\\pad.exe"));
    EXPECT_FALSE(FileExists(cmds));
    for (const std::wstring& key : shellKeys)
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key)) << key;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Kelto\\quillon30"));
    EXPECT_EQ(L"C:\\Other\\otherapp.exe", ReadStringValue(HKEY_CURRENT_USER, kAppPaths + L"\\otherapp.exe"));
    RegDeleteKeyW(HKEY_CURRENT_USER, (kAppPaths + L"\\otherapp.exe").c_str());
}

} // namespace
