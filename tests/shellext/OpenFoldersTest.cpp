// "Folders open in Explorer" for real: a stand-in for the shell's window list
// (Wine's own answers "not implemented") registered in this process serves
// the real Open dialog's browser, browsers showing other folders, and windows
// that fail, hang or answer with the wrong interface.
#include "tests/shellext/OpenDialogDriver.h"
#include "tests/shellext/ShellExtFixture.h"
#include "tests/shellext/ShellWindowsDouble.h"

namespace {

class OpenFoldersTest : public ShellExtTest {};

// With one alias: Docs 0, Settings 1, the placeholder 2, the open folders
// from 3.
constexpr int kFirstOpenFolder = 3;

TEST_F(OpenFoldersTest, ListsTheFoldersOfExplorersWindowsAndGoesThere)
{
    ExitOnCrash();
    CTempProgramFolder target(false, L"-open"), other(false, L"-other");
    WriteStore({L"Docs"}, {L"C:\\windows"});

    CShellWindowsDouble list;
    const CRegisteredShellWindows registration(list);
    ASSERT_TRUE(registration.Registered());
    const CWindowHandle frame(CreatePlainWindow());
    PIDLIST_ABSOLUTE computer = nullptr;
    ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer));
    std::wstring shouting = target.Path();
    CharUpperW(shouting.data());
    CFolderBrowser targetBrowser(FolderPidl(target.Path()), frame.Get()), otherBrowser(FolderPidl(other.Path()), nullptr),
        computerBrowser(computer, nullptr), shoutingBrowser(FolderPidl(shouting), nullptr);
    CExplorerWindow failing(CExplorerWindow::Answer::Fails), wrong(CExplorerWindow::Answer::WrongInterface),
        hanging(CExplorerWindow::Answer::Hangs), dialogWindow(CExplorerWindow::Answer::Browser),
        targetWindow(CExplorerWindow::Answer::Browser, &targetBrowser),
        otherWindow(CExplorerWindow::Answer::Browser, &otherBrowser),
        computerWindow(CExplorerWindow::Answer::Browser, &computerBrowser),
        shoutingWindow(CExplorerWindow::Answer::Browser, &shoutingBrowser);

    CInterfacePtr<IContextMenu3> handler;
    CreateHandler(handler, IID_IContextMenu3);
    HMENU nested = nullptr;
    std::vector<std::wstring> before, listed, afterAgain;
    DWORD fillMs = 0;
    HRESULT choice = E_FAIL;
    CMenuHandle menu;
    const size_t done = DriveOpenDialog(WindowsFolder(), {
        [&](HWND dialog) {
            // The dialog is one of Explorer's windows, showing the menu's own
            // folder; the hanging window comes last, so all else arrives.
            dialogWindow.Serve(reinterpret_cast<IShellBrowser*>(SendMessageW(dialog, kGetShellBrowser, 0, 0)));
            list.windows = {&otherWindow, nullptr,         &failing,        &dialogWindow, &wrong,
                            &targetWindow, &computerWindow, &shoutingWindow, &hanging};
            SetActiveWindow(dialog);
            HRESULT result = E_FAIL;
            menu.Reset(BuildMenu(handler.Get(), result, 0, 100));
            ASSERT_EQ(MenuIds(1), HRESULT_CODE(result));
            const HMENU popup = MenuItemAt(menu.Get(), 1, MIIM_SUBMENU).hSubMenu;
            nested = MenuItemAt(popup, 2, MIIM_SUBMENU).hSubMenu;
            before = MenuTexts(nested);

            const DWORD start = GetTickCount();
            LRESULT answer = 1;
            EXPECT_EQ(S_OK, handler->HandleMenuMsg2(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(nested), 2, &answer));
            fillMs = GetTickCount() - start;
            EXPECT_EQ(0, answer);
            listed = MenuTexts(nested);
            // Opened again: filled once, not asked again.
            handler->HandleMenuMsg(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(nested), 2);
            afterAgain = MenuTexts(nested);
            choice = InvokeVerb(handler.Get(), kFirstOpenFolder);
        },
        [&](HWND dialog) { EXPECT_EQ(Lower(target.Path()), Lower(FolderOf(dialog))); },
    });
    ASSERT_EQ(2u, done);
    EXPECT_EQ(std::vector<std::wstring>{L"(no folders open in Explorer)"}, before);
    // The front-most known window first; no duplicate, no virtual folder, not
    // the menu's own; the broken windows are skipped.
    EXPECT_EQ((std::vector<std::wstring>{target.Path(), other.Path()}), listed);
    EXPECT_EQ(listed, afterAgain);
    EXPECT_LT(fillMs, 2000u) << "the hanging window held the menu";
    EXPECT_EQ(S_OK, choice);
    EXPECT_EQ(100u + kFirstOpenFolder + 1, GetMenuItemID(nested, 1));
    EXPECT_EQ(E_INVALIDARG, InvokeVerb(handler.Get(), kFirstOpenFolder + 2)) << "a folder never listed";

    // The worker still waits on the hanging window: the library stays.
    handler.Reset();
    menu.Reset();
    EXPECT_EQ(S_FALSE, Tesselator().canUnloadNow());
    hanging.Answer_();
    HRESULT unload = S_FALSE;
    for (int i = 0; i < 100 && unload != S_OK; ++i, Sleep(50))
        unload = Tesselator().canUnloadNow();
    EXPECT_EQ(S_OK, unload);
}

TEST_F(OpenFoldersTest, NoWindowListOrNoFoldersShowsTheGreyEntry)
{
    // Wine's own list answers "not implemented": as unreachable as Explorer
    // is for an elevated program.
    CInterfacePtr<IContextMenu3> handler;
    CreateHandler(handler, IID_IContextMenu3);
    HRESULT result = E_FAIL;
    const CMenuHandle menu(BuildMenu(handler.Get(), result, 0, 100));
    ASSERT_EQ(MenuIds(0), HRESULT_CODE(result));
    const HMENU nested = MenuItemAt(MenuItemAt(menu.Get(), 1, MIIM_SUBMENU).hSubMenu, 0, MIIM_SUBMENU).hSubMenu;
    ASSERT_TRUE(nested);
    // Another popup (no placeholder) is left alone.
    const CMenuHandle foreign(CreatePopupMenu());
    AppendMenuW(foreign.Get(), MF_STRING, 150, L"Other");
    EXPECT_EQ(S_OK, handler->HandleMenuMsg(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(foreign.Get()), 0));
    EXPECT_EQ(std::vector<std::wstring>{L"Other"}, MenuTexts(foreign.Get()));

    EXPECT_EQ(S_OK, handler->HandleMenuMsg(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(nested), 0));
    ASSERT_EQ(1, GetMenuItemCount(nested));
    EXPECT_EQ(L"(no folders open in Explorer)", MenuTextAt(nested, 0));
    EXPECT_TRUE(MenuItemAt(nested, 0, MIIM_STATE).fState & MFS_GRAYED);
    EXPECT_NE(101u, GetMenuItemID(nested, 0)) << "the placeholder is gone";
    EXPECT_EQ(E_INVALIDARG, InvokeVerb(handler.Get(), 2));
    LRESULT answer = 1;
    EXPECT_EQ(E_NOTIMPL, handler->HandleMenuMsg2(WM_MENUCHAR, 0, 0, &answer));
    EXPECT_EQ(0, answer);
}

} // namespace
