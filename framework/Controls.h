#pragma once
// Thin wrappers over the common controls a dialog binds. Each wraps an HWND
// it does not own (the dialog destroys its controls), except CImageList,
// which owns its HIMAGELIST, and CStatusBarCtrl::Create, whose window the
// caller destroys with DestroyWindow.
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <optional>
#include <string>

class CWindow {
public:
    CWindow() = default;
    explicit CWindow(HWND hwnd) : m_hWnd(hwnd) {}

    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    explicit operator bool() const { return m_hWnd != nullptr; }

    std::wstring GetText() const;
    void SetText(const std::wstring& text) const { SetWindowTextW(m_hWnd, text.c_str()); }
    void ShowWindow(int show) const { ::ShowWindow(m_hWnd, show); }
    void EnableWindow(bool enable) const { ::EnableWindow(m_hWnd, enable ? TRUE : FALSE); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    // The window's own visibility bit, independent of its parent's.
    bool HasVisibleStyle() const { return (GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0; }
    void MoveWindow(int x, int y, int width, int height, bool repaint = true) const
    {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint ? TRUE : FALSE);
    }
    RECT GetWindowRect() const;
    RECT GetClientRect() const;
    // The window's rectangle in its parent's client coordinates.
    RECT GetRectInParent() const;
    void RedrawNow() const { RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageW(m_hWnd, msg, wParam, lParam);
    }

protected:
    HWND m_hWnd = nullptr;
};

// Stops a control from repainting while it is refilled, and repaints it
// once at the end: a list view redrawn after every row is many times slower.
class CRedrawPause {
public:
    explicit CRedrawPause(const CWindow& control) : m_hWnd(control.GetSafeHwnd())
    {
        SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
    }
    ~CRedrawPause()
    {
        SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    CRedrawPause(const CRedrawPause&) = delete;
    CRedrawPause& operator=(const CRedrawPause&) = delete;

private:
    HWND m_hWnd;
};

inline int RectWidth(const RECT& r) { return r.right - r.left; }
inline int RectHeight(const RECT& r) { return r.bottom - r.top; }

// Owns one image list; destroyed with the object or by Destroy.
class CImageList {
public:
    CImageList() = default;
    ~CImageList() { Destroy(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    bool Create(int cx, int cy, UINT flags, int initial, int grow);
    void Destroy();
    // Appends a copy of the icon; -1 when there is none or it fails.
    int Add(HICON icon) const;
    int GetImageCount() const { return m_list ? ImageList_GetImageCount(m_list) : 0; }
    bool RemoveAll() const { return m_list && ImageList_RemoveAll(m_list); }
    // Square images of this size from now on; removes every image.
    bool SetIconSize(int size) const { return m_list && ImageList_SetIconSize(m_list, size, size); }
    int GetIconSize() const
    {
        int cx = 0, cy = 0;
        return m_list && ImageList_GetIconSize(m_list, &cx, &cy) ? cx : 0;
    }
    // A new icon made from one image; the caller destroys it.
    HICON GetIcon(int index) const { return m_list ? ImageList_GetIcon(m_list, index, ILD_NORMAL) : nullptr; }
    HIMAGELIST Get() const { return m_list; }

private:
    HIMAGELIST m_list = nullptr;
};

class CListCtrl : public CWindow {
public:
    void SetExtendedStyle(DWORD add) const { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, add, add); }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    int InsertColumn(int index, const std::wstring& heading, int format, int width) const;
    bool SetColumnWidth(int column, int width) const { return Send(LVM_SETCOLUMNWIDTH, column, width) != 0; }
    int GetColumnWidth(int column) const { return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, column)); }
    void SetImageList(const CImageList& list, int which) const
    {
        Send(LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list.Get()));
    }
    int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    bool DeleteAllItems() const { return Send(LVM_DELETEALLITEMS) != 0; }
    bool DeleteItem(int index) const { return Send(LVM_DELETEITEM, index) != 0; }
    // Inserts a row with the number the program keeps with it; image -1
    // shows none, I_IMAGECALLBACK asks the parent when the row is drawn.
    // Returns its index or -1.
    int InsertItem(int index, const std::wstring& text, int image, LPARAM data = 0) const;
    bool SetItemText(int index, int column, const std::wstring& text) const;
    std::wstring GetItemText(int index, int column) const;
    int GetItemImage(int index) const;
    // A number the program keeps with a row; -1 when the row has none.
    void SetItemData(int index, LPARAM data) const;
    LPARAM GetItemData(int index) const;
    // The row's data read as an index into the program's rows, of which
    // there are `count`; nullopt when it has none or it is out of range.
    std::optional<size_t> GetItemIndex(int row, size_t count) const;
    // The same for the first selected row; nullopt without a selection.
    std::optional<size_t> GetSelectedIndex(size_t count) const { return GetItemIndex(GetFirstSelected(), count); }
    // The first row after `start` (-1: from the top) with the state flags.
    int GetNextItem(int start, UINT flags) const { return static_cast<int>(Send(LVM_GETNEXTITEM, start, flags)); }
    int GetFirstSelected() const { return GetNextItem(-1, LVNI_SELECTED); }
    int GetSelectionMark() const { return static_cast<int>(Send(LVM_GETSELECTIONMARK)); }
    void SelectItem(int index) const;
};

