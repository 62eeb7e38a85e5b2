#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/ExceptionReport.h"
#include "framework/FileError.h"
#include "framework/Handles.h"
#include "framework/Services.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr UINT kTemplate = 9001;

class CBaseDlg : public CDialog {
public:
    explicit CBaseDlg(HWND parent = nullptr) : CDialog(kTemplate, parent) {}
    std::vector<std::wstring> calls;

    DECLARE_ROUTES()
    void OnGo() { calls.push_back(L"base go"); }
    void OnAfter() { calls.push_back(L"base after"); }
};

BEGIN_ROUTES(CBaseDlg, CDialog)
    ON_COMMAND(1001, OnGo)
    ON_COMMAND(1013, OnAfter)
END_ROUTES()

class CRoutingDlg : public CBaseDlg {
public:
    using CBaseDlg::CBaseDlg;
    bool createdBeforeInit = false;
    bool initialised = false;
    int radio = 1;
    bool afterThrow = false;
    bool endInInit = false;

    BOOL OnInitDialog() override
    {
        initialised = true;
        CBaseDlg::OnInitDialog();
        if (endInInit)
            EndDialog(7);
        return TRUE;
    }
    void DoDataExchange(bool save) override { DDX_Radio(save, m_hWnd, 1010, radio); }

    DECLARE_ROUTES()
    // Overrides the base's route for the same id: the derived table wins.
    void OnGo() { calls.push_back(L"derived go"); }
    void OnRange(UINT id) { calls.push_back(L"range " + std::to_wstring(id)); }
    void OnEditFocus() { calls.push_back(L"edit focus"); }
    void OnComboCommand() { calls.push_back(L"combo as command"); }
    void OnListClick(NMHDR* header, LRESULT* result)
    {
        calls.push_back(L"notify " + std::to_wstring(header->idFrom));
        *result = 5;
    }
    BOOL OnTimerMessage(WPARAM wParam, LPARAM, LRESULT& result)
    {
        calls.push_back(L"message " + std::to_wstring(wParam));
        result = 0;
        return TRUE;
    }
    HICON OnQueryDragIcon() { return reinterpret_cast<HICON>(static_cast<INT_PTR>(1234)); }
    void OnCreate() { createdBeforeInit = !initialised; }
    void OnSize(UINT state, int width, int height)
    {
        calls.push_back(L"size " + std::to_wstring(state) + L" " + std::to_wstring(width) + L"x" + std::to_wstring(height));
    }
    void OnMenuSelect(const MenuSelection& s)
    {
        calls.push_back(s.IsCommandItem() ? L"menu item " + std::to_wstring(s.item) : L"menu none");
    }
    void OnWindowPosChanging(WINDOWPOS& pos) { pos.flags |= SWP_NOZORDER; }
    void OnOutOfMemory() { throw std::bad_alloc(); }
    void OnLogicError() { throw std::logic_error("x"); }
    void OnThrow()
    {
        throw CFileError(CFileError::sharingViolation, L"C:\\x\\run_a.cfg");
        afterThrow = true; // never reached: the handler ends at the error
    }
};

BEGIN_ROUTES(CRoutingDlg, CBaseDlg)
    ON_WM_CREATE(OnCreate)
    ON_WM_SIZE(OnSize)
    ON_WM_MENUSELECT(OnMenuSelect)
    ON_WM_WINDOWPOSCHANGING(OnWindowPosChanging)
    ON_COMMAND(1001, OnGo)
    ON_COMMAND_RANGE(1500, 1510, OnRange)
    ON_COMMAND(1600, OnThrow)
    ON_COMMAND(1601, OnOutOfMemory)
    ON_COMMAND(1602, OnLogicError)
    ON_COMMAND(1030, OnComboCommand)
    ON_CONTROL(EN_SETFOCUS, 1002, OnEditFocus)
    ON_NOTIFY(NM_CLICK, 1020, OnListClick)
    ON_MESSAGE(WM_TIMER, OnTimerMessage)
    ON_WM_QUERYDRAGICON(OnQueryDragIcon)
END_ROUTES()

LRESULT Command(HWND dialog, int id, int code = 0, HWND from = nullptr)
{
    return SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(from));
}

