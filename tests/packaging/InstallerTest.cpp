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

std::string InstallerPath()
{
    return PackagePath("VERBOSA_INSTALLER");
}

const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Verbosa";

std::string ProgramFilesFolder()
{
    return ShellFolder(CSIDL_PROGRAM_FILES) + "\\Verbosa";
}

// Waits for a visible top-level dialog with this caption. Visible, because
// the program's main window exists hidden in path mode under the same class.
HWND WaitForWindow(const char* caption, DWORD timeoutMs = 60000)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", caption); window;
             window = FindWindowExA(nullptr, window, "#32770", caption)) {
            if (IsWindowVisible(window))
                return window;
        }
        Sleep(100);
    }
    return nullptr;
}

// The editor fills its fields when it is first shown; wait for the target.
std::string WaitForText(HWND dialog, int id, DWORD timeoutMs = 10000)
{
    char text[MAX_PATH] = {};
    for (DWORD waited = 0; waited < timeoutMs && !text[0]; waited += 100) {
        GetDlgItemTextA(dialog, id, text, MAX_PATH);
        if (!text[0])
            Sleep(100);
    }
    return text;
}

TEST(Installer, InstallsUsesAndUninstallsCleanly)
{
    const std::string installer = InstallerPath();
    ASSERT_FALSE(installer.empty()) << "VERBOSA_INSTALLER names no installer";
    const std::string dir = ProgramFilesFolder();
    // A first start, whatever an earlier run of this prefix left.
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kelto\\quillon30\\FastFolders");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kelto\\quillon30");
    RegDeleteKeyA(HKEY_CURRENT_USER, (kAppPaths + "\\pad.exe").c_str()); // a name in both scopes asks first
    ASSERT_EQ(0u, RunAndWait("\"" + installer + "\" /S"));

    for (const char* file : {"quillon.exe", "Tesselator.dll", "quillon.chm", "uninstall.exe"})
        EXPECT_TRUE(FileExists(dir + "\\" + file)) << file;
    EXPECT_TRUE(GetFileAttributesA((dir + "\\Cmds").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    // Another program's entry, which the uninstaller must leave alone.
    WriteString(HKEY_LOCAL_MACHINE, kAppPaths + "\\otherapp.exe", "", "C:\\Other\\otherapp.exe");

    // Path mode, as the "Create Shortcut Command" verb starts it.
    HANDLE process = nullptr;
    RunAndWait("\"" + dir + "\\quillon.exe\" C:\\windows\\notepad.exe", &process);
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
    HWND dialog = WaitForWindow("New Command");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("C:\\windows\\notepad.exe", WaitForText(dialog, 1003));
    SetDlgItemTextA(dialog, 1002, "Pad");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND done = WaitForWindow("Verbosa");
    ASSERT_NE(nullptr, done);
    PostMessageA(done, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 60000));

    EXPECT_EQ(dir + "\\Cmds\\run_pad.lnk", DefaultValue(kAppPaths + "\\pad.exe"));
    EXPECT_TRUE(FileExists(dir + "\\Cmds\\run_pad.lnk"));
    EXPECT_TRUE(FileExists(dir + "\\Cmds\\run_pad.cfg"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "*\\Shell\\Create Shortcut Command")); // first run

    // This user's own menu entry, as a first run without the rights makes it.
    const std::string userVerb = "Software\\Classes\\*\\Shell\\Create Shortcut Command";
    WriteString(HKEY_CURRENT_USER, userVerb + "\\Command", "", "\"" + dir + "\\quillon.exe\" %1");

    // The uninstaller copies itself away and returns at once: wait for the folder.
    ASSERT_EQ(0u, RunAndWait("\"" + dir + "\\uninstall.exe\" /S"));
    EXPECT_TRUE(WaitUntilGone(dir));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, userVerb));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPaths + "\\pad.exe"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "*\\Shell\\Create Shortcut Command"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Folder\\Shell\\Create Shortcut Command"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Directory\\Background\\shellex\\ContextMenuHandlers\\Tesselator"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_EQ("C:\\Other\\otherapp.exe", DefaultValue(kAppPaths + "\\otherapp.exe"));
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kAppPaths + "\\otherapp.exe").c_str());
}

// Just me: the user's own folders and keys, and on uninstall only what this
// user's Verbosa made. Under Wine the installer runs elevated, so this also
// shows the switch wins over the administrators' default of All users.
TEST(Installer, JustMeInstallsAndUninstallsForTheUserAlone)
{
    const std::string installer = InstallerPath();
    ASSERT_FALSE(installer.empty()) << "VERBOSA_INSTALLER names no installer";
    const std::string dir = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Verbosa";
    const std::string startMenuLink = ShellFolder(CSIDL_PROGRAMS) + "\\Verbosa.lnk";
    ASSERT_EQ(0u, RunAndWait("\"" + installer + "\" /S /CurrentUser"));

    EXPECT_TRUE(FileExists(dir + "\\quillon.exe"));
    EXPECT_TRUE(FileExists(dir + "\\uninstall.exe"));
    EXPECT_TRUE(FileExists(startMenuLink));
    EXPECT_EQ(dir, ReadStringValue(HKEY_CURRENT_USER, kUninstallKey, "InstallLocation"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    // A Just me command as the program makes it, the user's verb, extension
    // handler and settings, and another program's entry in the user's App Paths.
    const std::string cmds = ShellFolder(CSIDL_APPDATA) + "\\Verbosa\\Cmds";
    CreateDirectoryA((ShellFolder(CSIDL_APPDATA) + "\\Verbosa").c_str(), nullptr);
    CreateDirectoryA(cmds.c_str(), nullptr);
    WriteFileBytes(cmds + "\\run_pad.lnk", "link");
    WriteFileBytes(cmds + "\\run_pad.cfg", "properties");
    WriteString(HKEY_CURRENT_USER, kAppPaths + "\\pad.exe", "", cmds + "\\run_pad.lnk");
    WriteString(HKEY_CURRENT_USER, kAppPaths + "\\pad.exe", "Path", cmds);
    WriteString(HKEY_CURRENT_USER, kAppPaths + "\\otherapp.exe", "", "C:\\Other\\otherapp.exe");
    const std::string classes = "Software\\Classes\\";
    const std::string shellKeys[] = {classes + "*\\Shell\\Create Shortcut Command",
                                    classes + "Folder\\Shell\\Create Shortcut Command",
                                    classes + "Directory\\Background\\shellex\\ContextMenuHandlers\\Tesselator"};
    for (const std::string& key : shellKeys)
        WriteString(HKEY_CURRENT_USER, key, "", dir + "\\quillon.exe");
    CreateKey(HKEY_CURRENT_USER, "Software\\Kelto\\quillon30");

    ASSERT_EQ(0u, RunAndWait("\"" + dir + "\\uninstall.exe\" /S"));
    EXPECT_TRUE(WaitUntilGone(dir));
    EXPECT_FALSE(FileExists(startMenuLink));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppPaths + "\\pad.exe"));
    EXPECT_FALSE(FileExists(cmds));
    for (const std::string& key : shellKeys)
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key)) << key;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Kelto\\quillon30"));
    EXPECT_EQ("C:\\Other\\otherapp.exe", ReadStringValue(HKEY_CURRENT_USER, kAppPaths + "\\otherapp.exe"));
    RegDeleteKeyA(HKEY_CURRENT_USER, (kAppPaths + "\\otherapp.exe").c_str());
}

} // namespace
