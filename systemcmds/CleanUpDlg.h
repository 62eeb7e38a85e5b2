#pragma once
// The Remove Broken Entries dialog: the offered entries with a check box
// each (name, path, scope, status), all ticked; those whose scope needs
// administrator rights the program lacks are greyed, unticked and say why.
// Remove closes it with the ticked ones; the page removes them.
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "systemcmds/BrokenEntryRemoval.h"

#include <vector>

class CCleanUpDlg : public CDialog {
public:
    CCleanUpDlg(HWND parent, std::vector<CleanUpEntry> offered);

    BOOL OnInitDialog() override;
    void OnOK() override;

    // After IDOK: the ticked entries.
    const std::vector<CleanUpEntry>& Chosen() const { return m_chosen; }
    const CListCtrl& List() const { return m_list; }
    bool IsTicked(int row) const;

    DECLARE_ROUTES()

    void OnItemChanging(NMHDR* header, LRESULT* result);
    void OnItemChanged(NMHDR* header, LRESULT* result);
    void OnCustomDraw(NMHDR* header, LRESULT* result);

private:
    bool IsGreyed(int row) const;

    std::vector<CleanUpEntry> m_offered;
    std::vector<CleanUpEntry> m_chosen;
    CListCtrl m_list;
    bool m_filling = false;
};
