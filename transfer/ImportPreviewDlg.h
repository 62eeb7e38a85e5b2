#pragma once
// Shows what an import will add, replace and skip (with the reason) before
// anything is written; the Replace box plans again. Import ends the dialog
// with IDOK and the plan to write.
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "transfer/ImportPlan.h"

class CImportPreviewDlg : public CDialog {
public:
    CImportPreviewDlg(HWND parent, TransferRead read, ImportState state);

    BOOL OnInitDialog() override;
    void OnOK() override;

    const ImportPlan& Plan() const { return m_plan; }

    DECLARE_ROUTES()

    void OnReplaceClicked();
    void ShowPlan();
    void AddRow(const std::string& name, ImportAction action, const std::string& details);

    TransferRead m_read;
    ImportState m_state;
    ImportPlan m_plan;
    CListCtrl m_list;
};
