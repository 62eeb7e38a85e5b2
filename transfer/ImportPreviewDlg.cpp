#include "transfer/ImportPreviewDlg.h"

#include "framework/CodePage.h"

#include "framework/WindowDpi.h"
#include "resources/Texts.h"
#include "resources/TransferIds.h"

#include <utility>

namespace {

bool Writes(const ImportCounts& counts)
{
    return counts.add + counts.replace + counts.repair > 0;
}

} // namespace

BEGIN_ROUTES(CImportPreviewDlg, CDialog)
    ON_CONTROL(BN_CLICKED, IDC_IMPORT_REPLACE, OnReplaceClicked)
END_ROUTES()

CImportPreviewDlg::CImportPreviewDlg(HWND parent, TransferRead read, ImportState state)
    : CDialog(IDD_IMPORT_PREVIEW, parent), m_read(std::move(read)), m_state(std::move(state))
{
}

BOOL CImportPreviewDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.Attach(GetDlgItem(IDC_IMPORT_LIST));
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    // Shares of the list's width, so the columns follow the template's scale.
    const int width = RectWidth(m_list.GetClientRect()) - SystemMetricForDpi(SM_CXVSCROLL, DpiOfWindow(m_hWnd));
    m_list.InsertColumn(0, TXT_IMPORT_COL_NAME, LVCFMT_LEFT, width * 3 / 10);
    m_list.InsertColumn(1, TXT_IMPORT_COL_ACTION, LVCFMT_LEFT, width * 2 / 10);
    m_list.InsertColumn(2, TXT_IMPORT_COL_DETAILS, LVCFMT_LEFT, width - width * 3 / 10 - width * 2 / 10);
    ShowPlan();
    return TRUE;
}

void CImportPreviewDlg::OnReplaceClicked()
{
    ShowPlan();
}

void CImportPreviewDlg::ShowPlan()
{
    const bool replace = IsDlgButtonChecked(m_hWnd, IDC_IMPORT_REPLACE) == BST_CHECKED;
    m_plan = PlanImport(m_read, m_state, {replace, std::nullopt});
    {
        CRedrawPause pause(m_list);
        m_list.DeleteAllItems();
        for (const PlannedCommand& planned : m_plan.commands) {
            const TransferCommand& command = planned.command;
            const std::string what = command.target + (command.parameters.empty() ? "" : " " + command.parameters) +
                                     " (" + (command.scope == CommandScope::user ? "just me" : "all users") + ")";
            const std::string details = planned.action == ImportAction::skip ? planned.reason
                                        : planned.action == ImportAction::repair
                                            ? "Its Run-dialog entry or shortcut was removed or changed: " + what
                                            : what;
            AddRow(command.name.empty() ? "(no name)" : command.name, planned.action, details);
        }
        for (const PlannedFolder& planned : m_plan.folders)
            AddRow(planned.folder.alias.empty() ? "(no alias)" : planned.folder.alias, planned.action,
                   planned.action == ImportAction::skip ? planned.reason : "Fast Folder: " + planned.folder.path);
    }
    const ImportCounts counts = CountPlan(m_plan);
    // Repairs are rare: named only when there are some.
    const std::string repair = counts.repair ? std::to_string(counts.repair) + " to repair, " : std::string();
    SetDlgItemTextW(m_hWnd, IDC_IMPORT_SUMMARY,
                    ShownUtf8(std::to_string(counts.add) + " to add, " + std::to_string(counts.replace) + " to replace, " +
                     repair + std::to_string(counts.same) + " already there, " + std::to_string(counts.skip) +
                     " to skip. Nothing is written until you choose Import.")
                        .c_str());
    EnableWindow(GetDlgItem(IDOK), Writes(counts));
}

void CImportPreviewDlg::AddRow(const std::string& name, ImportAction action, const std::string& details)
{
    // The plan's texts are UTF-8, as the file holds them.
    const int row = m_list.InsertItem(m_list.GetItemCount(), ShownUtf8(name), -1);
    m_list.SetItemText(row, 1, ShownUtf8(ImportActionName(action)));
    m_list.SetItemText(row, 2, ShownUtf8(details));
}

void CImportPreviewDlg::OnOK()
{
    if (Writes(CountPlan(m_plan)))
        EndDialog(IDOK);
}
