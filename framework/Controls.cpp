#include "framework/Controls.h"

#include <cwchar>
#include <vector>

namespace {

// Asks for a text through a message that fills a bounded buffer, growing
// the buffer while the text may have been cut.
template <typename Fill>
std::wstring ReadBoundedText(Fill fill)
{
    std::vector<wchar_t> buffer(264);
    for (;;) {
        buffer.assign(buffer.size(), L'\0');
        const int length = fill(buffer.data(), static_cast<int>(buffer.size()));
        if (length < static_cast<int>(buffer.size()) - 1 || buffer.size() >= (1u << 20))
            return std::wstring(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
        buffer.resize(buffer.size() * 4);
    }
}

} // namespace

std::wstring CWindow::GetText() const
{
    const int length = GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int got = GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

RECT CWindow::GetWindowRect() const
{
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    return r;
}

RECT CWindow::GetClientRect() const
{
    RECT r{};
    ::GetClientRect(m_hWnd, &r);
    return r;
}

RECT CWindow::GetRectInParent() const
{
    RECT r = GetWindowRect();
    MapWindowPoints(HWND_DESKTOP, GetParent(m_hWnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    Destroy();
    m_list = ImageList_Create(cx, cy, flags, initial, grow);
    return m_list != nullptr;
}

void CImageList::Destroy()
{
    if (m_list) {
        ImageList_Destroy(m_list);
        m_list = nullptr;
    }
}

int CImageList::Add(HICON icon) const
{
    if (!m_list || !icon)
        return -1;
    return ImageList_AddIcon(m_list, icon);
}

int CListCtrl::InsertColumn(int index, const std::wstring& heading, int format, int width) const
{
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(heading.c_str());
    column.iSubItem = index;
    return static_cast<int>(Send(LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
}

void SetUpReportList(const CListCtrl& list, CImageList& images, std::initializer_list<ListColumn> columns,
                     int iconSize)
{
    list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    int index = 0;
    for (const ListColumn& column : columns)
        list.InsertColumn(index++, column.heading, LVCFMT_LEFT, column.width);
    images.Create(iconSize, iconSize, kIconListFlags, 4, 4);
    // Without this style the list would destroy the caller's image list.
    const HWND hwnd = list.GetSafeHwnd();
    SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | LVS_SHAREIMAGELISTS);
    list.SetImageList(images, LVSIL_SMALL);
}

int CListCtrl::InsertItem(int index, const std::wstring& text, int image, LPARAM data) const
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = image;
    item.lParam = data;
    return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListCtrl::SetItemText(int index, int column, const std::wstring& text) const
{
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return Send(LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)) != 0;
}

std::wstring CListCtrl::GetItemText(int index, int column) const
{
    return ReadBoundedText([&](wchar_t* buffer, int size) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = size;
        return static_cast<int>(Send(LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)));
    });
}

int CListCtrl::GetItemImage(int index) const
{
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    if (!Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.iImage;
}

void CListCtrl::SetItemData(int index, LPARAM data) const
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = data;
    Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

std::optional<size_t> CListCtrl::GetItemIndex(int row, size_t count) const
{
    const LPARAM data = row < 0 ? -1 : GetItemData(row);
    if (data < 0 || static_cast<size_t>(data) >= count)
        return std::nullopt;
    return static_cast<size_t>(data);
}

LPARAM CListCtrl::GetItemData(int index) const
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = -1;
    if (!Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.lParam;
}

void CListCtrl::SelectItem(int index) const
{
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    Send(LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
    Send(LVM_SETSELECTIONMARK, 0, index);
}

HTREEITEM CTreeCtrl::InsertItem(const std::wstring& text, int image, int selectedImage, HTREEITEM parent) const
{
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::wstring CTreeCtrl::GetItemText(HTREEITEM handle) const
{
    return ReadBoundedText([&](wchar_t* buffer, int size) {
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = handle;
        item.pszText = buffer;
        item.cchTextMax = size;
        if (!Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
            return 0;
        return static_cast<int>(wcsnlen(buffer, static_cast<size_t>(size)));
    });
}

bool CTreeCtrl::GetItemImage(HTREEITEM handle, int& image, int& selectedImage) const
{
    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = handle;
    if (!Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return false;
    image = item.iImage;
    selectedImage = item.iSelectedImage;
    return true;
}

bool CStatusBarCtrl::Create(DWORD style, HWND parent, UINT id)
{
    m_hWnd = CreateWindowExW(0, STATUSCLASSNAMEW, L"", style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr),
                             nullptr);
    return m_hWnd != nullptr;
}

std::wstring CStatusBarCtrl::GetPaneText(int part) const
{
    const LRESULT info = Send(SB_GETTEXTLENGTHW, part);
    std::wstring text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
    Send(SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

std::wstring CComboBox::GetLBText(int index) const
{
    const LRESULT length = Send(CB_GETLBTEXTLEN, index);
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    Send(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}
