// The windows laid out at the DPI this process started with (ctest runs it
// at 96, 144 and 192): every template of quillon.exe as the dialog manager
// makes it, and the program's windows as the program lays them out, keep
// the rules of tests/app/TemplateTable.h; the figures the program places by
// code follow the scale. Also a move to a monitor of another scale.
#include "app/AboutDlg.h"
#include "framework/AppInfo.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/WindowDpi.h"
#include "resources/ConfigurationIds.h"
#include "resources/MainWindowIds.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/app/TemplateTable.h"
#include "tests/shellsettings/SheetDriver.h"
#include "tests/support/ProgramResources.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <climits>
#include <iterator>
#include <memory>
#include <type_traits>
#include <string>
#include <vector>

namespace {

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

std::wstring TextOf(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string Name(HWND control)
{
    return ShownAsUtf8(ClassOf(control)) + " " + std::to_string(GetDlgCtrlID(control));
}

RECT RectIn(HWND parent, HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The room the text takes in the control's own font; wrapped at the width
// where the format says so.
SIZE TextExtent(HWND control, const std::wstring& text, UINT format, int width = 0)
{
    HDC dc = GetDC(control);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

bool Visible(HWND window)
{
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsGroupBox(HWND control)
{
    return ClassOf(control) == L"Button" && (GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The head of a DIALOGEX template, up to its size.
#pragma pack(push, 2)
struct TemplateHead {
    WORD version, signature;
    DWORD helpId, exStyle, style;
    WORD items;
    short x, y, cx, cy;
};
#pragma pack(pop)

bool Excused(UINT dialog, int id, int other, LayoutRule rule)
{
    for (const LayoutException& e : kLayoutExceptions)
        if (e.dialog == dialog && e.rule == rule && ((e.id == id && e.other == other) || (e.id == other && e.other == id)))
            return true;
    return false;
}

// The room the control's text needs: for buttons one line with the box of
// a radio button or check box beside it, for labels wrapped as they wrap
// them; none for other controls.
SIZE TextNeed(HWND c, const CDpiScale& s)
{
    const std::wstring text = TextOf(c);
    const LONG style = static_cast<LONG>(GetWindowLongPtrW(c, GWL_STYLE));
    if (text.empty())
        return {};
    if (ClassOf(c) == L"Button") {
        const LONG kind = style & BS_TYPEMASK;
        const bool boxed = kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON && kind != BS_GROUPBOX;
        return SIZE{TextExtent(c, text, DT_SINGLELINE).cx + (boxed ? s(12) : 0), 0};
    }
    if (ClassOf(c) == L"Static" && (style & SS_TYPEMASK) <= SS_RIGHT) {
        RECT room{};
        GetClientRect(c, &room);
        const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
        return TextExtent(c, text, DT_WORDBREAK | DT_EXPANDTABS | prefix, room.right);
    }
    return {};
}

// What must hold for the controls of a window made from a template at its
// scale. A bare template's client area is the one it asks for (the screen
// may clamp a large one), and its hidden controls (other pages, hover
// pictures) must be inside and show their texts too; only shown controls
// must be apart.
void ExpectWhole(HWND window, UINT dialog, const CDpiScale& s, const RECT* bareTemplate = nullptr)
{
    RECT client{};
    GetClientRect(window, &client);
    if (bareTemplate)
        client = *bareTemplate;
    std::vector<HWND> shown;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == L"#32770" || (!Visible(c) && !bareTemplate)) // property pages: checked on their own
            continue;
        const int id = GetDlgCtrlID(c);
        const RECT r = RectIn(window, c);
        const bool inside = r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom;
        EXPECT_TRUE(inside || Excused(dialog, id, 0, LayoutRule::inside))
            << dialog << ": " << Name(c) << " leaves its window at " << s.Dpi() << " DPI";
        RECT room{};
        GetClientRect(c, &room);
        const SIZE need = TextNeed(c, s);
        EXPECT_TRUE(need.cx <= room.right || Excused(dialog, id, 0, LayoutRule::wide))
            << dialog << ": " << Name(c) << " \"" << TextOf(c) << "\" needs " << need.cx << " pixels of width, has "
            << room.right << " at " << s.Dpi() << " DPI";
        EXPECT_TRUE(need.cy <= room.bottom || Excused(dialog, id, 0, LayoutRule::tall))
            << dialog << ": " << Name(c) << " \"" << TextOf(c) << "\" needs " << need.cy << " pixels of height, has "
            << room.bottom << " at " << s.Dpi() << " DPI";
        if (Visible(c))
            shown.push_back(c);
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        for (size_t j = i + 1; j < shown.size(); ++j) {
            const RECT a = RectIn(window, shown[i]);
            const RECT b = RectIn(window, shown[j]);
            RECT both{};
            if (!IntersectRect(&both, &a, &b))
                continue;
            const bool around = (IsGroupBox(shown[i]) && EqualRect(&both, &b)) || (IsGroupBox(shown[j]) && EqualRect(&both, &a));
            EXPECT_TRUE(around || Excused(dialog, GetDlgCtrlID(shown[i]), GetDlgCtrlID(shown[j]), LayoutRule::apart))
                << dialog << ": " << Name(shown[i]) << " overlaps " << Name(shown[j]) << " at " << s.Dpi() << " DPI";
        }
    }
}

int ImageSize(HIMAGELIST images)
{
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    return cx;
}

int BitmapWidth(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return info.bmWidth;
}

class DpiLayoutTest : public MainWindowTest {
protected:
    // What the main window must show at its scale, on the page in front.
    void ExpectMainWindowAt(int dpi)
    {
        const CDpiScale s(dpi);
        SCOPED_TRACE(dpi);
        EXPECT_EQ(dpi, window->Scale().Dpi());
        int edges[4] = {};
        ASSERT_EQ(4, window->StatusBar().GetParts(4, edges));
        EXPECT_EQ(s(210), edges[0]);
        EXPECT_EQ(s(260), edges[1]);
        EXPECT_EQ(s(340), edges[2]);

        const int icon = SmallIconSizeForDpi(dpi);
        EXPECT_EQ(ScaleForDpi(16, dpi), icon); // Wine: the platform's own figure
        for (const CImageList* images : {&window->CommandsPage().Images(), &window->FoldersPage().Images(), &window->SystemPage().Images()})
            EXPECT_EQ(icon, ImageSize(images->Get()));
        EXPECT_EQ(icon, ImageSize(TreeView_GetImageList(window->Tree().GetSafeHwnd(), TVSIL_NORMAL)));
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(window->StatusBar().GetIcon(0), &info));
        CBitmapHandle mask(info.hbmMask), colour(info.hbmColor);
        EXPECT_EQ(icon, BitmapWidth(mask.Get()));

        // The menu's pictures are drawn for the scale, never stretched.
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_CHECKMARKS;
        GetMenuItemInfoW(GetMenu(Hwnd()), ID_FILE_NEW_COMMAND, FALSE, &item);
        const int pictures[] = {16, 24, 32};
        EXPECT_EQ(pictures[s.PictureScale()], BitmapWidth(item.hbmpUnchecked));

        // The lists fill the window but for the margins, scaled.
        RECT client{};
        GetClientRect(Hwnd(), &client);
        const RECT list = RectIn(Hwnd(), window->CommandsPage().List().GetSafeHwnd());
        EXPECT_EQ(s(140), list.left);
        EXPECT_EQ(s(8), list.top);
        EXPECT_GE(client.right - list.right, 0);
        EXPECT_LE(client.right - list.right, s(40));
        const RECT button = RectIn(Hwnd(), GetDlgItem(Hwnd(), IDC_NEW_COMMAND));
        EXPECT_EQ(s(99), button.right - button.left);

        // The tree shows its items whole.
        const HWND tree = window->Tree().GetSafeHwnd();
        RECT treeClient{};
        GetClientRect(tree, &treeClient);
        for (HTREEITEM i = TreeView_GetRoot(tree); i; i = TreeView_GetNextVisible(tree, i)) {
            RECT text{};
            ASSERT_TRUE(TreeView_GetItemRect(tree, i, &text, TRUE));
            EXPECT_LE(text.right, treeClient.right) << window->Tree().GetItemText(i);
        }
        ExpectWhole(Hwnd(), IDD_MAIN, s);
    }
};

TEST(DpiScale, ScalesFiguresAndPicksPictures)
{
    for (int figure : {0, 1, 5, 99, 210, -15})
        EXPECT_EQ(figure, ScaleForDpi(figure, 96)); // 100 % is today's layout
    EXPECT_EQ(149, ScaleForDpi(99, 144)); // 148.5 rounds away from zero
    EXPECT_EQ(-23, ScaleForDpi(-15, 144));
    EXPECT_EQ(124, ScaleForDpi(99, 120));
    EXPECT_EQ(198, ScaleForDpi(99, 192));
    EXPECT_EQ(99, RescaleForDpi(149, 144, 96));
    EXPECT_EQ(7, ScaleForDpi(7, 0)); // no DPI known: unchanged
    EXPECT_EQ(INT_MAX, ScaleForDpi(INT_MAX / 2, 288));

    // The largest picture that is not bigger than the scale asks.
    const int expected[][2] = {{72, 0}, {96, 0}, {120, 0}, {143, 0}, {144, 1}, {168, 1}, {192, 2}, {480, 2}};
    for (const auto& [dpi, scale] : expected)
        EXPECT_EQ(static_cast<size_t>(scale), CDpiScale(dpi).PictureScale()) << dpi;
}

INT_PTR CALLBACK BareDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// Each template as the dialog manager makes it, before any code of the
// program moves, fills or hides a control.
TEST(DpiLayout, EveryTemplateOfTheProgramIsWholeAtTheScaleItStartsAt)
{
    InitCommonControls();
    const CLibraryHandle exe = LoadProgramAsData();
    ASSERT_TRUE(exe);
    using CWindow = std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)>;
    const CWindow host(CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
                       &DestroyWindow); // parent of the pages' child templates
    const std::vector<UINT> ids = DialogTemplateIds(exe.Get());
    EXPECT_GE(ids.size(), std::size(kTemplateFrames));
    for (UINT id : ids) {
        const HRSRC found = FindResourceW(exe.Get(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
        const auto bytes = static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(exe.Get(), found)));
        const CWindow dialog(CreateDialogIndirectParamW(exe.Get(), bytes, host.get(), BareDialogProc, 0), &DestroyWindow);
        ASSERT_TRUE(dialog) << id;
        const auto* header = reinterpret_cast<const TemplateHead*>(bytes);
        RECT asked{0, 0, header->cx, header->cy};
        MapDialogRect(dialog.get(), &asked);
        ExpectWhole(dialog.get(), id, ScaleOfWindow(dialog.get()), &asked);
    }
}

TEST_F(DpiLayoutTest, MainWindowPagesAreWholeAtTheScaleItStartsAt)
{
    WriteCommandFile(L"notes", {"notes", "C:\\windows\\notepad.exe", ""});
    Open();
    ExpectMainWindowAt(DpiOfWindow(Hwnd()));
    SelectTreeItem(L"Fast Folders");
    ExpectWhole(Hwnd(), IDD_MAIN, window->Scale());
    SelectTreeItem(L"System");
    ExpectWhole(Hwnd(), IDD_MAIN, window->Scale());
}

TEST_F(DpiLayoutTest, MovingToAMonitorOfAnotherScaleRebuildsTheWindow)
{
    WriteCommandFile(L"notes", {"notes", "C:\\windows\\notepad.exe", ""});
    Open();
    const int from = DpiOfWindow(Hwnd());
    // Small enough that the window at the new scale fits the screen.
    SetWindowPos(Hwnd(), nullptr, 0, 0, ScaleForDpi(400, from), ScaleForDpi(300, from), SWP_NOZORDER);
    // Upwards: Wine's status bar keeps the icon height of the process's
    // DPI, so a move to a smaller scale is not what Windows would show.
    const int to = from * 3 / 2;
    auto fontHeight = [this] {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(Hwnd(), IDC_NEW_COMMAND), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        return font.lfHeight;
    };
    const LONG height = fontHeight();
    RECT frame{};
    GetWindowRect(Hwnd(), &frame);
    const RECT suggested{frame.left, frame.top, frame.left + RescaleForDpi(frame.right - frame.left, from, to),
                         frame.top + RescaleForDpi(frame.bottom - frame.top, from, to)};
    SendMessageW(Hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));

    RECT now{};
    GetWindowRect(Hwnd(), &now);
    EXPECT_TRUE(EqualRect(&suggested, &now));
    EXPECT_EQ(RescaleForDpi(height, from, to), fontHeight());
    ExpectMainWindowAt(to);
    EXPECT_EQ(1, window->CommandsPage().List().GetItemCount());
}

TEST_F(DpiLayoutTest, EditorsAboutAndConfigurationAreWhole)
{
    Open();
    SetAppMainWindow(Hwnd());
    std::vector<UINT> checked;
    {
        CServicesGuard guard;
        Services().modalDialog = [&](CDialog& dialog) {
            checked.push_back(dialog.GetTemplateId());
            ExpectWhole(dialog.GetSafeHwnd(), dialog.GetTemplateId(), ScaleOfWindow(dialog.GetSafeHwnd()));
            if (dialog.GetTemplateId() != IDD_ABOUT)
                return;
            // The banner drawn for the scale, not the 100 % one.
            const HWND about = dialog.GetSafeHwnd();
            const RECT banner = RectIn(about, GetDlgItem(about, IDC_ABOUT_BANNER));
            const int widths[] = {356, 534, 712};
            EXPECT_EQ(widths[ScaleOfWindow(about).PictureScale()], banner.right - banner.left);
        };
        Command(IDC_NEW_COMMAND);
        Command(IDC_ADD_FOLDER);
        Command(ID_HELP_ABOUT);
    }
    EXPECT_EQ(3u, checked.size());

    RunSheet([](CConfigPropSheet& sheet) {
        const CDpiScale s = ScaleOfWindow(sheet.GetSafeHwnd());
        ExpectWhole(sheet.GetSafeHwnd(), 0, s);
        for (int page = 0; page < 3; ++page) {
            SelectPage(sheet, page);
            ExpectWhole(Page(sheet), IDD_CONFIG_CONTEXT_MENU + page, s);
        }
    });
}

} // namespace
