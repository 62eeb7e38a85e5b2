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

std::wstring PathValue()
{
    DWORD type = 0;
    std::wstring bytes;
    if (!ReadRawValue(HKEY_CURRENT_USER, kStore, L"Path", type, bytes) || type != REG_SZ)
        return L"<none>";
    return bytes;
}

TEST(FirstRun, SetUpWritesSettingsStoreAndPathOnlyOnce)
{
    CRegistrySandbox sandbox;
    EXPECT_TRUE(IsFirstRun());
    ASSERT_TRUE(RunFirstTimeSetup(L"C:\\Tools"));
    EXPECT_FALSE(IsFirstRun());
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettings));
    // The terminating zero is part of the stored size.
    EXPECT_EQ(std::wstring(L"C:\\Tools\\quillon.exe") + '\0', PathValue());
    EXPECT_EQ(1u, CountValues(HKEY_CURRENT_USER, kStore));
    EXPECT_TRUE(IsShortcutVerbInstalled());

    // A second start finds the key: no set-up, "Path" as the user left it.
    WriteStringValue(HKEY_CURRENT_USER, kStore, L"Path", std::wstring(L"D:\\Moved\\quillon.exe"));
    EXPECT_FALSE(IsFirstRun());
    EXPECT_EQ(std::wstring(L"D:\\Moved\\quillon.exe") + '\0', PathValue());
}

TEST(FirstRun, SucceedsWithoutRightsOnTheMachinesFileClassesAndInstallsTheVerbForTheUser)
{
    CRegistrySandbox sandbox;
    CServicesGuard reset;
    Services().registryAccess = [](HKEY root, const std::wstring&, REGSAM) { return root != HKEY_CLASSES_ROOT; };
    ASSERT_TRUE(RunFirstTimeSetup(L"C:\\Program Files\\Verbosa"));
    Services().registryAccess = nullptr;
    EXPECT_EQ(std::wstring(L"C:\\Program Files\\Verbosa\\quillon.exe") + '\0', PathValue());
    // The verb went to the user's own file classes instead.
    EXPECT_FALSE(IsShortcutVerbInstalled(VerbScope::machine));
    EXPECT_TRUE(IsShortcutVerbInstalled(VerbScope::user));
}

TEST(FirstRun, WithoutAdministratorRightsTheVerbIsTheUsersOwnFromTheStart)
{
    CRegistrySandbox sandbox;
    CServicesGuard services;
    Services().processElevated = [] { return false; };
    ASSERT_TRUE(RunFirstTimeSetup(L"C:\\Users\\ann\\AppData\\Local\\Programs\\Verbosa"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"*\\Shell\\Create Shortcut Command"));
    EXPECT_TRUE(IsShortcutVerbInstalled(VerbScope::user));
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
