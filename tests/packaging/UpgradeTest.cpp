// Installing a newer version over an older one keeps everything the user
// made, with either package: version N is installed, commands and Fast
// Folders are made with the program's own code, N+1 goes over it, and all
// of it must still be there and resolve. The uninstall then removes it all.
// The packages' paths come from ctest: VERBOSA_INSTALLER[_NEXT] (NSIS) and
// VERBOSA_MSI[_NEXT].
#include "catalogue/Commands.h"
#include "fastfolders/FastFolderStore.h"
#include "shellsettings/ExtensionRegistration.h"
#include "shellsettings/FirstRun.h"
#include "tests/packaging/InstallerSupport.h"
#include "tests/support/CommandFilesPaths.h"
#include "tests/support/LinkReader.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <map>
#include <string>
#include <vector>

namespace {

const std::wstring kSettingsKey = L"Software\\Kelto\\quillon30";
const std::wstring kVerbKey = L"*\\Shell\\Create Shortcut Command";

struct Command {
    const wchar_t* name;
    const wchar_t* target;
    int showCommand;
};
const Command kCommands[] = {{L"pad", L"C:\\windows\\notepad.exe", SW_SHOWNORMAL},
                             {L"regtool", L"C:\\windows\\regedit.exe", SW_SHOWMINNOACTIVE}};

// DisplayVersion of every uninstall entry of Verbosa (NSIS: "Verbosa";
// MSI: the product code).
std::vector<std::wstring> InstalledVersions()
{
    const std::wstring uninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    std::vector<std::wstring> versions;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, uninstall.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return versions;
    wchar_t name[256];
    for (DWORD i = 0, size = 256; RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) ==
                                  ERROR_SUCCESS;
         ++i, size = 256) {
        const std::wstring entry = uninstall + L"\\" + name;
        if (ReadStringValue(HKEY_LOCAL_MACHINE, entry, L"DisplayName") == L"Verbosa 3.0")
            versions.push_back(ReadStringValue(HKEY_LOCAL_MACHINE, entry, L"DisplayVersion"));
    }
    RegCloseKey(key);
    return versions;
}

std::wstring StartMenuLink()
{
    // Wine's msiexec puts a per-machine package's shortcut into the user's menu.
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        const std::wstring link = ShellFolder(csidl) + L"\\Verbosa.lnk";
        if (FileExists(link))
            return link;
    }
    return L"";
}

// The Fast Folders as the program lists them.
std::vector<std::wstring> FastFolders()
{
    std::wstring aliases[10], paths[10];
    const int count = ReadFastFolders(10, aliases, paths);
    std::vector<std::wstring> items;
    for (int i = 0; i < count; ++i)
        items.push_back(aliases[i] + L"=" + paths[i]);
    return items;
}

// Another program's entry that the user lets a command of that name replace.
const std::wstring kTakenKey = kAppPaths + L"\\taken.exe";
void RegisterOtherProgram()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTakenKey.c_str());
    WriteString(HKEY_LOCAL_MACHINE, kTakenKey, L"", L"\"C:\\Other\\taken.exe\"");
    WriteStringValue(HKEY_LOCAL_MACHINE, kTakenKey, L"Path", L"%ProgramFiles%\\Other", REG_EXPAND_SZ);
    CreateKey(HKEY_LOCAL_MACHINE, kTakenKey + L"\\SupportedProtocols");
}

