// Start-up of the main window: the first-run set-up and its rollback.
#include "framework/CodePage.h"
#include "tests/app/MainWindowFixture.h"

#include "contract/StoreContract.h"
#include "fastfolders/FastFolderStore.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "framework/Utf16.h"
#include "resources/Texts.h"
#include "shellsettings/ShortcutVerb.h"

namespace {

TEST_F(MainWindowTest, AFirstStartSetsUpTheStoreAndTheVerbOnce)
{
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, TXT_SETTINGS_KEY));
    Open();
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, AsciiToWide(contract::kFastFolderKey), L"Path", type, bytes));
    EXPECT_EQ(TextBytes(folder.Path() + L"\\quillon.exe"), bytes);
    EXPECT_TRUE(IsShortcutVerbInstalled());
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_FALSE(window->IsEnded());

    // A later start finds the settings and changes nothing.
    RemoveShortcutVerb();
    Open();
    EXPECT_FALSE(IsShortcutVerbInstalled());
    EXPECT_FALSE(window->IsEnded());
}

TEST_F(MainWindowTest, AFailedFirstStartIsRolledBackReportedAndEndsTheProgram)
{
    Services().registryAccess = [](HKEY, const std::wstring& subkey, REGSAM) {
        return subkey != AsciiToWide(contract::kFastFolderKey);
    };
    Open();
    Services().registryAccess = nullptr;
    ASSERT_EQ(Texts{TXT_NO_REGISTRY_ACCESS}, boxes.Texts());
    EXPECT_EQ(TXT_OWN_CAPTION, boxes.Boxes()[0].caption);
    EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), boxes.Boxes()[0].type);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, TXT_SETTINGS_KEY)); // the next start tries again
    EXPECT_TRUE(window->IsEnded());
    EXPECT_FALSE(IsWindowVisible(Hwnd()));
}

} // namespace
