// Installing a newer version over an older one keeps everything the user
// made, with either package: version N is installed, commands and Fast
// Folders are made with the program's own code, N+1 goes over it, and all
// of it must still be there and resolve. The uninstall then removes it all.
// The packages' paths come from ctest: VERBOSA_INSTALLER[_NEXT] (NSIS) and
// VERBOSA_MSI[_NEXT].
#include "catalogue/Commands.h"
#include "fastfolders/FastFolderStore.h"
#include "framework/CodePage.h"
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

const std::string kSettingsKey = "Software\\Kelto\\quillon30";
const std::string kVerbKey = "*\\Shell\\Create Shortcut Command";

struct Command {
    const char* name;
    const char* target;
    int showCommand;
};
const Command kCommands[] = {{"pad", "C:\\windows\\notepad.exe", SW_SHOWNORMAL},
                             {"regtool", "C:\\windows\\regedit.exe", SW_SHOWMINNOACTIVE}};

// DisplayVersion of every uninstall entry of Verbosa (NSIS: "Verbosa";
// MSI: the product code).
std::vector<std::string> InstalledVersions()
{
    const std::string uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    std::vector<std::string> versions;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, uninstall.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return versions;
    char name[256];
    for (DWORD i = 0, size = sizeof name; RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) ==
                                           ERROR_SUCCESS;
         ++i, size = sizeof name) {
        const std::string entry = uninstall + "\\" + name;
        if (ReadStringValue(HKEY_LOCAL_MACHINE, entry, "DisplayName") == "Verbosa 3.0")
            versions.push_back(ReadStringValue(HKEY_LOCAL_MACHINE, entry, "DisplayVersion"));
    }
    RegCloseKey(key);
    return versions;
}

std::string StartMenuLink()
{
    // Wine's msiexec puts a per-machine package's shortcut into the user's menu.
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        const std::string link = ShellFolder(csidl) + "\\Verbosa.lnk";
        if (FileExists(link))
            return link;
    }
    return "";
}

// The Fast Folders as the program lists them.
std::vector<std::string> FastFolders()
{
    std::string aliases[10], paths[10];
    const int count = ReadFastFolders(10, aliases, paths);
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i)
        items.push_back(aliases[i] + "=" + paths[i]);
    return items;
}

// Another program's entry that the user lets a command of that name replace.
const std::string kTakenKey = kAppPaths + "\\taken.exe";
void RegisterOtherProgram()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTakenKey.c_str());
    WriteString(HKEY_LOCAL_MACHINE, kTakenKey, "", "\"C:\\Other\\taken.exe\"");
    WriteRawValue(HKEY_LOCAL_MACHINE, kTakenKey, "Path", REG_EXPAND_SZ, std::string("%ProgramFiles%\\Other") + '\0');
    CreateKey(HKEY_LOCAL_MACHINE, kTakenKey + "\\SupportedProtocols");
}