// What the user makes with the installed program: the first-run set-up
// (settings, Fast Folders store, the machine's verb), two commands, one
// in place of another program's entry, and two Fast Folders, all by the
// program's own code.
void MakeUserData(const std::wstring& dir)
{
    CServicesGuard services;
    CMessageBoxRecorder boxes;
    Services().programPath = dir + L"\\quillon.exe";
    ASSERT_TRUE(RunFirstTimeSetup(dir));
    for (const Command& command : kCommands)
        ASSERT_TRUE(CreateCommand(command.name, command.target, L"", command.showCommand)) << command.name;
    ASSERT_TRUE(CreateCommand(L"taken", L"C:\\windows\\notepad.exe", L"", SW_SHOWNORMAL, CommandScope::machine, true));
    EXPECT_EQ(dir + L"\\Cmds\\run_taken.lnk", DefaultValue(kTakenKey));
    int blocked = -1;
    ASSERT_EQ(FastFolderWrite::done, AddFastFolder(L"Windows", L"C:\\windows", blocked));
    ASSERT_EQ(FastFolderWrite::done, AddFastFolder(L"System", L"C:\\windows\\system32", blocked));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Every command resolves: its App Paths entry names its shortcut, which
// starts its target; its properties file is there.
void ExpectUserDataIntact(const std::wstring& dir)
{
    for (const Command& command : kCommands) {
        const std::wstring link = CommandLinkFile(dir + L"\\Cmds", command.name);
        EXPECT_EQ(link, DefaultValue(kAppPaths + L"\\" + command.name + L".exe")) << command.name;
        LinkFields fields;
        EXPECT_TRUE(ReadLink(link, fields)) << link;
        EXPECT_EQ(command.target, fields.path);
        EXPECT_TRUE(FileExists(CommandPropertiesFile(dir + L"\\Cmds", command.name))) << command.name;
    }
    EXPECT_EQ(dir + L"\\Cmds\\run_taken.lnk", DefaultValue(kTakenKey)); // put back only at the uninstall
    EXPECT_EQ((std::vector<std::wstring>{L"Windows=C:\\windows", L"System=C:\\windows\\system32"}), FastFolders());
    EXPECT_EQ(dir + L"\\quillon.exe", ReadStringValue(HKEY_CURRENT_USER, kSettingsKey + L"\\FastFolders", L"Path"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kVerbKey));
}

// The uninstall put back what the command taken had replaced, whole.
void ExpectNothingLeft(const std::wstring& dir, const std::map<std::wstring, std::string>& taken)
{
    EXPECT_TRUE(WaitUntilGone(dir)) << dir;
    EXPECT_EQ(taken, ReadKeyTree(HKEY_LOCAL_MACHINE, kTakenKey));
    for (const Command& command : kCommands)
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPaths + L"\\" + command.name + L".exe")) << command.name;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kVerbKey));
    EXPECT_FALSE(IsShellExtensionRegistered(ExtensionScope::machine));
    EXPECT_TRUE(InstalledVersions().empty());
    EXPECT_EQ(L"", StartMenuLink());
    // Another program's entry stays.
    EXPECT_EQ(L"C:\\Other\\otherapp.exe", DefaultValue(kAppPaths + L"\\otherapp.exe"));
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, (kAppPaths + L"\\otherapp.exe").c_str());
}

// With version N installed: makes the user's data, runs the upgrade to N+1
// and checks the data came through. Returns the installed version after.
std::vector<std::wstring> UpgradeKeepingUserData(const std::wstring& dir, const std::wstring& upgradeCommand)
{
    const std::vector<std::wstring> before = InstalledVersions();
    EXPECT_EQ(1u, before.size());
    MakeUserData(dir);
    EXPECT_EQ(0u, RunAndWait(upgradeCommand));
    const std::vector<std::wstring> after = InstalledVersions();
    EXPECT_EQ(1u, after.size());
    EXPECT_NE(before, after);
    ExpectUserDataIntact(dir);
    return after;
}

// A fresh start, whatever an earlier run of this prefix left.
void ForgetEarlierRuns()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey.c_str());
    for (const Command& command : kCommands)
        RegDeleteTreeW(HKEY_CURRENT_USER, (kAppPaths + L"\\" + command.name + L".exe").c_str());
    WriteString(HKEY_LOCAL_MACHINE, kAppPaths + L"\\otherapp.exe", L"", L"C:\\Other\\otherapp.exe");
    RegisterOtherProgram();
}

TEST(Upgrade, NsisInstallerKeepsCommandsAndFastFoldersUntilUninstall)
{
    const std::wstring older = PackagePath(L"VERBOSA_INSTALLER");
    const std::wstring newer = PackagePath(L"VERBOSA_INSTALLER_NEXT");
    ASSERT_FALSE(older.empty() || newer.empty()) << L"ctest names no NSIS installers";
    const std::wstring dir = ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Verbosa";
    ForgetEarlierRuns();
    const auto taken = ReadKeyTree(HKEY_LOCAL_MACHINE, kTakenKey);
    ASSERT_EQ(0u, RunAndWait(L"\"" + older + L"\" /S"));
    UpgradeKeepingUserData(dir, L"\"" + newer + L"\" /S");

    // The uninstaller copies itself away and returns at once.
    ASSERT_EQ(0u, RunAndWait(L"\"" + dir + L"\\uninstall.exe\" /S"));
    ExpectNothingLeft(dir, taken);
}

