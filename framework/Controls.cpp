#include "framework/Controls.h"

#include <vector>

namespace {

// Asks for a text through a message that fills a bounded buffer, growing
// the buffer while the text may have been cut.
template <typename Fill>
std::string ReadBoundedText(Fill fill)
{
    std::vector<char> buffer(264);
    for (;;) {
        buffer.assign(buffer.size(), '\0');
        const int length = fill(buffer.data(), static_cast<int>(buffer.size()));
        if (length < static_cast<int>(buffer.size()) - 1 || buffer.size() >= (1u << 20))
            return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
        buffer.resize(buffer.size() * 4);
    }
}

} // namespace

std::string CWindow::GetText() const
{
    const int length = GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int got = GetWindowTextA(m_hWnd, text.data(), static_cast<int>(text.size()));
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

int CListCtrl::InsertColumn(int index, const std::string& heading, int format, int width) const
{
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(heading.c_str());
    column.iSubItem = index;
    return static_cast<int>(Send(LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
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

int CListCtrl::InsertItem(int index, const std::string& text, int image, LPARAM data) const
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = image;
    item.lParam = data;
    return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListCtrl::SetItemText(int index, int column, const std::string& text) const
{
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    return Send(LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item)) != 0;
}

std::string CListCtrl::GetItemText(int index, int column) const
{
    return ReadBoundedText([&](char* buffer, int size) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = size;
        return static_cast<int>(Send(LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item)));
    });
}

int CListCtrl::GetItemImage(int index) const
{
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    if (!Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.iImage;
}

void CListCtrl::SetItemData(int index, LPARAM data) const
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = data;
    Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
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
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = -1;
    if (!Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.lParam;
}

void CListCtrl::SelectItem(int index) const
{
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    Send(LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
    Send(LVM_SETSELECTIONMARK, 0, index);
}

HTREEITEM CTreeCtrl::InsertItem(const std::string& text, int image, int selectedImage, HTREEITEM parent) const
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::string CTreeCtrl::GetItemText(HTREEITEM handle) const
{
    return ReadBoundedText([&](char* buffer, int size) {
        TVITEMA item{};
        item.mask = TVIF_TEXT;
        item.hItem = handle;
        item.pszText = buffer;
        item.cchTextMax = size;
        if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
            return 0;
        return static_cast<int>(strnlen(buffer, static_cast<size_t>(size)));
    });
}

bool CTreeCtrl::GetItemImage(HTREEITEM handle, int& image, int& selectedImage) const
{
    TVITEMA item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = handle;
    if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return false;
    image = item.iImage;
    selectedImage = item.iSelectedImage;
    return true;
}

bool CStatusBarCtrl::Create(DWORD style, HWND parent, UINT id)
{
    m_hWnd = CreateWindowExA(0, STATUSCLASSNAMEA, "", style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr),
                             nullptr);
    return m_hWnd != nullptr;
}

std::string CStatusBarCtrl::GetPaneText(int part) const
{
    const LRESULT info = Send(SB_GETTEXTLENGTHA, part);
    std::string text(static_cast<size_t>(LOWORD(info)) + 1, '\0');
    Send(SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(strnlen(text.c_str(), text.size()));
    return text;
}

std::string CComboBox::GetLBText(int index) const
{
    const LRESULT length = Send(CB_GETLBTEXTLEN, index);
    if (length == CB_ERR)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    Send(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(strnlen(text.c_str(), text.size()));
    return text;
}
