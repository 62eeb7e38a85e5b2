// The windows laid out at the DPI this process started with (ctest runs it
// at 96, 144 and 192): no control's text is cut, no two controls overlap,
// every control lies inside its window, and the figures the program places
// by code follow the scale. Also a move to a monitor of another scale.
#include "app/AboutDlg.h"
#include "framework/AppInfo.h"
#include "framework/WindowDpi.h"
#include "resources/MainWindowIds.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/shellsettings/SheetDriver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <climits>
#include <string>
#include <vector>

namespace {

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT RectIn(HWND parent, HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The text's extent in the control's own font; with a width, wrapped to it.
SIZE TextExtent(HWND control, const std::string& text, int wrapWidth = 0)
{
    HDC dc = GetDC(control);
    const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, wrapWidth, 0};
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

bool Visible(HWND window)
{
    return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsGroupBox(HWND control)
{
    return ClassOf(control) == "Button" && (GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// What must hold for every shown control of a window at its scale.
void ExpectWhole(HWND window, const CDpiScale& s)
{
    RECT client{};
    GetClientRect(window, &client);
    std::vector<HWND> placed;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!Visible(c) || ClassOf(c) == "#32770") // property pages: checked on their own
            continue;
        const std::string name = ClassOf(c) + " " + std::to_string(GetDlgCtrlID(c)) + " \"" + TextOf(c) + "\"";
        const RECT r = RectIn(window, c);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
            << name << " leaves its window at " << s.Dpi() << " DPI";

        RECT inside{};
        GetClientRect(c, &inside);
        const std::string text = TextOf(c);
        const LONG style = static_cast<LONG>(GetWindowLongPtrA(c, GWL_STYLE));
        if (ClassOf(c) == "Button" && !text.empty()) {
            const LONG kind = style & BS_TYPEMASK;
            // Radio buttons and check boxes draw their box beside the text.
            const int frame = kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || kind == BS_GROUPBOX ? 0 : s(12);
            EXPECT_LE(TextExtent(c, text).cx + frame, inside.right) << name << " is cut at " << s.Dpi();
        } else if (ClassOf(c) == "Static" && !text.empty() && (style & SS_TYPEMASK) <= SS_RIGHT
                   && inside.bottom < 2 * TextExtent(c, "X").cy) {
            // One-line labels; the templates' wrapped paragraphs break where
            // the font's metrics say, alike at every scale, and Wine's
            // Tahoma breaks them differently from Windows'.
            EXPECT_LE(TextExtent(c, text).cx, inside.right) << name << " is cut at " << s.Dpi();
        }
        // Group boxes hold others; the editors' help icons sit over a field's
        // corner by their template, at every scale.
        const bool icon = ClassOf(c) == "Static" && (style & SS_TYPEMASK) == SS_ICON;
        if (!IsGroupBox(c) && !icon)
            placed.push_back(c);
    }
    for (size_t i = 0; i < placed.size(); ++i) {
        for (size_t j = i + 1; j < placed.size(); ++j) {
            const RECT a = RectIn(window, placed[i]);
            const RECT b = RectIn(window, placed[j]);
            RECT both{};
            EXPECT_FALSE(IntersectRect(&both, &a, &b))
                << ClassOf(placed[i]) << " " << GetDlgCtrlID(placed[i]) << " overlaps " << ClassOf(placed[j]) << " "
                << GetDlgCtrlID(placed[j]) << " at " << s.Dpi();
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
    GetObjectA(bitmap, sizeof info, &info);
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
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_CHECKMARKS;
        GetMenuItemInfoA(GetMenu(Hwnd()), ID_FILE_NEW_COMMAND, FALSE, &item);
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
        ExpectWhole(Hwnd(), s);
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

TEST_F(DpiLayoutTest, MainWindowPagesAreWholeAtTheScaleItStartsAt)
{
    WriteCommandFile("notes", {"notes", "C:\\windows\\notepad.exe", ""});
    Open();
    ExpectMainWindowAt(DpiOfWindow(Hwnd()));
    SelectTreeItem("Fast Folders");
    ExpectWhole(Hwnd(), window->Scale());
}

TEST_F(DpiLayoutTest, MovingToAMonitorOfAnotherScaleRebuildsTheWindow)
{
    WriteCommandFile("notes", {"notes", "C:\\windows\\notepad.exe", ""});
    Open();
    const int from = DpiOfWindow(Hwnd());
    // Small enough that the window at the new scale fits the screen.
    SetWindowPos(Hwnd(), nullptr, 0, 0, ScaleForDpi(400, from), ScaleForDpi(300, from), SWP_NOZORDER);
    // Upwards: Wine's status bar keeps the icon height of the process's
    // DPI, so a move to a smaller scale is not what Windows would show.
    const int to = from * 3 / 2;
    auto fontHeight = [this] {
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(Hwnd(), IDC_NEW_COMMAND), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        return font.lfHeight;
    };
    const LONG height = fontHeight();
    RECT frame{};
    GetWindowRect(Hwnd(), &frame);
    const RECT suggested{frame.left, frame.top, frame.left + RescaleForDpi(frame.right - frame.left, from, to),
                         frame.top + RescaleForDpi(frame.bottom - frame.top, from, to)};
    SendMessageA(Hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));

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
            ExpectWhole(dialog.GetSafeHwnd(), ScaleOfWindow(dialog.GetSafeHwnd()));
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
        ExpectWhole(sheet.GetSafeHwnd(), s);
        for (int page = 0; page < 3; ++page) {
            SelectPage(sheet, page);
            ExpectWhole(Page(sheet), s);
        }
    });
}

} // namespace
