// The main window's layout and its scale: where each control goes as the
// window is sized, and what changes when it moves to a monitor of another DPI.
#include "app/MainDlg.h"

#include "framework/WindowDpi.h"
#include "resources/MainWindowIds.h"

#include <algorithm>

namespace {

// Pixel figures at 96 DPI; the window scales them to its own.
constexpr int kStatusPaneEdges[] = {210, 260, 340, -1};
constexpr int kButtonWidth = 99;
constexpr int kButtonHeight = 26;

} // namespace

void CMainDlg::SetUpStatusPanes()
{
    int edges[std::size(kStatusPaneEdges)];
    for (size_t i = 0; i < std::size(edges); ++i)
        edges[i] = kStatusPaneEdges[i] < 0 ? -1 : m_scale(kStatusPaneEdges[i]);
    m_statusBar.SetParts(static_cast<int>(std::size(edges)), edges);
    // The pane icons are the tree's images 0 and 3, at its size.
    m_statusBar.SetIcon(0, nullptr);
    m_statusBar.SetIcon(3, nullptr);
    m_pane0Icon.Reset(m_treeImages.GetIcon(0));
    m_pane3Icon.Reset(m_treeImages.GetIcon(3));
    m_statusBar.SetIcon(0, m_pane0Icon.Get());
    m_statusBar.SetIcon(3, m_pane3Icon.Get());
}


CMainDlg::Layout CMainDlg::ComputeLayout(SIZE window, SIZE initialWindow, SIZE initialList, int treeWidth,
                                         int statusBarHeight, const CDpiScale& s)
{
    Layout layout{};
    const int listWidth = initialList.cx + window.cx - initialWindow.cx;
    const int listHeight = initialList.cy + window.cy - initialWindow.cy;
    layout.lists = {s(140), s(8), s(140) + listWidth, s(8) + listHeight};
    // The template sizes the tree in dialog units, the lists start at a
    // pixel offset: where the font's units run wide the tree would reach
    // under the lists, so it ends a gap before them.
    const int tree = std::min(treeWidth, s(140) - s(4) - s(7));
    layout.tree = {s(7), s(8), s(7) + tree, s(8) + listHeight};
    const int progressY = window.cy - s(104);
    layout.progress = {s(9), progressY, s(9) + tree - s(5), progressY + s(16)};
    const int buttonY = listHeight + s(14);
    const int newX = window.cx - s(222);
    const int deleteX = window.cx - s(117);
    layout.newButton = {newX, buttonY, newX + s(kButtonWidth), buttonY + s(kButtonHeight)};
    layout.deleteButton = {deleteX, buttonY, deleteX + s(kButtonWidth), buttonY + s(kButtonHeight)};
    layout.statusBar = {0, window.cy - statusBarHeight, window.cx, window.cy};
    return layout;
}


void CMainDlg::LayOutControls()
{
    if (!m_statusBar)
        return; // not set up (yet)
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    const SIZE windowSize{RectWidth(window), RectHeight(window)};
    const Layout layout = ComputeLayout(
        windowSize, {RectWidth(m_initialWindowRect), RectHeight(m_initialWindowRect)},
        {RectWidth(m_initialListRect), RectHeight(m_initialListRect)}, RectWidth(m_tree.GetWindowRect()),
        RectHeight(m_statusBar.GetWindowRect()), m_scale);

    auto place = [](const CWindow& control, const RECT& r) {
        control.MoveWindow(r.left, r.top, RectWidth(r), RectHeight(r), true);
    };
    place(m_commands.List(), layout.lists);
    place(m_folders.List(), layout.lists);
    place(m_system.List(), layout.lists);
    place(m_tree, layout.tree);

    // Columns follow the width of list 1000, which all three lists share.
    const int cw = RectWidth(m_commands.List().GetClientRect());
    m_commands.FitColumns(cw);
    m_folders.FitColumns(cw);
    m_system.FitColumns(cw);

    place(m_progress, layout.progress);
    place(m_newCommandButton, layout.newButton);
    place(m_addFolderButton, layout.newButton);
    place(m_deleteCommandButton, layout.deleteButton);
    place(m_removeFolderButton, layout.deleteButton);
    place(m_statusBar, layout.statusBar);

    for (const CWindow* button : {&m_newCommandButton, &m_deleteCommandButton, &m_addFolderButton,
                                  &m_removeFolderButton})
        button->RedrawNow();
}



void CMainDlg::OnDpiChanged(int dpi, const RECT& suggested)
{
    const int oldDpi = m_scale.Dpi();
    m_scale = CDpiScale(dpi);
    if (m_statusBar && dpi != oldDpi) {
        // Growth is measured against the set-up sizes, which were taken at
        // the old scale; the tree keeps the width the template gave it.
        auto rescaled = [&](RECT& r) {
            r.right = r.left + RescaleForDpi(RectWidth(r), oldDpi, dpi);
            r.bottom = r.top + RescaleForDpi(RectHeight(r), oldDpi, dpi);
        };
        rescaled(m_initialWindowRect);
        rescaled(m_initialListRect);
        const RECT tree = m_tree.GetWindowRect();
        SetWindowPos(m_tree.GetSafeHwnd(), nullptr, 0, 0, RescaleForDpi(RectWidth(tree), oldDpi, dpi),
                     RectHeight(tree), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

        // The tree's indent is the icon's width and a gap, set by the old scale.
        const HWND treeWindow = m_tree.GetSafeHwnd();
        TreeView_SetIndent(treeWindow, RescaleForDpi(TreeView_GetIndent(treeWindow), oldDpi, dpi));

        RescaleFonts(oldDpi, dpi);
        RebuildImages();
        SetUpStatusPanes();
        // The status bar takes the height of its new font now, so the
        // layout below measures that.
        SendMessageW(m_statusBar.GetSafeHwnd(), WM_SIZE, 0, 0);
    }
    if (dpi != oldDpi)
        SetMenuPictures();
    SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, RectWidth(suggested), RectHeight(suggested),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutControls();
}

void CMainDlg::RescaleFonts(int oldDpi, int dpi)
{
    const auto current = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    CFontHandle font(CreateRescaledFont(current, oldDpi, dpi));
    if (!font)
        return;
    const auto wparam = reinterpret_cast<WPARAM>(font.Get());
    SendMessageW(m_hWnd, WM_SETFONT, wparam, FALSE);
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SETFONT, wparam, TRUE);
    // Only now is the old font no longer in use.
    m_font = std::move(font);
}

void CMainDlg::RebuildImages()
{
    // A new size empties each image list; the rows take their icons anew.
    m_treeImages.SetIconSize(SmallIconSizeForDpi(m_scale.Dpi()));
    AddTreeImages();
    m_tree.SetImageList(m_treeImages, TVSIL_NORMAL);
    m_commands.OnScaleChanged();
    m_folders.OnScaleChanged();
    m_system.OnScaleChanged();
}


void CMainDlg::OnSize(UINT state, int, int)
{
    // Minimizing changes nothing the user can see; restoring lays out again.
    if (m_show && state != SIZE_MINIMIZED)
        LayOutControls();
}


void CMainDlg::OnSizing(UINT, RECT&)
{
    // No minimum or maximum of its own.
}