// A package that must not go over the installed one: it fails, says why in
// its log (ASCII text, found in the bytes), and changes nothing.
void ExpectRefused(const std::wstring& install, const std::wstring& dir, const std::string& reason)
{
    const std::vector<std::wstring> before = InstalledVersions();
    const std::wstring log = BinFolder() + L"\\verbosa-refused.log";
    DeleteFileW(log.c_str());
    EXPECT_NE(0u, RunAndWait(install + L" /l*v \"" + log + L"\""));
    std::string text = ReadFileBytes(log);
    std::erase(text, '\0'); // the log may be UTF-16
    EXPECT_NE(std::string::npos, text.find(reason)) << install;
    EXPECT_EQ(before, InstalledVersions());
    EXPECT_TRUE(FileExists(dir + L"\\quillon.exe"));
    DeleteFileW(log.c_str());
}

TEST(Upgrade, MsiKeepsItsFolderCommandsFastFoldersAndTheExtensionUntilUninstall)
{
    const std::wstring older = PackagePath(L"VERBOSA_MSI");
    const std::wstring newer = PackagePath(L"VERBOSA_MSI_NEXT");
    const std::wstring otherArchitecture = PackagePath(L"VERBOSA_MSI_OTHER_ARCH");
    if (older.empty() || newer.empty() || otherArchitecture.empty())
        GTEST_SKIP() << L"no MSI packages (wixl missing)";
    // Not the default folder: the upgrade must find it by itself.
    const std::wstring dir = L"C:\\Tools\\Verbosa";
    const std::wstring defaultDir = ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Verbosa";
    ForgetEarlierRuns();
    const auto taken = ReadKeyTree(HKEY_LOCAL_MACHINE, kTakenKey);
    ASSERT_EQ(0u, RunAndWait(L"msiexec /i \"" + older + L"\" /qn FASTFOLDERS=1 INSTALLDIR=\"" + dir + L"\""));
    for (const wchar_t* file : {L"quillon.exe", L"Tesselator.dll", L"quillon.chm"})
        EXPECT_TRUE(FileExists(dir + L"\\" + file)) << file;
    EXPECT_TRUE(IsShellExtensionRegistered(ExtensionScope::machine));
    EXPECT_EQ(L"\"" + dir + L"\\quillon.exe\" %1", ReadStringValue(HKEY_CLASSES_ROOT, kVerbKey + L"\\Command"));
    LinkFields menu;
    EXPECT_TRUE(ReadLink(StartMenuLink(), menu));
    EXPECT_EQ(dir + L"\\quillon.exe", menu.path);

    // A fleet's command set, handed to the installed program as a deployment tool would.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring set = std::wstring(temp) + L"verbosa-fleet.json";
    WriteFileBytes(set, R"({"format": "verbosa", "version": 1, "commands": [{"name": "deployed",
        "target": "C:\\windows\\notepad.exe", "parameters": "", "window": "normal", "scope": "machine"}]})");
    EXPECT_EQ(0u, RunAndWait(L"\"" + dir + L"\\quillon.exe\" /import \"" + set + L"\""));
    EXPECT_EQ(dir + L"\\Cmds\\run_deployed.lnk", DefaultValue(kAppPaths + L"\\deployed.exe"));
    DeleteFileW(set.c_str());

    // Neither an upgrade into another folder nor the other architecture's
    // package (same version) replaces it.
    ExpectRefused(L"msiexec /i \"" + newer + L"\" /qn INSTALLDIR=C:\\Elsewhere\\Verbosa", dir,
                  "uninstall Verbosa first to move it");
    EXPECT_FALSE(FileExists(L"C:\\Elsewhere"));
    ExpectRefused(L"msiexec /i \"" + otherArchitecture + L"\" /qn", dir, "does not replace it");

    // Without INSTALLDIR, into the installed folder; without FASTFOLDERS,
    // the extension stays as the user had it.
    const std::vector<std::wstring> after = UpgradeKeepingUserData(dir, L"msiexec /i \"" + newer + L"\" /qn");
    EXPECT_TRUE(FileExists(dir + L"\\quillon.exe"));
    EXPECT_FALSE(FileExists(defaultDir));
    EXPECT_TRUE(IsShellExtensionRegistered(ExtensionScope::machine));
    // An older package refuses to go over a newer one.
    EXPECT_NE(0u, RunAndWait(L"msiexec /i \"" + older + L"\" /qn"));
    EXPECT_EQ(after, InstalledVersions());

    ASSERT_EQ(0u, RunAndWait(L"msiexec /x \"" + newer + L"\" /qn"));
    ExpectNothingLeft(dir, taken);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPaths + L"\\deployed.exe"));
    RemoveDirectoryW(L"C:\\Tools");
}

} // namespace
