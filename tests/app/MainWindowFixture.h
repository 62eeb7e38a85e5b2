#pragma once
// The main window made from its real template, hidden, in a scratch
// program folder and registry, with boxes, help and shell requests recorded.
#include "services/HtmlHelp.h"
#include "app/MainDlg.h"
#include "services/ShellOpen.h"
#include "framework/CodePage.h"
#include "framework/Services.h"
#include "framework/WinApp.h"
#include "resources/MainWindowIds.h"
#include "tests/support/CommandFilesPaths.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TextList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
    {
        // Dialogs a test opens without driving them are recorded and
        // cancelled, so none of them waits for a user who is not there.
        Services().modalDialog = [this](CDialog& dialog) { modals.push_back(dialog.GetTemplateId()); };
        Services().htmlHelp = [this](const HtmlHelpRequest& r) {
            help.push_back(r);
            return static_cast<HWND>(nullptr);
        };
        Services().shellOpen = [this](const ShellRequest& r) {
            shell.push_back(r);
            return true;
        };
    }
    ~MainWindowTest() override { window.reset(); }

    // Writes a properties file: the lines as given (bytes), each ended by CR LF.
    void WriteCommandFile(const std::wstring& name, const std::vector<std::string>& lines)
    {
        WriteFileBytes(CommandPropertiesFile(folder.Cmds(), name), PropertiesBytes(lines));
    }

    CMainDlg& Open(const std::wstring& commandLine = L"")
    {
        app.SetCommandLine(commandLine);
        window = std::make_unique<CMainDlg>();
        EXPECT_TRUE(window->Create(nullptr, true));
        return *window;
    }

    HWND Hwnd() const { return window->GetSafeHwnd(); }
    void Command(int id) const { SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    LRESULT Notify(int id, UINT code) const
    {
        NMHDR header{GetDlgItem(Hwnd(), id), static_cast<UINT_PTR>(id), code};
        return SendMessageW(Hwnd(), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
    }
    bool Shown(int id) const { return (GetWindowLongPtrW(GetDlgItem(Hwnd(), id), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(Hwnd(), id)) != FALSE; }
    std::wstring Pane(int part) const { return window->StatusBar().GetPaneText(part); }
    Texts Column(int column) const { return ColumnTexts(window->CommandsPage().List(), column); }
    // The program selects no tree item; the tree itself may put its caret
    // on the first root, which changes no page.
    void ExpectNoPageChosen() const
    {
        HTREEITEM selected = window->Tree().GetSelectedItem();
        if (selected) {
            EXPECT_EQ(L"Commands", window->Tree().GetItemText(selected));
        }
    }

    // Selects the tree item with this text as a user's click would.
    void SelectTreeItem(const std::wstring& text) const
    {
        const CTreeCtrl& tree = window->Tree();
        for (HTREEITEM root = tree.GetRootItem(); root; root = tree.GetNextItem(root, TVGN_NEXT)) {
            if (tree.GetItemText(root) == text) {
                tree.SelectItem(root);
                return;
            }
            for (HTREEITEM child = tree.GetNextItem(root, TVGN_CHILD); child;
                 child = tree.GetNextItem(child, TVGN_NEXT)) {
                if (tree.GetItemText(child) == text) {
                    tree.SelectItem(child);
                    return;
                }
            }
        }
        ADD_FAILURE() << L"no tree item " << text;
    }

    CServicesGuard services; // first made, last gone: every stand-in goes with it
    CRegistrySandbox sandbox;
    CTempProgramFolder folder;
    CMessageBoxRecorder boxes;
    std::vector<UINT> modals;
    CWinApp app;
    std::vector<HtmlHelpRequest> help;
    std::vector<ShellRequest> shell;
    std::unique_ptr<CMainDlg> window;
};
