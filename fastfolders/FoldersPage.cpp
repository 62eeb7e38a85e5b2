#include "fastfolders/FoldersPage.h"

#include "services/TargetIcon.h"
#include "catalogue/CommandPaths.h"
#include "fastfolders/FastFolderStore.h"
#include "framework/AppInfo.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/MessageBox.h"
#include "resources/MainWindowIds.h"
#include "resources/Texts.h"

CFoldersPage::CFoldersPage(IPageHost& host) : CListPage(host, IDC_FOLDER_LIST, TXT_COUNT_FOLDERS) {}

void CFoldersPage::SetUp()
{
    const CDpiScale& s = m_host.Scale();
    const int b = RectWidth(m_list.GetClientRect()) / 10;
    SetUpList({{TXT_COL_ALIAS, 2 * b + s(5)}, {TXT_COL_DIRECTORY, 8 * b - s(2)}});
}

void CFoldersPage::FitColumns(int clientWidth) const
{
    const int w = clientWidth / 20;
    m_list.SetColumnWidth(0, 5 * w);
    m_list.SetColumnWidth(1, 15 * w);
}

void CFoldersPage::OnScaleChanged()
{
    // A new size empties the image list; the rows take their icons anew.
    ResizeImages();
    RefreshFastFolderList();
}

void CFoldersPage::AddFastFolderRow(const std::wstring& alias, const std::wstring& path)
{
    // The first row of a refresh empties the image list of the one before.
    if (m_list.GetItemCount() == 0)
        m_images.RemoveAll();
    CIconHandle icon(GetTargetIconOfSize(GetProgramFolder(), m_images.GetIconSize()));
    const int image = m_images.Add(icon.Get());
    const int row = m_list.InsertItem(m_list.GetItemCount(), alias, image);
    m_list.SetItemText(row, 1, path);
}

void CFoldersPage::RefreshFastFolderList()
{
    m_list.DeleteAllItems();
    for (int i = 0; i < kFastFolderSlots; ++i) {
        m_folderAliases[i].clear();
        m_folderPaths[i].clear();
    }
    const int count = ReadFastFolders(kFastFolderSlots, m_folderAliases, m_folderPaths);
    for (int i = 0; i < count; ++i)
        AddFastFolderRow(m_folderAliases[i], m_folderPaths[i]);
}

void CFoldersPage::OnAddFolder()
{
    if (m_list.GetItemCount() > kFastFolderSlots - 1) {
        AppMessageBox(TXT_FASTFOLDER_MAXIMUM, MB_OK | MB_ICONINFORMATION);
        return;
    }
    CNewFastFolderDlg dialog(*this);
    dialog.DoModal(); // its OK handler has already rebuilt the list
}

void CFoldersPage::OnEditFolder()
{
    const int row = m_list.GetFirstSelected();
    if (row < 0)
        return;
    const std::wstring alias = m_list.GetItemText(row, 0);
    const std::wstring path = m_list.GetItemText(row, 1);
    const std::wstring index = std::to_wstring(m_list.GetSelectionMark());
    CNewFastFolderDlg dialog(*this, alias, path, index);
    dialog.DoModal();
}

void CFoldersPage::OnDeleteFolder()
{
    const int row = m_list.GetFirstSelected();
    if (row < 0)
        return;
    const std::wstring index = std::to_wstring(m_list.GetSelectionMark());
    const std::wstring alias = m_list.GetItemText(row, 0);
    const std::wstring question = LoadAppString(IDS_ASK_DELETE_FASTFOLDER) + L" " + alias + L"?";
    if (AppMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!DeleteFastFolder(index))
        AppMessageBox(IDS_NO_FASTFOLDER_DELETED, MB_OK);
    CompactFastFolders();
    RefreshFastFolderList();
}

void CFoldersPage::OnRClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    m_host.ShowContextMenu(IDR_FOLDER_MENU, m_list);
}

void CFoldersPage::OnDblClk(NMHDR*, LRESULT* result)
{
    *result = 0;
    OnEditFolder();
}

void CFoldersPage::OnHotTrack(NMHDR*, LRESULT* result)
{
    *result = 0;
    m_host.ShowCount(CountText());
}