// What the user makes with the installed program: the first-run set-up
// (settings, Fast Folders store, the machine's verb), two commands, one
// in place of another program's entry, and two Fast Folders, all by the
// program's own code.
void MakeUserData(const std::string& dir)
{
    CServicesGuard services;
    CMessageBoxRecorder boxes;
    Services().programPath = dir + "\\quillon.exe";
    ASSERT_TRUE(RunFirstTimeSetup(dir));
    for (const Command& command : kCommands)
        ASSERT_TRUE(CreateCommand(command.name, command.target, "", command.showCommand)) << command.name;
    ASSERT_TRUE(CreateCommand("taken", "C:\\windows\\notepad.exe", "", SW_SHOWNORMAL, CommandScope::machine, true));
    EXPECT_EQ(dir + "\\Cmds\\run_taken.lnk", DefaultValue(kTakenKey));
    int blocked = -1;
    ASSERT_EQ(FastFolderWrite::done, AddFastFolder("Windows", "C:\\windows", blocked));
    ASSERT_EQ(FastFolderWrite::done, AddFastFolder("System", "C:\\windows\\system32", blocked));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Every command resolves: its App Paths entry names its shortcut, which
// starts its target; its properties file is there.
void ExpectUserDataIntact(const std::string& dir)
{
    for (const Command& command : kCommands) {
        const std::string link = CommandLinkFile(dir + "\\Cmds", command.name);
        EXPECT_EQ(link, DefaultValue(kAppPaths + "\\" + command.name + ".exe")) << command.name;
        LinkFields fields;
        EXPECT_TRUE(ReadLink(link, fields)) << link;
        EXPECT_EQ(command.target, fields.path);
        EXPECT_TRUE(FileExists(CommandPropertiesFile(dir + "\\Cmds", command.name))) << command.name;
    }
    EXPECT_EQ(dir + "\\Cmds\\run_taken.lnk", DefaultValue(kTakenKey)); // put back only at the uninstall
    EXPECT_EQ((std::vector<std::string>{"Windows=C:\\windows", "System=C:\\windows\\system32"}), FastFolders());
    EXPECT_EQ(dir + "\\quillon.exe", ReadStringValue(HKEY_CURRENT_USER, kSettingsKey + "\\FastFolders", "Path"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kVerbKey));
}

// The uninstall put back what the command taken had replaced, whole.
void ExpectNothingLeft(const std::string& dir, const std::map<std::string, std::string>& taken)
{
    EXPECT_TRUE(WaitUntilGone(dir)) << dir;
    EXPECT_EQ(taken, ReadKeyTree(HKEY_LOCAL_MACHINE, kTakenKey));
    for (const Command& command : kCommands)
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPaths + "\\" + command.name + ".exe")) << command.name;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kVerbKey));
    EXPECT_FALSE(IsShellExtensionRegistered(ExtensionScope::machine));
    EXPECT_TRUE(InstalledVersions().empty());
    EXPECT_EQ("", StartMenuLink());
    // Another program's entry stays.
    EXPECT_EQ("C:\\Other\\otherapp.exe", DefaultValue(kAppPaths + "\\otherapp.exe"));
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kAppPaths + "\\otherapp.exe").c_str());
}

// With version N installed: makes the user's data, runs the upgrade to N+1
// and checks the data came through. Returns the installed version after.
std::vector<std::string> UpgradeKeepingUserData(const std::string& dir, const std::string& upgradeCommand)
{
    const std::vector<std::string> before = InstalledVersions();
    EXPECT_EQ(1u, before.size());
    MakeUserData(dir);
    EXPECT_EQ(0u, RunAndWait(upgradeCommand));
    const std::vector<std::string> after = InstalledVersions();
    EXPECT_EQ(1u, after.size());
    EXPECT_NE(before, after);
    ExpectUserDataIntact(dir);
    return after;
}

// A fresh start, whatever an earlier run of this prefix left.
void ForgetEarlierRuns()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey.c_str());
    for (const Command& command : kCommands)
        RegDeleteTreeA(HKEY_CURRENT_USER, (kAppPaths + "\\" + command.name + ".exe").c_str());
    WriteString(HKEY_LOCAL_MACHINE, kAppPaths + "\\otherapp.exe", "", "C:\\Other\\otherapp.exe");
    RegisterOtherProgram();
}

TEST(Upgrade, NsisInstallerKeepsCommandsAndFastFoldersUntilUninstall)
{
    const std::string older = PackagePath("VERBOSA_INSTALLER");
    const std::string newer = PackagePath("VERBOSA_INSTALLER_NEXT");
    ASSERT_FALSE(older.empty() || newer.empty()) << "ctest names no NSIS installers";
    const std::string dir = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Verbosa";
    ForgetEarlierRuns();
    const auto taken = ReadKeyTree(HKEY_LOCAL_MACHINE, kTakenKey);
    ASSERT_EQ(0u, RunAndWait("\"" + older + "\" /S"));
    UpgradeKeepingUserData(dir, "\"" + newer + "\" /S");

    // The uninstaller copies itself away and returns at once.
    ASSERT_EQ(0u, RunAndWait("\"" + dir + "\\uninstall.exe\" /S"));
    ExpectNothingLeft(dir, taken);
}

