#pragma once
// The Add/Edit Folder dialog: one alias and its folder, checked and handed
// to the Fast Folder store. An edited item is removed and appended, so it
// becomes the last entry.
#include "framework/Dialog.h"

#include <string>

class CMainDlg;

class CNewFastFolderDlg : public CDialog {
public:
    // Add.
    CNewFastFolderDlg(HWND parent, CMainDlg* mainDlg);
    // Edit the item at that index (decimal text).
    CNewFastFolderDlg(HWND parent, CMainDlg* mainDlg, const std::string& alias, const std::string& path,
                      const std::string& index);
    ~CNewFastFolderDlg() override = default;

    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override;

    bool IsEditMode() const { return m_bEdit; }

    DECLARE_ROUTES()

    BOOL OnShowWindow(WPARAM, LPARAM, LRESULT& result);
    void OnBrowse();
    void OnAliasFocus();
    void OnPathFocus();
    void OnHelp();

    std::string BrowseForFastFolder(const std::string& current);
    std::string FieldText(int id) const;

    CMainDlg* m_pMainDlg;
    bool m_bEdit = false;
    std::string m_strAlias;
    std::string m_strPath;
    std::string m_strIndex;
};

// ---- The dialog's rules, platform-free ----

// Drops trailing backslashes, but keeps a three-character path (C:\).
std::string TrimFolderBackslashes(std::string path);
// The string id of the first empty field (alias, then path), or 0.
UINT FirstMissingFastFolderField(const std::string& alias, const std::string& path);
// True when the store can read both texts back (each fits in 259 bytes).
bool FitsFastFolderStore(const std::string& alias, const std::string& path);
