#pragma once
// The Add/Edit Folder dialog: one alias and its folder, checked and handed
// to the Fast Folder store. An edited item is removed and appended, so it
// becomes the last entry.
#include "fastfolders/FastFolderStore.h"
#include "framework/Dialog.h"
#include "framework/EditorHost.h"

#include <string>

// The dialog's owner: tips, and the Fast Folders list rebuilt after OK.
class IFolderEditorHost : public IEditorHost {
public:
    virtual void RefreshFastFolderList() = 0;

protected:
    ~IFolderEditorHost() = default;
};

class CNewFastFolderDlg : public CDialog {
public:
    // Add.
    explicit CNewFastFolderDlg(IFolderEditorHost& host);
    // Edit the item at that index (decimal text).
    CNewFastFolderDlg(IFolderEditorHost& host, const std::wstring& alias, const std::wstring& path,
                      const std::wstring& index);
    ~CNewFastFolderDlg() override = default;

    bool OnHelpKey() override;
    void OnOK() override;

    bool IsEditMode() const { return m_bEdit; }

    DECLARE_ROUTES()

    void OnShowWindow(bool show, UINT status);
    void OnBrowse();
    void OnAliasFocus();
    void OnPathFocus();
    void OnHelp();

    std::wstring FieldText(int id) const;
    // Adds or replaces the item, asking about each unreadable one in the way.
    FastFolderWrite WriteToStore(const std::wstring& alias, const std::wstring& path);
    int EditedIndex() const;

    IFolderEditorHost& m_host;
    bool m_bEdit = false;
    std::wstring m_strAlias;
    std::wstring m_strPath;
    std::wstring m_strIndex;
};

// ---- The dialog's rules, platform-free ----

// The string id of the first empty field (alias, then path), or 0.
UINT FirstMissingFastFolderField(const std::wstring& alias, const std::wstring& path);
// True when the store can read both texts back (each fits in 259 bytes).
bool FitsFastFolderStore(const std::wstring& alias, const std::wstring& path);
