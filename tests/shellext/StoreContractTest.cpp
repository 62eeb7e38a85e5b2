// The program and the library meet only in the store: what the program
// writes through its own store code is what the library's menu shows.
#include "tests/shellext/ShellExtFixture.h"

#include "fastfolders/FastFolderStore.h"
#include "shellsettings/FirstRun.h"

namespace {

std::vector<std::string> MenuTexts(HMENU popup)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        char text[300] = {};
        GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

class StoreContractTest : public ShellExtTest {};

TEST_F(StoreContractTest, TheLibraryShowsWhatTheProgramStored)
{
    // The program's first run makes the store, then items are added,
    // edited and removed as the Fast Folders page does.
    RegDeleteTreeA(HKEY_CURRENT_USER, contract::kSettingsKey);
    ASSERT_TRUE(RunFirstTimeSetup("C:\\Program Files\\Verbosa"));
    int blocked = -1;
    for (int i = 0; i < contract::kFastFolderLimit; ++i)
        ASSERT_EQ(FastFolderWrite::done, AddFastFolder("Alias " + std::to_string(i), "C:\\windows", blocked));
    EXPECT_EQ(FastFolderWrite::full, AddFastFolder("Eleventh", "C:\\windows", blocked));
    ASSERT_EQ(FastFolderWrite::done, ReplaceFastFolder(2, "Edited", "C:\\windows\\system32", blocked));
    ASSERT_TRUE(RemoveFastFolderItem(0));

    std::string aliases[contract::kFastFolderLimit];
    std::string paths[contract::kFastFolderLimit];
    const int count = ReadFastFolders(contract::kFastFolderLimit, aliases, paths);
    ASSERT_EQ(contract::kFastFolderLimit - 1, count);
    std::vector<std::string> expected(aliases, aliases + count);
    expected.insert(expected.end(), {"", "Settings..."});

    CInterfacePtr<IContextMenu> handler;
    CreateHandler(handler, IID_IContextMenu);
    HRESULT result = E_FAIL;
    const HMENU menu = BuildMenu(handler.Get(), result);
    ASSERT_TRUE(menu);
    const HMENU popup = MenuItemAt(menu, 1, MIIM_SUBMENU).hSubMenu;
    ASSERT_TRUE(popup);
    EXPECT_EQ(expected, MenuTexts(popup));
    DestroyMenu(menu);
}

} // namespace