TEST(DialogRouting, CommandsControlsNotificationsAndMessagesReachTheirHandlers)
{
    CRoutingDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND hwnd = dlg.GetSafeHwnd();
    EXPECT_TRUE(dlg.createdBeforeInit);
    EXPECT_TRUE(dlg.initialised);

    // A button click: the derived table's entry wins over the base's.
    Command(hwnd, 1001, BN_CLICKED, dlg.GetDlgItem(1001));
    // An id only the base routes still reaches the base's handler.
    Command(hwnd, 1013, BN_CLICKED, dlg.GetDlgItem(1013));
    // Menu commands in a range, and an accelerator (code 1, no control).
    Command(hwnd, 1505);
    Command(hwnd, 1510, 1);
    Command(hwnd, 1511); // outside the range: nobody
    // A selection change (code 1) from a control is not a command.
    Command(hwnd, 1030, CBN_SELCHANGE, dlg.GetDlgItem(1030));
    // A real focus change sends EN_SETFOCUS from the edit control.
    SetFocus(dlg.GetDlgItem(1002));

    NMHDR header{dlg.GetDlgItem(1020), 1020, static_cast<UINT>(NM_CLICK)};
    // The handler's result is what the sender gets back.
    EXPECT_EQ(5, SendMessageW(hwnd, WM_NOTIFY, 1020, reinterpret_cast<LPARAM>(&header)));
    NMHDR other{dlg.GetDlgItem(1020), 1020, static_cast<UINT>(NM_DBLCLK)};
    SendMessageW(hwnd, WM_NOTIFY, 1020, reinterpret_cast<LPARAM>(&other)); // unrouted code
    SendMessageW(hwnd, WM_TIMER, 77, 0);
    // Messages whose result the dialog procedure returns itself.
    EXPECT_EQ(1234, SendMessageW(hwnd, WM_QUERYDRAGICON, 0, 0));

    // Typed routes decode their parameters once.
    SendMessageW(hwnd, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(300, 200));
    CMenuHandle menu(CreatePopupMenu());
    SendMessageW(hwnd, WM_MENUSELECT, MAKEWPARAM(1505, MF_HILITE), reinterpret_cast<LPARAM>(menu.Get()));
    SendMessageW(hwnd, WM_MENUSELECT, MAKEWPARAM(2, MF_POPUP | MF_HILITE), reinterpret_cast<LPARAM>(menu.Get()));
    SendMessageW(hwnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0); // the menu closed
    WINDOWPOS pos{};
    SendMessageW(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    EXPECT_EQ(UINT(SWP_NOZORDER), pos.flags);

    const std::vector<std::wstring> expected{L"derived go",  L"base after", L"range 1505",  L"range 1510",
                                            L"edit focus",  L"notify 1020", L"message 77", L"size 2 300x200",
                                            L"menu item 1505", L"menu none", L"menu none"};
    EXPECT_EQ(expected, dlg.calls);
}

TEST(DialogRouting, UnroutedOkAndCancelEndTheDialog)
{
    CRoutingDlg ok;
    ASSERT_TRUE(ok.Create(nullptr));
    Command(ok.GetSafeHwnd(), IDOK, BN_CLICKED, ok.GetDlgItem(IDOK));
    EXPECT_TRUE(ok.IsEnded());
    EXPECT_EQ(IDOK, ok.GetResult());

    CRoutingDlg cancel;
    ASSERT_TRUE(cancel.Create(nullptr));
    Command(cancel.GetSafeHwnd(), IDCANCEL);
    EXPECT_EQ(IDCANCEL, cancel.GetResult());
}

TEST(DialogRouting, AnyExceptionInAHandlerIsReportedAndEndsOnlyThatHandler)
{
    CMessageBoxRecorder boxes;
    CRoutingDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    Command(dlg.GetSafeHwnd(), 1600);
    EXPECT_FALSE(dlg.afterThrow);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(L"A sharing violation occurred while accessing C:\\x\\run_a.cfg.", boxes.Boxes()[0].text);
    EXPECT_EQ(UINT(MB_ICONSTOP), boxes.Boxes()[0].type & MB_ICONMASK);
    Command(dlg.GetSafeHwnd(), 1601);
    Command(dlg.GetSafeHwnd(), 1602);
    ASSERT_EQ(3u, boxes.Boxes().size());
    EXPECT_EQ(kOutOfMemoryText, boxes.Boxes()[1].text);
    EXPECT_EQ(kUnexpectedErrorText, boxes.Boxes()[2].text);

    // The window goes on handling messages.
    Command(dlg.GetSafeHwnd(), 1505);
    EXPECT_EQ(std::vector<std::wstring>{L"range 1505"}, dlg.calls);
}

TEST(DialogModal, TheHookDrivesTheRunAndAnUnendedRunIsCancelled)
{
    CRoutingDlg owner;
    ASSERT_TRUE(owner.Create(nullptr));

    int hookCalls = 0;
    CServicesGuard guard;
    Services().modalDialog = [&](CDialog& dialog) {
        ++hookCalls;
        EXPECT_TRUE(IsWindow(dialog.GetSafeHwnd()));
        EXPECT_TRUE(static_cast<CRoutingDlg&>(dialog).initialised);
    };
    CRoutingDlg first;
    EXPECT_EQ(IDCANCEL, first.DoModal());
    EXPECT_EQ(nullptr, first.GetSafeHwnd()); // destroyed after the run
    EXPECT_EQ(1, hookCalls);
}

TEST(DialogModal, NestedRunsEachReachTheHookAndOwnersAreDisabledMeanwhile)
{
    CRoutingDlg owner;
    ASSERT_TRUE(owner.Create(nullptr));
    HWND ownerWindow = owner.GetSafeHwnd();

    std::vector<std::wstring> seen;
    CServicesGuard guard;
    Services().modalDialog = [&](CDialog& dialog) {
        auto& d = static_cast<CRoutingDlg&>(dialog);
        if (d.radio == 1) { // the outer dialog opens an inner one
            seen.push_back(L"outer");
            EXPECT_FALSE(IsWindowEnabled(ownerWindow));
            CRoutingDlg inner(dialog.GetSafeHwnd());
            inner.radio = 2;
            EXPECT_EQ(42, inner.DoModal());
            EXPECT_TRUE(IsWindowEnabled(dialog.GetSafeHwnd()));
            d.EndDialog(IDOK);
        } else {
            seen.push_back(L"inner");
            EXPECT_FALSE(IsWindowEnabled(GetWindow(dialog.GetSafeHwnd(), GW_OWNER)));
            dialog.EndDialog(42);
        }
    };
    CRoutingDlg outer(ownerWindow);
    EXPECT_EQ(IDOK, outer.DoModal());
    EXPECT_EQ((std::vector<std::wstring>{L"outer", L"inner"}), seen);
    EXPECT_TRUE(IsWindowEnabled(ownerWindow));
}

TEST(DialogModal, ADialogEndedWhileItInitialisesIsNeverShown)
{
    bool visible = true;
    CServicesGuard guard;
    Services().modalDialog = [&](CDialog& dialog) { visible = IsWindowVisible(dialog.GetSafeHwnd()) != FALSE; };
    CRoutingDlg dlg;
    dlg.endInInit = true;
    EXPECT_EQ(7, dlg.DoModal());
    EXPECT_FALSE(visible);
}

TEST(DataExchange, RadioGroupIndexGoesBothWaysAndStopsAtTheNextGroup)
{
    CRoutingDlg dlg;
    dlg.radio = 2;
    ASSERT_TRUE(dlg.Create(nullptr)); // init writes the field to the buttons
    HWND hwnd = dlg.GetSafeHwnd();
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(hwnd, 1010));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hwnd, 1012));

    CheckRadioButton(hwnd, 1010, 1012, 1011);
    dlg.UpdateData(true);
    EXPECT_EQ(1, dlg.radio);

    CheckRadioButton(hwnd, 1010, 1012, 0);
    for (int id : {1010, 1011, 1012})
        CheckDlgButton(hwnd, id, BST_UNCHECKED);
    dlg.UpdateData(true);
    EXPECT_EQ(-1, dlg.radio);

    std::wstring text = L"typed";
    DDX_Text(false, hwnd, 1002, text);
    std::wstring back;
    DDX_Text(true, hwnd, 1002, back);
    EXPECT_EQ(L"typed", back);
}

} // namespace
