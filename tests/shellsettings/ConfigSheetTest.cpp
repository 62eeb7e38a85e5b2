#include "resources/ConfigurationIds.h"
#include "resources/Texts.h"
#include "framework/Services.h"
#include "shellsettings/ConfigSheet.h"
#include "shellsettings/ExtensionRegistration.h"
#include "shellsettings/ShortcutVerb.h"
#include "tests/shellsettings/SheetDriver.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TextList.h"

#include "framework/RegistryKey.h"
#include "framework/Utf16.h"
#include "contract/StoreContract.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

const std::wstring kHandlerKey = L"Directory\\Background\\shellex\\ContextMenuHandlers\\Tesselator";

class ConfigSheetTest : public ::testing::Test {
protected:
    ConfigSheetTest()
    {
        Services().startProcess = [this](const ProcessStart& run) { started.push_back(run.parameters); };
    }
    void Run(const std::function<void(CConfigPropSheet&)>& drive) { result = RunSheet(drive); }
    // Chooses Enabled or Disabled on the Fast Folders page and presses OK.
    void SwitchExtension(int button)
    {
        Run([&](CConfigPropSheet& sheet) {
            SelectPage(sheet, 1);
            Click(Page(sheet), button);
            Press(sheet, IDOK);
        });
    }

    CServicesGuard services;
    CRegistrySandbox sandbox;
    CTempProgramFolder folder;
    CMessageBoxRecorder boxes;
    std::vector<std::wstring> started;
    INT_PTR result = 0;
};

TEST_F(ConfigSheetTest, PagesShowTheRealStateAndOkWithoutChangesDoesNothing)
{
    ASSERT_TRUE(InstallShortcutVerb(folder.Path()));
    Run([&](CConfigPropSheet& sheet) {
        HWND page = Page(sheet);
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_VERB_ENABLED));
        SelectPage(sheet, 1);
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(Page(sheet), IDC_EXTENSION_DISABLED));
        Press(sheet, IDOK);
        EXPECT_TRUE(sheet.IsClosed());
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(IsShortcutVerbInstalled());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ConfigSheetTest, ButtonsSitOnePlaceRightWithoutHelpAndApplyStartsEnabled)
{
    const RECT moved = MovedOneButtonRight(RECT{29, 5, 104, 28}); // 75 wide: 81 to the right
    EXPECT_EQ(110, moved.left);
    EXPECT_EQ(185, moved.right);
    EXPECT_EQ(5, moved.top);
    EXPECT_EQ(28, moved.bottom);
    Run([&](CConfigPropSheet& sheet) {
        HWND s = sheet.GetSafeHwnd();
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(s, IDC_SHEET_HELP)) && GetDlgItem(s, IDC_SHEET_HELP));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(s, IDC_SHEET_APPLY)));
        RECT ok, cancel, apply;
        GetWindowRect(GetDlgItem(s, IDOK), &ok);
        GetWindowRect(GetDlgItem(s, IDCANCEL), &cancel);
        GetWindowRect(GetDlgItem(s, IDC_SHEET_APPLY), &apply);
        // Each took the place of the one to its right: Apply is rightmost.
        EXPECT_LT(ok.left, cancel.left);
        EXPECT_LT(cancel.left, apply.left);
        EXPECT_EQ(cancel.left - ok.left, apply.left - cancel.left);
    });
}

TEST_F(ConfigSheetTest, OnlyARealChangeIsAppliedAndOnlyOnce)
{
    ASSERT_TRUE(InstallShortcutVerb(folder.Path()));
    Run([&](CConfigPropSheet& sheet) {
        HWND page = Page(sheet);
        Click(page, IDC_VERB_DISABLED);
        Click(page, IDC_VERB_ENABLED); // back where it was: nothing to do
        Press(sheet, IDC_SHEET_APPLY);
        EXPECT_TRUE(IsShortcutVerbInstalled());

        Click(page, IDC_VERB_DISABLED);
        Press(sheet, IDC_SHEET_APPLY);
        EXPECT_FALSE(IsShortcutVerbInstalled());
        ASSERT_TRUE(InstallShortcutVerb(folder.Path())); // someone else puts it back
        Press(sheet, IDC_SHEET_APPLY);                    // a second Apply does nothing
        EXPECT_TRUE(IsShortcutVerbInstalled());
        Press(sheet, IDCANCEL);                           // and Cancel keeps what Apply did
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(started.empty()); // the extension page was never shown
}

TEST_F(ConfigSheetTest, SwitchingTheExtensionStartsTheTwoRegistrationRuns)
{
    SwitchExtension(IDC_EXTENSION_ENABLED);
    ASSERT_EQ(2u, started.size());
    EXPECT_EQ(L"/s \"" + folder.Path() + L"\\Tesselator.dll\"", started[0]);
    EXPECT_EQ(L"/s \"" + folder.Path() + L"\\Tessel~1.dll\"", started[1]);

    started.clear();
    CreateKey(HKEY_CLASSES_ROOT, kHandlerKey);
    Run([&](CConfigPropSheet& sheet) {
        SelectPage(sheet, 1);
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(Page(sheet), IDC_EXTENSION_ENABLED));
        Click(Page(sheet), IDC_EXTENSION_DISABLED);
        Press(sheet, IDC_SHEET_APPLY);
        Press(sheet, IDOK);
    });
    ASSERT_EQ(2u, started.size());
    EXPECT_EQ(L"/u /s \"" + folder.Path() + L"\\Tesselator.dll\"", started[0]);
}

TEST_F(ConfigSheetTest, BlanksInTheProgramFolderStayInsideTheQuotes)
{
    CTempProgramFolder spaced(true, L" Program Files");
    SwitchExtension(IDC_EXTENSION_ENABLED);
    EXPECT_EQ((std::vector<std::wstring>{L"/s \"" + spaced.Path() + L"\\Tesselator.dll\"",
                                        L"/s \"" + spaced.Path() + L"\\Tessel~1.dll\""}),
              started);
}

TEST_F(ConfigSheetTest, AVerbThatCannotBeInstalledIsReportedAndCountsAsDone)
{
    Services().registryAccess = [](HKEY root, const std::wstring&, REGSAM) { return root != HKEY_CLASSES_ROOT; };
    Run([&](CConfigPropSheet& sheet) {
        HWND page = Page(sheet);
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_VERB_DISABLED));
        Click(page, IDC_VERB_ENABLED);
        Press(sheet, IDC_SHEET_APPLY);
        Press(sheet, IDC_SHEET_APPLY);
        Press(sheet, IDOK);
    });
    Services().registryAccess = nullptr;
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(L"Couldn\xB4t access the registry, make sure you have administrator rights!", boxes.Boxes()[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), boxes.Boxes()[0].type);
}