// A package that must not go over the installed one: it fails, says why in
// its log, and changes nothing.
void ExpectRefused(const std::string& install, const std::string& dir, const std::string& reason)
{
    const std::vector<std::string> before = InstalledVersions();
    const std::string log = BinFolder() + "\\verbosa-refused.log";
    std::u16string wide;
    ASSERT_TRUE(AnsiToUtf16(log, wide));
    const std::wstring wideLog(wide.begin(), wide.end());
    DeleteFileW(wideLog.c_str());
    EXPECT_NE(0u, RunAndWait(install + " /l*v \"" + log + "\""));
    std::string text = ReadFileBytes(log);
    std::erase(text, '\0'); // the log may be UTF-16
    EXPECT_NE(std::string::npos, text.find(reason)) << install;
    EXPECT_EQ(before, InstalledVersions());
    EXPECT_TRUE(FileExists(dir + "\\quillon.exe"));
    DeleteFileW(wideLog.c_str());
}

TEST(Upgrade, MsiKeepsItsFolderCommandsFastFoldersAndTheExtensionUntilUninstall)
{
    const std::string older = PackagePath("VERBOSA_MSI");
    const std::string newer = PackagePath("VERBOSA_MSI_NEXT");
    const std::string otherArchitecture = PackagePath("VERBOSA_MSI_OTHER_ARCH");
    if (older.empty() || newer.empty() || otherArchitecture.empty())
        GTEST_SKIP() << "no MSI packages (wixl missing)";
    // Not the default folder: the upgrade must find it by itself.
    const std::string dir = "C:\\Tools\\Verbosa";
    const std::string defaultDir = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Verbosa";
    ForgetEarlierRuns();
    const auto taken = ReadKeyTree(HKEY_LOCAL_MACHINE, kTakenKey);
    ASSERT_EQ(0u, RunAndWait("msiexec /i \"" + older + "\" /qn FASTFOLDERS=1 INSTALLDIR=\"" + dir + "\""));
    for (const char* file : {"quillon.exe", "Tesselator.dll", "quillon.chm"})
        EXPECT_TRUE(FileExists(dir + "\\" + file)) << file;
    EXPECT_TRUE(IsShellExtensionRegistered(ExtensionScope::machine));
    EXPECT_EQ("\"" + dir + "\\quillon.exe\" %1", ReadStringValue(HKEY_CLASSES_ROOT, kVerbKey + "\\Command"));
    LinkFields menu;
    EXPECT_TRUE(ReadLink(StartMenuLink(), menu));
    EXPECT_EQ(dir + "\\quillon.exe", menu.path);

    // A fleet's command set, handed to the installed program as a deployment tool would.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string set = std::string(temp) + "verbosa-fleet.json";
    WriteFileBytes(set, R"({"format": "verbosa", "version": 1, "commands": [{"name": "deployed",
        "target": "C:\\windows\\notepad.exe", "parameters": "", "window": "normal", "scope": "machine"}]})");
    EXPECT_EQ(0u, RunAndWait("\"" + dir + "\\quillon.exe\" /import \"" + set + "\""));
    EXPECT_EQ(dir + "\\Cmds\\run_deployed.lnk", DefaultValue(kAppPaths + "\\deployed.exe"));
    DeleteFileA(set.c_str());

    // Neither an upgrade into another folder nor the other architecture's
    // package (same version) replaces it.
    ExpectRefused("msiexec /i \"" + newer + "\" /qn INSTALLDIR=C:\\Elsewhere\\Verbosa", dir,
                  "uninstall Verbosa first to move it");
    EXPECT_FALSE(FileExists("C:\\Elsewhere"));
    ExpectRefused("msiexec /i \"" + otherArchitecture + "\" /qn", dir, "does not replace it");

    // Without INSTALLDIR, into the installed folder; without FASTFOLDERS,
    // the extension stays as the user had it.
    const std::vector<std::string> after = UpgradeKeepingUserData(dir, "msiexec /i \"" + newer + "\" /qn");
    EXPECT_TRUE(FileExists(dir + "\\quillon.exe"));
    EXPECT_FALSE(FileExists(defaultDir));
    EXPECT_TRUE(IsShellExtensionRegistered(ExtensionScope::machine));
    // An older package refuses to go over a newer one.
    EXPECT_NE(0u, RunAndWait("msiexec /i \"" + older + "\" /qn"));
    EXPECT_EQ(after, InstalledVersions());

    ASSERT_EQ(0u, RunAndWait("msiexec /x \"" + newer + "\" /qn"));
    ExpectNothingLeft(dir, taken);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPaths + "\\deployed.exe"));
    RemoveDirectoryW(L"C:\\Tools");
}

} // namespace
