#pragma once
// A page of the main window that shows one report list: the list of the
// frame's template and the small-icon images it alone uses, on the frame's
// host. The frame places the list; the page fills it and handles it.
#include "framework/Controls.h"
#include "framework/PageHost.h"

#include <initializer_list>
#include <string>

class CListPage {
public:
    CListPage(const CListPage&) = delete;
    CListPage& operator=(const CListPage&) = delete;

    // Binds the list of the frame's template.
    void DoDataExchange(bool save, HWND frame);
    // Empties the list and frees its images, while the window still exists.
    void CleanUp();

    const CListCtrl& List() const { return m_list; }
    const CImageList& Images() const { return m_images; }
    // The row count and the page's noun, for pane 3.
    std::wstring CountText() const { return std::to_wstring(m_list.GetItemCount()) + m_countSuffix; }

protected:
    CListPage(IPageHost& host, int listId, const wchar_t* countSuffix)
        : m_host(host), m_listId(listId), m_countSuffix(countSuffix)
    {
    }
    ~CListPage() = default;

    // The columns at set-up width and a fresh image list at the frame's scale.
    void SetUpList(std::initializer_list<ListColumn> columns);
    // The image list at the frame's scale, which empties it.
    void ResizeImages() const;

    IPageHost& m_host;
    CListCtrl m_list;
    CImageList m_images;

private:
    int m_listId;
    const wchar_t* m_countSuffix;
};