// The flags of the program's small-icon image lists.
inline constexpr UINT kIconListFlags = ILC_COLORDDB | ILC_MASK;

struct ListColumn {
    const wchar_t* heading;
    int width;
};
// Sets the list up as a report with grid lines, full-row selection and
// these columns, and gives it a fresh image list of small icons of that
// size. The caller owns the image list; the list only shares it.
void SetUpReportList(const CListCtrl& list, CImageList& images, std::initializer_list<ListColumn> columns,
                     int iconSize);

class CTreeCtrl : public CWindow {
public:
    void SetImageList(const CImageList& list, int which) const
    {
        Send(TVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list.Get()));
    }
    HTREEITEM InsertItem(const std::wstring& text, int image, int selectedImage, HTREEITEM parent) const;
    bool Expand(HTREEITEM item, UINT code) const { return Send(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)) != 0; }
    bool SelectItem(HTREEITEM item) const
    {
        return Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
    }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const
    {
        return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    std::wstring GetItemText(HTREEITEM item) const;
    bool GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    UINT GetItemState(HTREEITEM item, UINT mask) const
    {
        return static_cast<UINT>(Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask));
    }
    UINT GetCount() const { return static_cast<UINT>(Send(TVM_GETCOUNT)); }
    bool DeleteAllItems() const { return Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)) != 0; }
};

class CStatusBarCtrl : public CWindow {
public:
    bool Create(DWORD style, HWND parent, UINT id);
    bool SetParts(int count, const int* rightEdges) const
    {
        return Send(SB_SETPARTS, count, reinterpret_cast<LPARAM>(rightEdges)) != 0;
    }
    bool SetPaneText(int part, const std::wstring& text) const
    {
        return Send(SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str())) != 0;
    }
    std::wstring GetPaneText(int part) const;
    bool SetIcon(int part, HICON icon) const { return Send(SB_SETICON, part, reinterpret_cast<LPARAM>(icon)) != 0; }
    HICON GetIcon(int part) const { return reinterpret_cast<HICON>(Send(SB_GETICON, part)); }
    int GetParts(int count, int* rightEdges) const
    {
        return static_cast<int>(Send(SB_GETPARTS, count, reinterpret_cast<LPARAM>(rightEdges)));
    }
};

class CProgressCtrl : public CWindow {
public:
    void SetRange(short low, short high) const { Send(PBM_SETRANGE, 0, MAKELPARAM(low, high)); }
    void SetStep(int step) const { Send(PBM_SETSTEP, step); }
    int StepIt() const { return static_cast<int>(Send(PBM_STEPIT)); }
    int SetPos(int pos) const { return static_cast<int>(Send(PBM_SETPOS, pos)); }
    int GetPos() const { return static_cast<int>(Send(PBM_GETPOS)); }
};

class CComboBox : public CWindow {
public:
    int AddString(const std::wstring& text) const
    {
        return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(Send(CB_SETCURSEL, index)); }
    std::wstring GetLBText(int index) const;
    void ResetContent() const { Send(CB_RESETCONTENT); }
};
