#include "app/FileProblemsDlg.h"

#include "framework/MessageBox.h"
#include "resources/FileProblemsIds.h"
#include "resources/Texts.h"

#include <utility>

namespace {

// The texts are the program's ANSI ones; the controls take them wide.
void SetItemText(HWND dialog, int id, const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<size_t>(length) : 0);
    SetDlgItemTextW(dialog, id, wide.c_str());
}

} // namespace

CFileProblemsDlg::CFileProblemsDlg(std::vector<std::string> problems, HWND parent)
    : CDialog(IDD_FILE_PROBLEMS, parent), m_problems(std::move(problems))
{
}

BOOL CFileProblemsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(m_hWnd, IDC_FP_LABEL,
                TXT_UNREADABLE_FILES_BEFORE + std::to_string(m_problems.size()) + TXT_UNREADABLE_FILES_AFTER);
    std::string list;
    for (const std::string& problem : m_problems)
        list += problem + "\r\n";
    SetItemText(m_hWnd, IDC_FP_LIST, list);
    return TRUE;
}

void ReportUnreadableCommandFiles(const std::vector<std::string>& problems, HWND parent)
{
    if (problems.size() == 1) {
        AppMessageBox(problems.front(), MB_OK | MB_ICONSTOP);
    } else if (problems.size() > 1) {
        CFileProblemsDlg dialog(problems, parent);
        dialog.DoModal();
    }
}
