// Backups of whole App Paths entries and their exact restore, against
// scratch registry roots and a scratch backup folder.
#include "regbackup/AppPathsBackup.h"
#include "regbackup/KeyTree.h"

#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"

#include "tests/regbackup/RegKeyPrinter.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

// The bytes of UTF-16 text, as the registry and the file hold them.
std::string Utf16(std::u16string_view text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

std::u16string EntryPath(const std::u16string& keyName)
{
    return u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + keyName;
}

// Writes the tree with the wide API directly, not through the code under test.
void Plant(HKEY root, const std::u16string& path, const RegKey& tree)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, reinterpret_cast<const wchar_t*>(path.c_str()), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    for (const RegValue& value : tree.values)
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, reinterpret_cast<const wchar_t*>(value.name.c_str()), 0, value.type,
                                                reinterpret_cast<const BYTE*>(value.data.data()),
                                                static_cast<DWORD>(value.data.size())));
    RegCloseKey(key);
    for (const RegKey& subkey : tree.subkeys)
        Plant(root, path + u'\\' + subkey.name, subkey);
}

RegKey Capture(HKEY root, const std::u16string& path)
{
    RegKey tree;
    EXPECT_EQ(ERROR_SUCCESS, CaptureKeyTree(root, path, tree));
    return tree;
}

// Every kind of value an entry holds, a non-ASCII name and nested subkeys,
// in name order (Wine lists values by name, Windows in the order made).
RegKey SampleEntry()
{
    RegKey tree;
    tree.values = {
        {u"", REG_SZ, Utf16(u"C:\\Tools\\tool.exe"s + u'\0')},
        {u"Blob", REG_BINARY, std::string(200, '\xA5')},
        {u"Caf\u00e9", REG_SZ, Utf16(u"na\u00efve \u65e5"s + u'\0')},
        {u"Flags", REG_DWORD, "\x2a\0\0\x80"s},
        {u"List", REG_MULTI_SZ, Utf16(u"a\0b\0\0"s)},
        {u"Path", REG_EXPAND_SZ, Utf16(u"%ProgramFiles%\\Tools"s + u'\0')},
    };
    tree.subkeys = {{u"SupportedProtocols", {{u"http", REG_SZ, Utf16(u"\0"s)}}, {{u"Inner", {}, {}}}}};
    return tree;
}

class AppPathsBackupTest : public ::testing::Test {
protected:
    CServicesGuard services;
    CRegistrySandbox sandbox;
    CTempProgramFolder folder;
};

} // namespace

TEST_F(AppPathsBackupTest, DeleteKeepsABackupThatRestoresTheEntryExactly)
{
    const RegKey sample = SampleEntry();
    Plant(HKEY_LOCAL_MACHINE, EntryPath(u"tool.exe"), sample);
    RegKey expected = sample;
    ASSERT_EQ(expected, Capture(HKEY_LOCAL_MACHINE, EntryPath(u"tool.exe"))); // what is read is what was planted

    const DeleteResult deleted = DeleteAppPathsEntryWithBackup(CommandScope::machine, L"tool.exe");
    ASSERT_TRUE(deleted.deleted) << deleted.why;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tool.exe"));
    EXPECT_EQ(folder.MachineBackups(), deleted.backupFile.substr(0, folder.MachineBackups().size()));
    EXPECT_EQ(0u, ReadFileBytes(deleted.backupFile).find("\xFF\xFE" + Utf16(u"Windows Registry Editor Version 5.00\r\n")));

    EXPECT_EQ(RestoreStatus::restored, RestoreAppPathsBackup(deleted.backupFile, ExistingEntry::keep).status);
    EXPECT_EQ(expected, Capture(HKEY_LOCAL_MACHINE, EntryPath(u"tool.exe")));

    // There again: kept unless replacing is asked for; a replaced entry is saved first.
    Plant(HKEY_LOCAL_MACHINE, EntryPath(u"tool.exe"), {u"", {{u"new", REG_DWORD, "\1\0\0\0"s}}, {}});
    EXPECT_EQ(RestoreStatus::exists, RestoreAppPathsBackup(deleted.backupFile, ExistingEntry::keep).status);
    const RestoreResult replaced = RestoreAppPathsBackup(deleted.backupFile, ExistingEntry::replace);
    ASSERT_EQ(RestoreStatus::restored, replaced.status) << replaced.why;
    EXPECT_EQ(expected, Capture(HKEY_LOCAL_MACHINE, EntryPath(u"tool.exe")));
    const RegKey saved = ReadAppPathsBackup(replaced.replacedBackup).tree;
    EXPECT_EQ(expected.values.size() + 1, saved.values.size()); // the entry as it was, "new" too

    // Two backups, the later one first; neither overwrote the other.
    const std::vector<AppPathsBackup> backups = ListAppPathsBackups();
    ASSERT_EQ(2u, backups.size());
    EXPECT_EQ(replaced.replacedBackup, backups[0].file);
    EXPECT_EQ(deleted.backupFile, backups[1].file);
    EXPECT_EQ(u"tool.exe", backups[1].keyName);
    EXPECT_EQ(CommandScope::machine, backups[1].scope);
}

