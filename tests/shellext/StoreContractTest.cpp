// The program and the library meet only in the store: what the program
// writes through its own store code is what the library's menu shows.
#include "tests/shellext/ShellExtFixture.h"

#include "fastfolders/FastFolderStore.h"
#include "shellsettings/FirstRun.h"

#include <algorithm>

namespace {

class StoreContractTest : public ShellExtTest {};

TEST_F(StoreContractTest, TheLibraryShowsWhatTheProgramStored)
{
    // The program's first run makes the store, then items are added,
    // edited and removed as the Fast Folders page does; an alias outside the
    // code page (a surrogate pair among it) shows as written.
    RegDeleteTreeW(HKEY_CURRENT_USER, AsciiToWide(contract::kSettingsKey).c_str());
    ASSERT_TRUE(RunFirstTimeSetup(L"C:\\Program Files\\Verbosa"));
    int blocked = -1;
    for (int i = 0; i < contract::kFastFolderLimit; ++i)
        ASSERT_EQ(FastFolderWrite::done, AddFastFolder(L"Alias " + std::to_wstring(i), L"C:\\windows", blocked));
    EXPECT_EQ(FastFolderWrite::full, AddFastFolder(L"Eleventh", L"C:\\windows", blocked));
    const std::wstring edited = L"\u0141\u00F3d\u017A \u6587\u6863 \U0001F4F7";
    ASSERT_EQ(FastFolderWrite::done, ReplaceFastFolder(2, edited, L"C:\\windows\\system32", blocked));
    ASSERT_TRUE(RemoveFastFolderItem(0));

    std::wstring aliases[contract::kFastFolderLimit];
    std::wstring paths[contract::kFastFolderLimit];
    const int count = ReadFastFolders(contract::kFastFolderLimit, aliases, paths);
    ASSERT_EQ(contract::kFastFolderLimit - 1, count);
    EXPECT_EQ(1, std::count(aliases, aliases + count, edited));
    std::vector<std::wstring> expected(aliases, aliases + count);
    expected.insert(expected.end(), {L"", L"Folders open in Explorer", L"", L"Settings..."});

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
