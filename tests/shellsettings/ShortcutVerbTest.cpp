#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "shellsettings/ShortcutVerb.h"
#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kFiles = L"*\\Shell\\Create Shortcut Command";
const std::wstring kFolders = L"Folder\\Shell\\Create Shortcut Command";

// The default value's bytes: UTF-16 and the terminator, which is part of the stored size.
std::string Value(const std::wstring& key)
{
    DWORD type = 0;
    std::string bytes;
    if (!ReadRawValue(HKEY_CLASSES_ROOT, key, L"", type, bytes) || type != REG_SZ)
        return "<none>";
    return bytes;
}

TEST(ShortcutVerb, InstallWritesFourKeysWithAQuotedProgramPath)
{
    CRegistrySandbox sandbox;
    ASSERT_TRUE(InstallShortcutVerb(L"C:\\Program Files\\Verbosa"));
    const std::string line = TextBytes(L"\"C:\\Program Files\\Verbosa\\quillon.exe\" %1");
    EXPECT_EQ(line, Value(kFiles + L"\\Command"));
    EXPECT_EQ(line, Value(kFolders + L"\\Command"));
    EXPECT_EQ(TextBytes(L"Create Shortcut Command"), Value(kFiles));
    EXPECT_EQ(TextBytes(L"Create Shortcut Command"), Value(kFolders));
    EXPECT_TRUE(IsShortcutVerbInstalled());

    // Installing again over it takes the new folder.
    ASSERT_TRUE(InstallShortcutVerb(L"C:\\Tools"));
    EXPECT_EQ(TextBytes(L"\"C:\\Tools\\quillon.exe\" %1"), Value(kFiles + L"\\Command"));
}

TEST(ShortcutVerb, TheUsersOwnVerbLivesInItsClassesAndIsRemovedFromThere)
{
    CRegistrySandbox sandbox;
    ASSERT_TRUE(InstallShortcutVerb(L"C:\\Users\\ann\\Verbosa", VerbScope::user));
    EXPECT_EQ(L"\"C:\\Users\\ann\\Verbosa\\quillon.exe\" %1",
              ReadStringValue(HKEY_CURRENT_USER, L"Software\\Classes\\" + kFiles + L"\\Command"));
    EXPECT_EQ(L"Create Shortcut Command", ReadStringValue(HKEY_CURRENT_USER, L"Software\\Classes\\" + kFolders));
    EXPECT_TRUE(IsShortcutVerbInstalled(VerbScope::user));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kFiles)); // the machine's classes untouched
    EXPECT_TRUE(RemoveShortcutVerb(VerbScope::user));
    EXPECT_FALSE(IsShortcutVerbInstalled(VerbScope::user));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Classes\\Folder\\Shell"));
}

TEST(ShortcutVerb, RemoveDeletesCommandKeysFirstAndReportsWhatIsMissing)
{
    CRegistrySandbox sandbox;
    EXPECT_FALSE(RemoveShortcutVerb()); // nothing installed
    ASSERT_TRUE(InstallShortcutVerb(L"C:\\Tools"));
    EXPECT_TRUE(RemoveShortcutVerb());
    EXPECT_FALSE(IsShortcutVerbInstalled());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kFolders));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"Folder\\Shell")); // only its own keys go

    // Only the folders' keys: not installed, and removal still tries all.
    CreateKey(HKEY_CLASSES_ROOT, kFolders + L"\\Command");
    EXPECT_FALSE(IsShortcutVerbInstalled());
    EXPECT_FALSE(RemoveShortcutVerb());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kFolders));
}

TEST(ShortcutVerb, ResultFollowsTheCommandLineWrites)
{
    CServicesGuard services;
    CRegistrySandbox sandbox;
    // No rights on the machine's file classes: nothing is written.
    Services().registryAccess = [](HKEY root, const std::wstring&, REGSAM) { return root != HKEY_CLASSES_ROOT; };
    EXPECT_FALSE(InstallShortcutVerb(L"C:\\Tools"));
    Services().registryAccess = nullptr;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kFiles));

    // A folders' Command key that cannot be created does not fail the install.
    Services().registryAccess = [](HKEY, const std::wstring& subkey, REGSAM) {
        return subkey.rfind(L"Folder\\", 0) != 0;
    };
    EXPECT_TRUE(InstallShortcutVerb(L"C:\\Tools"));
    Services().registryAccess = nullptr;
    EXPECT_TRUE(IsShortcutVerbInstalled());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kFolders));
}

} // namespace
