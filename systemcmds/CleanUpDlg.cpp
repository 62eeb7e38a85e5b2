#include "systemcmds/CleanUpDlg.h"

#include "resources/CleanUpIds.h"
#include "resources/Texts.h"
#include "systemcmds/EntryStatusText.h"

#include <commctrl.h>

BEGIN_ROUTES(CCleanUpDlg, CDialog)
    ON_NOTIFY(LVN_ITEMCHANGING, IDC_CU_LIST, OnItemChanging)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_CU_LIST, OnItemChanged)
    ON_NOTIFY(NM_CUSTOMDRAW, IDC_CU_LIST, OnCustomDraw)
END_ROUTES()

namespace {

// The check box is the row's state image: 1 unticked, 2 ticked.
constexpr UINT kTicked = INDEXTOSTATEIMAGEMASK(2);
constexpr UINT kUnticked = INDEXTOSTATEIMAGEMASK(1);

} // namespace

CCleanUpDlg::CCleanUpDlg(HWND parent, std::vector<CleanUpEntry> offered)
    : CDialog(IDD_CLEAN_UP, parent), m_offered(std::move(offered))
{
}

BOOL CCleanUpDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.Attach(GetDlgItem(IDC_CU_LIST));
    m_list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const wchar_t* const headings[] = {TXT_COL_COMMAND, TXT_COL_PATH, TXT_COL_SCOPE, TXT_SYSTEM_COLUMN_STATUS};
    for (int column = 0; column < 4; ++column)
        m_list.InsertColumn(column, headings[column], LVCFMT_LEFT, 0);

    m_filling = true;
    for (size_t i = 0; i < m_offered.size(); ++i) {
        const CleanUpEntry& entry = m_offered[i];
        const int row = m_list.InsertItem(static_cast<int>(i), entry.displayName, -1, static_cast<LPARAM>(i));
        m_list.SetItemText(row, 1, entry.path);
        m_list.SetItemText(row, 2, ScopeText(entry.scope));
        const bool needsRights = entry.offer == CleanUpOffer::needsRights;
        m_list.SetItemText(row, 3, std::wstring(EntryStatusText(entry.status)) + (needsRights ? TXT_CU_NEEDS_RIGHTS : L""));
        LVITEMW state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = needsRights ? kUnticked : kTicked;
        m_list.Send(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
    m_filling = false;
    for (int column = 0; column < 4; ++column)
        m_list.SetColumnWidth(column, LVSCW_AUTOSIZE_USEHEADER);
    OnItemChanged(nullptr, nullptr);
    SetFocus(m_list.GetSafeHwnd());
    return FALSE; // the focus is set
}

bool CCleanUpDlg::IsTicked(int row) const
{
    return (m_list.Send(LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) == kTicked;
}

bool CCleanUpDlg::IsGreyed(int row) const
{
    const std::optional<size_t> index = m_list.GetItemIndex(row, m_offered.size());
    return index && m_offered[*index].offer == CleanUpOffer::needsRights;
}

void CCleanUpDlg::OnOK()
{
    m_chosen.clear();
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const std::optional<size_t> index = m_list.GetItemIndex(row, m_offered.size());
        if (index && IsTicked(row) && !IsGreyed(row))
            m_chosen.push_back(m_offered[*index]);
    }
    if (!m_chosen.empty())
        EndDialog(IDOK);
}

void CCleanUpDlg::OnItemChanging(NMHDR* header, LRESULT* result)
{
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    // A greyed row's box stays unticked: the entry cannot be deleted.
    *result = !m_filling && (change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_STATEIMAGEMASK) == kTicked &&
              IsGreyed(change->iItem);
}

void CCleanUpDlg::OnItemChanged(NMHDR*, LRESULT* result)
{
    if (result)
        *result = 0;
    if (m_filling)
        return;
    bool any = false;
    for (int row = 0; row < m_list.GetItemCount() && !any; ++row)
        any = IsTicked(row) && !IsGreyed(row);
    CWindow(GetDlgItem(IDOK)).EnableWindow(any);
}

void CCleanUpDlg::OnCustomDraw(NMHDR* header, LRESULT* result)
{
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    *result = CDRF_DODEFAULT;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
    } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && IsGreyed(static_cast<int>(draw->nmcd.dwItemSpec))) {
        draw->clrText = GetSysColor(COLOR_GRAYTEXT);
    }
}
