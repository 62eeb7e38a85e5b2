#include "fastfolders/NewFastFolderDlg.h"

#include "app/HtmlHelp.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/FolderBrowser.h"
#include "fastfolders/FastFolderStore.h"
#include "framework/Controls.h"
#include "framework/MessageBox.h"
#include "resources/FastFolderIds.h"
#include "resources/Texts.h"

namespace {

// Every reader of the store holds a text and its terminator in 260 bytes.
constexpr size_t kMaxStoredText = 259;

} // namespace

// ---- rules ----

UINT FirstMissingFastFolderField(const std::string& alias, const std::string& path)
{
    if (alias.empty())
        return IDS_ENTER_FASTFOLDER_ALIAS;
    if (path.empty())
        return IDS_ENTER_FASTFOLDER_PATH;
    return 0;
}

bool FitsFastFolderStore(const std::string& alias, const std::string& path)
{
    return alias.size() <= kMaxStoredText && path.size() <= kMaxStoredText;
}

// ---- the dialog ----

BEGIN_ROUTES(CNewFastFolderDlg, CDialog)
    ON_WM_SHOWWINDOW(OnShowWindow)
    ON_COMMAND(IDC_FF_BROWSE, OnBrowse)
    ON_CONTROL(EN_SETFOCUS, IDC_FF_ALIAS, OnAliasFocus)
    ON_CONTROL(EN_SETFOCUS, IDC_FF_PATH, OnPathFocus)
    ON_CONTROL(STN_CLICKED, IDC_FF_HELP, OnHelp)
END_ROUTES()

CNewFastFolderDlg::CNewFastFolderDlg(IFolderEditorHost& host) : CDialog(IDD_FAST_FOLDER, nullptr), m_host(host) {}

CNewFastFolderDlg::CNewFastFolderDlg(IFolderEditorHost& host, const std::string& alias, const std::string& path,
                                     const std::string& index)
    : CDialog(IDD_FAST_FOLDER, nullptr), m_host(host), m_bEdit(true), m_strAlias(alias), m_strPath(path),
      m_strIndex(index)
{
}

std::string CNewFastFolderDlg::FieldText(int id) const
{
    return CWindow(GetDlgItem(id)).GetText();
}

void CNewFastFolderDlg::OnShowWindow(bool, UINT)
{
    if (m_bEdit) {
        SetDlgItemTextA(m_hWnd, IDC_FF_ALIAS, m_strAlias.c_str());
        SetDlgItemTextA(m_hWnd, IDC_FF_PATH, m_strPath.c_str());
        SetWindowTextA(m_hWnd, TXT_FF_CAPTION_EDIT);
    }
}

void CNewFastFolderDlg::OnOK()
{
    const std::string alias = FieldText(IDC_FF_ALIAS);
    const std::string typedPath = FieldText(IDC_FF_PATH);
    if (const UINT missing = FirstMissingFastFolderField(alias, typedPath)) {
        AppMessageBox(missing, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // Trimmed for storing only; the field keeps what the user typed.
    const std::string path = TrimTrailingBackslashes(typedPath);
    if (!IsExistingFolder(path)) {
        AppMessageBox(IDS_NOT_A_FOLDER, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // Refused before anything is written, so an edited item is never
    // replaced by one that could not be read back.
    if (!FitsFastFolderStore(alias, path)) {
        AppMessageBox(TXT_FF_TOO_LONG, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (m_bEdit) {
        DeleteFastFolder(m_strIndex);
        CompactFastFolders();
    }
    if (!AddFastFolder(alias, path))
        AppMessageBox(TXT_FASTFOLDER_NOT_ADDED, MB_OK);
    // The list shows what the store really holds, whatever happened above.
    m_host.RefreshFastFolderList();
    EndDialog(IDOK);
}

bool CNewFastFolderDlg::OnHelpKey()
{
    OnHelp();
    return true;
}

void CNewFastFolderDlg::OnHelp()
{
    ShowHelpTopic(HelpTopicPath(kFastFolderHelpTopic));
}

void CNewFastFolderDlg::OnBrowse()
{
    const std::string chosen =
        BrowseUntilFolder(m_hWnd, TXT_FF_FOLDER_TITLE, TXT_CHOOSE_VALID_FOLDER, FieldText(IDC_FF_PATH));
    SetDlgItemTextA(m_hWnd, IDC_FF_PATH, chosen.c_str());
}

void CNewFastFolderDlg::OnAliasFocus()
{
    m_host.SetStatusTip(TXT_FF_TIP_ALIAS);
}

void CNewFastFolderDlg::OnPathFocus()
{
    m_host.SetStatusTip(TXT_FF_TIP_PATH);
}
