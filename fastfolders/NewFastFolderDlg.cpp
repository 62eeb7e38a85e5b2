#include "fastfolders/NewFastFolderDlg.h"

#include "services/HtmlHelp.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/FolderBrowser.h"
#include "fastfolders/FastFolderStore.h"
#include "framework/Controls.h"
#include "framework/MessageBox.h"
#include "resources/FastFolderIds.h"
#include "resources/Texts.h"

#include <cstdlib>

namespace {

// Every reader of the store holds a text and its terminator in 260 characters.
constexpr size_t kMaxStoredText = 259;

} // namespace

// ---- rules ----

UINT FirstMissingFastFolderField(const std::wstring& alias, const std::wstring& path)
{
    if (alias.empty())
        return IDS_ENTER_FASTFOLDER_ALIAS;
    if (path.empty())
        return IDS_ENTER_FASTFOLDER_PATH;
    return 0;
}

bool FitsFastFolderStore(const std::wstring& alias, const std::wstring& path)
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

CNewFastFolderDlg::CNewFastFolderDlg(IFolderEditorHost& host, const std::wstring& alias, const std::wstring& path,
                                     const std::wstring& index)
    : CDialog(IDD_FAST_FOLDER, nullptr), m_host(host), m_bEdit(true), m_strAlias(alias), m_strPath(path),
      m_strIndex(index)
{
}

std::wstring CNewFastFolderDlg::FieldText(int id) const
{
    return CWindow(GetDlgItem(id)).GetText();
}

void CNewFastFolderDlg::OnShowWindow(bool, UINT)
{
    if (m_bEdit) {
        SetDlgItemTextW(m_hWnd, IDC_FF_ALIAS, m_strAlias.c_str());
        SetDlgItemTextW(m_hWnd, IDC_FF_PATH, m_strPath.c_str());
        SetWindowTextW(m_hWnd, TXT_FF_CAPTION_EDIT);
    }
}

void CNewFastFolderDlg::OnOK()
{
    const std::wstring alias = FieldText(IDC_FF_ALIAS);
    const std::wstring typedPath = FieldText(IDC_FF_PATH);
    if (const UINT missing = FirstMissingFastFolderField(alias, typedPath)) {
        AppMessageBox(missing, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // Trimmed for storing only; the field keeps what the user typed.
    const std::wstring path = TrimTrailingBackslashes(typedPath);
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
    const FastFolderWrite result = WriteToStore(alias, path);
    // The list shows what the store really holds, whatever happened.
    m_host.RefreshFastFolderList();
    switch (result) {
    case FastFolderWrite::blocked: return; // the user kept the store as it was: the fields stay
    case FastFolderWrite::full: AppMessageBox(TXT_FASTFOLDER_MAXIMUM, MB_OK | MB_ICONINFORMATION); break;
    case FastFolderWrite::failed: AppMessageBox(TXT_FASTFOLDER_NOT_ADDED, MB_OK); break;
    case FastFolderWrite::done: break;
    }
    EndDialog(IDOK);
}

FastFolderWrite CNewFastFolderDlg::WriteToStore(const std::wstring& alias, const std::wstring& path)
{
    for (;;) {
        int blocked = -1;
        const FastFolderWrite result = m_bEdit ? ReplaceFastFolder(EditedIndex(), alias, path, blocked)
                                               : AddFastFolder(alias, path, blocked);
        if (result != FastFolderWrite::blocked)
            return result;
        // Only the user's Yes removes an item; each one in the way is asked for.
        const std::wstring question = TXT_FF_BLOCKED_BEFORE + std::to_wstring(blocked) + TXT_FF_BLOCKED_AFTER;
        if (AppMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return FastFolderWrite::blocked;
        if (!RemoveFastFolderItem(blocked))
            return FastFolderWrite::failed;
    }
}

int CNewFastFolderDlg::EditedIndex() const
{
    wchar_t* end = nullptr;
    const long index = std::wcstol(m_strIndex.c_str(), &end, 10);
    return end != m_strIndex.c_str() && index >= 0 && index < kMaxFastFolders ? static_cast<int>(index) : -1;
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
    const std::wstring chosen =
        BrowseUntilFolder(m_hWnd, TXT_FF_FOLDER_TITLE, TXT_CHOOSE_VALID_FOLDER, FieldText(IDC_FF_PATH));
    SetDlgItemTextW(m_hWnd, IDC_FF_PATH, chosen.c_str());
}

void CNewFastFolderDlg::OnAliasFocus()
{
    m_host.SetStatusTip(TXT_FF_TIP_ALIAS);
}

void CNewFastFolderDlg::OnPathFocus()
{
    m_host.SetStatusTip(TXT_FF_TIP_PATH);
}