TEST_F(ConfigSheetTest, WithoutAdministratorRightsTheVerbIsTheUsersOwn)
{
    Services().processElevated = [] { return false; };
    Run([&](CConfigPropSheet& sheet) {
        Click(Page(sheet), IDC_VERB_ENABLED);
        Press(sheet, IDOK);
    });
    EXPECT_TRUE(IsShortcutVerbInstalled(VerbScope::user));
    EXPECT_FALSE(IsShortcutVerbInstalled(VerbScope::machine));
    Run([&](CConfigPropSheet& sheet) {
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(Page(sheet), IDC_VERB_ENABLED)); // the user's counts
        Click(Page(sheet), IDC_VERB_DISABLED);
        Press(sheet, IDOK);
    });
    EXPECT_FALSE(IsShortcutVerbInstalled(VerbScope::user));
    EXPECT_TRUE(boxes.Boxes().empty());

    // The extension, likewise, is registered for the user alone.
    SwitchExtension(IDC_EXTENSION_ENABLED);
    ASSERT_EQ(2u, started.size());
    EXPECT_EQ(L"/n /i:user /s \"" + folder.Path() + L"\\Tesselator.dll\"", started[0]);
    // A machine-wide registration cannot be switched off without the rights: said so.
    started.clear();
    CreateKey(HKEY_CLASSES_ROOT, kHandlerKey);
    SwitchExtension(IDC_EXTENSION_DISABLED);
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(Texts{TXT_NEEDS_ADMIN_BEFORE + std::wstring(TXT_ACTION_REMOVE_MACHINE_EXTENSION) + TXT_NEEDS_ADMIN_AFTER},
              Texts(boxes.Texts()));
}

TEST_F(ConfigSheetTest, ShowFoldersOpenInExplorerIsStoredBesideTheFastFolders)
{
    const std::wstring store = AsciiToWide(contract::kFastFolderKey);
    const auto stored = [&] {
        DWORD value = 7, size = sizeof value;
        const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, store.c_str(), L"ShowOpenFolders", RRF_RT_REG_DWORD,
                                            nullptr, &value, &size);
        return status == ERROR_SUCCESS ? static_cast<int>(value) : -1;
    };
    CreateKey(HKEY_CURRENT_USER, store);
    bool shownAtFirst = false, shownAgain = true;
    Run([&](CConfigPropSheet& sheet) {
        SelectPage(sheet, 1);
        shownAtFirst = IsDlgButtonChecked(Page(sheet), IDC_SHOW_OPEN_FOLDERS) == BST_CHECKED;
        Click(Page(sheet), IDC_SHOW_OPEN_FOLDERS);
        Press(sheet, IDC_SHEET_APPLY);
        EXPECT_EQ(0, stored());
        Press(sheet, IDOK);
    });
    EXPECT_TRUE(shownAtFirst) << "on by default";
    Run([&](CConfigPropSheet& sheet) {
        SelectPage(sheet, 1);
        shownAgain = IsDlgButtonChecked(Page(sheet), IDC_SHOW_OPEN_FOLDERS) == BST_CHECKED;
        Click(Page(sheet), IDC_SHOW_OPEN_FOLDERS);
        Press(sheet, IDOK);
    });
    EXPECT_FALSE(shownAgain);
    EXPECT_EQ(1, stored());
    EXPECT_TRUE(started.empty()) << "the extension's registration is untouched";

    // Without the store's key (no first run yet) nothing is created and the
    // user is told.
    RegDeleteTreeW(HKEY_CURRENT_USER, store.c_str());
    Run([&](CConfigPropSheet& sheet) {
        SelectPage(sheet, 1);
        Click(Page(sheet), IDC_SHOW_OPEN_FOLDERS);
        Press(sheet, IDOK);
    });
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegGetValueW(HKEY_CURRENT_USER, store.c_str(), nullptr, RRF_RT_ANY, nullptr,
                                                  nullptr, nullptr));
    EXPECT_EQ((Texts{TXT_OPEN_FOLDERS_NOT_SAVED}), boxes.Texts());
}

} // namespace