TEST_F(AppPathsBackupTest, TheUsersEntryWithANameOutsideTheCodePageComesBackUnderItsOwnName)
{
    const RegKey entry{u"", {{u"", REG_SZ, Utf16(u"C:\\\u0142\u00f3d\u017a.exe"s + u'\0')}}, {}};
    Plant(HKEY_CURRENT_USER, EntryPath(u"\u0142\u00f3d\u017a.exe"), entry);
    const DeleteResult deleted = DeleteAppPathsEntryWithBackup(CommandScope::user, L"\u0142\u00f3d\u017a.exe");
    ASSERT_TRUE(deleted.deleted) << deleted.why;
    EXPECT_EQ(folder.Backups() + L"\\\u0142\u00f3d\u017a.exe-", deleted.backupFile.substr(0, folder.Backups().size() + 10));

    const AppPathsBackup backup = ReadAppPathsBackup(deleted.backupFile);
    EXPECT_EQ(CommandScope::user, backup.scope);
    EXPECT_EQ(L"\u0142\u00f3d\u017a.exe", backup.shownName);
    EXPECT_EQ(RestoreStatus::restored, RestoreAppPathsBackup(backup, ExistingEntry::keep).status);
    EXPECT_EQ(entry, Capture(HKEY_CURRENT_USER, EntryPath(u"\u0142\u00f3d\u017a.exe")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\\u0142\u00f3d\u017a.exe"));

    // Restore deleted... lists the backups of both scopes, each from its own folder.
    Plant(HKEY_LOCAL_MACHINE, EntryPath(u"tool.exe"), SampleEntry());
    ASSERT_TRUE(DeleteAppPathsEntryWithBackup(CommandScope::machine, L"tool.exe").deleted);
    const std::vector<AppPathsBackup> listed = ListAppPathsBackups();
    ASSERT_EQ(2u, listed.size());
    const AppPathsBackup& machine = listed[0].scope == CommandScope::machine ? listed[0] : listed[1];
    EXPECT_EQ(u"tool.exe", machine.keyName);
    EXPECT_EQ(0u, machine.file.find(folder.MachineBackups()));
    EXPECT_NE(listed[0].scope, listed[1].scope);
}

TEST_F(AppPathsBackupTest, AHostileBackupIsRefusedWithItsReasonAndWritesNothing)
{
    Plant(HKEY_LOCAL_MACHINE, EntryPath(u"a.exe"), {u"", {{u"", REG_SZ, Utf16(u"C:\\a.exe"s + u'\0')}}, {}});
    const RegKey before = Capture(HKEY_LOCAL_MACHINE, u"SOFTWARE");
    CreateDirectoryW((folder.Path() + L"\\LocalAppData").c_str(), nullptr);
    CreateDirectoryW((folder.Path() + L"\\LocalAppData\\Verbosa").c_str(), nullptr);
    CreateDirectoryW(folder.Backups().c_str(), nullptr);
    const std::u16string header = u"Windows Registry Editor Version 5.00\r\n\r\n";
    const std::u16string appPaths = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
    const std::u16string hostile[] = {
        header + u"[HKEY_CURRENT_USER\\Software\\Evil]\r\n\"x\"=\"y\"\r\n",
        header + u"[" + appPaths + u"\\x.exe]\r\n@=\"C:\\\\x.exe\"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Evil]\r\n",
        header + u"[" + appPaths + u"]\r\n\"x\"=\"y\"\r\n",
        header + u"[" + appPaths + u"\\x.exe\\deeper]\r\n\"x\"=\"y\"\r\n",
    };
    for (size_t i = 0; i < std::size(hostile); ++i) {
        const std::wstring file = folder.Backups() + L"\\hostile" + std::to_wstring(i) + L".reg";
        WriteFileBytes(file, "\xFF\xFE" + Utf16(hostile[i]));
        const RestoreResult result = RestoreAppPathsBackup(file, ExistingEntry::replace);
        EXPECT_EQ(RestoreStatus::refused, result.status) << i;
        EXPECT_NE(L"", result.why) << i;
    }
    EXPECT_EQ(before, Capture(HKEY_LOCAL_MACHINE, u"SOFTWARE"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Evil"));
    // Listed all the same, each with why it cannot be restored.
    const std::vector<AppPathsBackup> listed = ListAppPathsBackups();
    ASSERT_EQ(std::size(hostile), listed.size());
    for (const AppPathsBackup& backup : listed)
        EXPECT_NE(L"", backup.problem) << backup.file;
}

TEST_F(AppPathsBackupTest, ARestoreThatFailsHalfwayLeavesNothingBehind)
{
    Plant(HKEY_LOCAL_MACHINE, EntryPath(u"tool.exe"), SampleEntry());
    const DeleteResult deleted = DeleteAppPathsEntryWithBackup(CommandScope::machine, L"tool.exe");
    ASSERT_TRUE(deleted.deleted);
    Services().registryAccess = [](HKEY, const std::wstring& subkey, REGSAM) {
        return subkey.find(L"\\Inner") == std::wstring::npos;
    };
    const RestoreResult result = RestoreAppPathsBackup(deleted.backupFile, ExistingEntry::keep);
    EXPECT_EQ(RestoreStatus::failed, result.status);
    EXPECT_NE(L"", result.why);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tool.exe"));
}
