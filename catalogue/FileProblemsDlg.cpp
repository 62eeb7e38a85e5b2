#include "catalogue/FileProblemsDlg.h"

#include "framework/CodePage.h"
#include "framework/MessageBox.h"
#include "resources/FileProblemsIds.h"
#include "resources/Texts.h"

#include <utility>


CFileProblemsDlg::CFileProblemsDlg(std::vector<std::wstring> problems, HWND parent)
    : CDialog(IDD_FILE_PROBLEMS, parent), m_problems(std::move(problems))
{
}

BOOL CFileProblemsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemTextW(m_hWnd, IDC_FP_LABEL,
                    (TXT_UNREADABLE_FILES_BEFORE + std::to_wstring(m_problems.size()) + TXT_UNREADABLE_FILES_AFTER)
                        .c_str());
    std::wstring list;
    for (const std::wstring& problem : m_problems)
        list += problem + L"\r\n";
    SetDlgItemTextW(m_hWnd, IDC_FP_LIST, list.c_str());
    return TRUE;
}

void ReportUnreadableCommandFiles(const std::vector<std::wstring>& problems, HWND parent)
{
    if (problems.size() == 1) {
        AppMessageBox(problems.front(), MB_OK | MB_ICONSTOP);
    } else if (problems.size() > 1) {
        CFileProblemsDlg dialog(problems, parent);
        dialog.DoModal();
    }
}
