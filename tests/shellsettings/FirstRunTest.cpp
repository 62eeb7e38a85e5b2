#include "framework/CodePage.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "resources/Texts.h"
#include "shellsettings/FirstRun.h"
#include "shellsettings/ShortcutVerb.h"
#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kSettings = TXT_SETTINGS_KEY;
const std::wstring kStore = kSettings + L"\\FastFolders";

// "Path" as stored: UTF-16 and the terminator, which is part of the stored size.
std::string PathValue()
{
    DWORD type = 0;
    std::string bytes;
    if (!ReadRawValue(HKEY_CURRENT_USER, kStore, L"Path", type, bytes) || type != REG_SZ)
        return "<none>";
    return bytes;
}

TEST(FirstRun, SetUpWritesSettingsStoreAndPathOnlyOnce)
{
    CRegistrySandbox sandbox;
    EXPECT_TRUE(IsFirstRun());
    ASSERT_TRUE(RunFirstTimeSetup(L"C:\\Tools"));
    EXPECT_FALSE(IsFirstRun());
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettings));
    EXPECT_EQ(TextBytes(L"C:\\Tools\\quillon.exe"), PathValue());
    EXPECT_EQ(1u, CountValues(HKEY_CURRENT_USER, kStore));
    EXPECT_TRUE(IsShortcutVerbInstalled());

    // A second start finds the key: no set-up, "Path" as the user left it.
    WriteStringValue(HKEY_CURRENT_USER, kStore, L"Path", L"D:\\Moved\\quillon.exe");
    EXPECT_FALSE(IsFirstRun());
    EXPECT_EQ(TextBytes(L"D:\\Moved\\quillon.exe"), PathValue());
}

TEST(FirstRun, SucceedsWithoutRightsOnTheMachinesFileClassesAndInstallsTheVerbForTheUser)
{
    CRegistrySandbox sandbox;
    CServicesGuard reset;
    Services().registryAccess = [](HKEY root, const std::wstring&, REGSAM) { return root != HKEY_CLASSES_ROOT; };
    ASSERT_TRUE(RunFirstTimeSetup(L"C:\\Program Files\\Verbosa"));
    Services().registryAccess = nullptr;
    EXPECT_EQ(TextBytes(L"C:\\Program Files\\Verbosa\\quillon.exe"), PathValue());
    // The verb went to the user's own file classes instead.
    EXPECT_FALSE(IsShortcutVerbInstalled(VerbScope::machine));
    EXPECT_TRUE(IsShortcutVerbInstalled(VerbScope::user));
}

TEST(FirstRun, WithoutAdministratorRightsTheVerbIsTheUsersOwnFromTheStart)
{
    CRegistrySandbox sandbox;
    CServicesGuard services;
    Services().processElevated = [] { return false; };
    // A Just me install lies in the profile, whose name may be in any script.
    const std::wstring folder = L"C:\\Users\\\u0410\u043D\u043D\u0430 \u540D\\AppData\\Local\\Programs\\Verbosa";
    ASSERT_TRUE(RunFirstTimeSetup(folder));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"*\\Shell\\Create Shortcut Command"));
    EXPECT_TRUE(IsShortcutVerbInstalled(VerbScope::user));
    EXPECT_EQ(TextBytes(folder + L"\\quillon.exe"), PathValue());
    EXPECT_EQ(L"\"" + folder + L"\\quillon.exe\" %1",
              ReadStringValue(HKEY_CURRENT_USER, L"Software\\Classes\\*\\Shell\\Create Shortcut Command\\Command"));
}

TEST(FirstRun, FailuresReportFalseAndUndoLeavesAFirstRun)
{
    CRegistrySandbox sandbox;
    CServicesGuard reset;
    // The settings key itself is refused.
    Services().registryAccess = [](HKEY root, const std::wstring& subkey, REGSAM) {
        return !(root == HKEY_CURRENT_USER && subkey == TXT_SETTINGS_KEY);
    };
    EXPECT_FALSE(RunFirstTimeSetup(L"C:\\Tools"));
    Services().registryAccess = nullptr;
    UndoFirstTimeSetup();
    EXPECT_TRUE(IsFirstRun());

    // The store is refused after the settings key was made: undo removes it.
    Services().registryAccess = [](HKEY, const std::wstring& subkey, REGSAM) {
        return subkey.find(L"FastFolders") == std::wstring::npos;
    };
    EXPECT_FALSE(RunFirstTimeSetup(L"C:\\Tools"));
    Services().registryAccess = nullptr;
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettings));
    UndoFirstTimeSetup();
    EXPECT_TRUE(IsFirstRun());
}

TEST(FirstRun, UndoRemovesStoreBeforeSettingsAndToleratesMissingKeys)
{
    CRegistrySandbox sandbox;
    UndoFirstTimeSetup(); // nothing there: no harm
    ASSERT_TRUE(RunFirstTimeSetup(L"C:\\Tools"));
    UndoFirstTimeSetup();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kStore));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettings));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Kelto")); // one level each
}

} // namespace
