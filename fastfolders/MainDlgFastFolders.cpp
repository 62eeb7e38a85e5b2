// The main window's Fast Folders list: add, edit and delete an item, and
// rebuild the list from the store in store order, so a row's position is
// its item's index.
#include "app/MainDlg.h"

#include "fastfolders/FastFolderStore.h"
#include "framework/AppInfo.h"
#include "framework/MessageBox.h"
#include "resources/Texts.h"

void CMainDlg::OnAddFolder()
{
    if (m_folderList.GetItemCount() > kFastFolderSlots - 1) {
        AppMessageBox(TXT_FASTFOLDER_MAXIMUM, MB_OK | MB_ICONINFORMATION);
        return;
    }
    CNewFastFolderDlg dialog(*this);
    dialog.DoModal(); // its OK handler has already rebuilt the list
}

void CMainDlg::OnEditFolder()
{
    const int row = m_folderList.GetFirstSelected();
    if (row < 0)
        return;
    const std::string alias = m_folderList.GetItemText(row, 0);
    const std::string path = m_folderList.GetItemText(row, 1);
    const std::string index = std::to_string(m_folderList.GetSelectionMark());
    CNewFastFolderDlg dialog(*this, alias, path, index);
    dialog.DoModal();
}

void CMainDlg::OnDeleteFolder()
{
    const int row = m_folderList.GetFirstSelected();
    if (row < 0)
        return;
    const std::string index = std::to_string(m_folderList.GetSelectionMark());
    const std::string alias = m_folderList.GetItemText(row, 0);
    const std::string question = LoadAppString(IDS_ASK_DELETE_FASTFOLDER) + " " + alias + "?";
    if (AppMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!DeleteFastFolder(index))
        AppMessageBox(IDS_NO_FASTFOLDER_DELETED, MB_OK);
    CompactFastFolders();
    RefreshFastFolderList();
}

void CMainDlg::RefreshFastFolderList()
{
    m_folderList.DeleteAllItems();
    for (int i = 0; i < kFastFolderSlots; ++i) {
        m_folderAliases[i].clear();
        m_folderPaths[i].clear();
    }
    const int count = ReadFastFolders(kFastFolderSlots, m_folderAliases, m_folderPaths);
    for (int i = 0; i < count; ++i)
        AddFastFolderRow(m_folderAliases[i], m_folderPaths[i]);
}
