#include "framework/ListPage.h"

#include "framework/DataExchange.h"
#include "framework/WindowDpi.h"

void CListPage::DoDataExchange(bool save, HWND frame)
{
    DDX_Control(save, frame, m_listId, m_list);
}

void CListPage::CleanUp()
{
    m_list.DeleteAllItems();
    m_images.Destroy();
}

void CListPage::SetUpList(std::initializer_list<ListColumn> columns)
{
    SetUpReportList(m_list, m_images, columns, SmallIconSizeForDpi(m_host.Scale().Dpi()));
}

void CListPage::ResizeImages() const
{
    m_images.SetIconSize(SmallIconSizeForDpi(m_host.Scale().Dpi()));
    // The list measures its rows by the image list it is given.
    m_list.SetImageList(m_images, LVSIL_SMALL);
}
