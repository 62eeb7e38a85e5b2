#pragma once
// The main window's Fast Folders page: its list, rebuilt whole from the
// store in store order (a row's position is its item's index), and the
// add, edit and delete handlers. It is the folder editor's host.
#include "fastfolders/FastFolderRules.h"
#include "fastfolders/NewFastFolderDlg.h"
#include "framework/ListPage.h"
#include "framework/PageHost.h"

#include <string>

class CFoldersPage : public CListPage, public IFolderEditorHost {
public:
    static constexpr int kFastFolderSlots = kMaxFastFolders;

    explicit CFoldersPage(IPageHost& host);

    // Columns at the list's set-up width.
    void SetUp();
    // Column widths for the width the frame gives all lists.
    void FitColumns(int clientWidth) const;
    // The frame's scale changed: images at the new size, rows anew.
    void OnScaleChanged();

    const std::wstring& FolderAlias(int index) const { return m_folderAliases[index]; }
    const std::wstring& FolderPath(int index) const { return m_folderPaths[index]; }

    void AddFastFolderRow(const std::wstring& alias, const std::wstring& path);
    void RefreshFastFolderList() override;
    void SetStatusTip(const std::wstring& text) override { m_host.SetStatusTip(text); }

    // Routed by the frame.
    void OnAddFolder();
    void OnEditFolder();
    void OnDeleteFolder();
    void OnRClick(NMHDR* header, LRESULT* result);
    void OnDblClk(NMHDR* header, LRESULT* result);
    void OnHotTrack(NMHDR* header, LRESULT* result);

private:
    std::wstring m_folderAliases[kFastFolderSlots];
    std::wstring m_folderPaths[kFastFolderSlots];
};
