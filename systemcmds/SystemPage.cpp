#include "systemcmds/SystemPage.h"

#include "catalogue/CommandScopeRules.h"
#include "framework/MessageBox.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "regbackup/RestoreDlg.h"
#include "resources/MainWindowIds.h"
#include "resources/Texts.h"
#include "systemcmds/AppPathsStore.h"
#include "services/RowIconImages.h"
#include "systemcmds/SystemCommandRules.h"

namespace {

// A blocked window paints nothing by itself; move and repaint the bar now
// and then so the user sees the load advance without paying a paint per
// entry. The control repaints itself for every position it is given, which
// cost more than reading the entry: it is given one only at these moments.
constexpr DWORD kProgressPaintMs = 50;

} // namespace

CSystemPage::CSystemPage(IPageHost& host) : CListPage(host, IDC_SYSTEM_LIST, TXT_COUNT_SYSTEM) {}

CSystemPage::~CSystemPage() = default;

void CSystemPage::SetUp()
{
    const CDpiScale& s = m_host.Scale();
    const int b = RectWidth(m_list.GetClientRect()) / 10;
    SetUpList({{TXT_COL_COMMAND, 3 * b}, {TXT_COL_PATH, 3 * b - s(15)}, {TXT_COL_SCOPE, 2 * b}});
}

void CSystemPage::FitColumns(int clientWidth) const
{
    const int w = clientWidth / 10;
    const int gap = m_host.Scale()(2);
    m_list.SetColumnWidth(0, 3 * w);
    m_list.SetColumnWidth(1, 5 * (w - gap));
    m_list.SetColumnWidth(2, 2 * (w - gap));
}

void CSystemPage::OnScaleChanged()
{
    ResizeImages();
    if (m_systemIcons) {
        // The rows ask for their icons again when they are next drawn.
        m_systemIcons = std::make_unique<CRowIconImages>(m_images);
        InvalidateRect(m_list.GetSafeHwnd(), nullptr, TRUE);
    }
}

void CSystemPage::CleanUp()
{
    m_systemIcons.reset(); // it adds to the image list the base frees
    CListPage::CleanUp();
}

int CSystemPage::CountAppPathsEntries()
{
    CAppPathsWalk walk;
    return walk.Open() ? static_cast<int>(walk.Count()) : 0;
}

void CSystemPage::LoadSystemCommands()
{
    const CProgressCtrl& progress = m_host.Progress();
    m_list.DeleteAllItems();
    m_systemRows.clear();
    // Every row is rebuilt, so are the images: memory stays flat across reloads.
    m_systemIcons.reset();
    m_images.RemoveAll();
    m_systemIcons = std::make_unique<CRowIconImages>(m_images);

    // The machine's entries, then the user's: the Run dialog of this user
    // reads both.
    const CommandScope scopes[] = {CommandScope::machine, CommandScope::user};
    CAppPathsWalk walks[2];
    int count = 0;
    for (int i = 0; i < 2; ++i)
        count += walks[i].Open(scopes[i]) ? static_cast<int>(walks[i].Count()) : 0;
    // The 32-bit range: a machine with more than 65,535 entries must not wrap it.
    progress.Send(PBM_SETRANGE32, 0, count);
    progress.SetPos(0);
    progress.ShowWindow(SW_SHOW);
    UpdateWindow(progress.GetSafeHwnd());
    DWORD lastPaint = GetTickCount();
    int done = 0; // every entry counts, the skipped ones too
    int shown = 0;
    auto moveBar = [&] {
        shown = done;
        progress.SetPos(done);
        if (const auto& observe = Services().systemLoadStep)
            observe(progress);
    };

    // One repaint of the list at the end instead of one per row.
    m_list.Send(WM_SETREDRAW, FALSE);
    const std::wstring programFolder = GetProgramFolder();
    CRegistryKey entryKey;
    std::wstring name;
    for (int i = 0; i < 2; ++i) {
        CAppPathsWalk& walk = walks[i];
        for (DWORD index = 0;; ++index) {
            const CAppPathsWalk::Step step = walk.NameAt(index, name);
            if (step == CAppPathsWalk::Step::end)
                break;
            ++done;
            if (GetTickCount() - lastPaint >= kProgressPaintMs) {
                moveBar();
                UpdateWindow(progress.GetSafeHwnd());
                lastPaint = GetTickCount();
            }

            if (step == CAppPathsWalk::Step::skipped)
                continue;
            const SystemCommandEntry entry = walk.ReadEntry(entryKey, name);
            if (IsOwnCommandTarget(entry.path))
                continue;
            const int row = m_list.InsertItem(m_list.GetItemCount(), entry.displayName, I_IMAGECALLBACK,
                                              static_cast<LPARAM>(m_systemRows.size()));
            m_list.SetItemText(row, 1, entry.path);
            m_list.SetItemText(row, 2, ScopeText(scopes[i]));
            m_systemRows.push_back({entry.keyName, scopes[i], entry.pathRead ? entry.path : programFolder});
        }
    }
    m_list.Send(WM_SETREDRAW, TRUE);
    InvalidateRect(m_list.GetSafeHwnd(), nullptr, TRUE);

    if (done != shown)
        moveBar(); // full, as the load ends
    progress.ShowWindow(SW_HIDE);
}

void CSystemPage::OnGetDispInfo(NMHDR* header, LRESULT* result)
{
    *result = 0;
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
    if ((info->item.mask & LVIF_IMAGE) == 0)
        return;
    const LPARAM rowIndex = m_list.GetItemData(info->item.iItem);
    info->item.iImage = -1;
    if (m_systemIcons && rowIndex >= 0 && static_cast<size_t>(rowIndex) < m_systemRows.size())
        info->item.iImage = m_systemIcons->ImageFor(m_systemRows[static_cast<size_t>(rowIndex)].iconTarget);
    info->item.mask |= LVIF_DI_SETITEM; // asked once per row
}

void CSystemPage::OnSystemReload()
{
    LoadSystemCommands();
}

void CSystemPage::OnSystemDelete()
{
    const int row = m_list.GetFirstSelected();
    // The row's own key: the shown name plus ".exe" may be another entry.
    const std::optional<size_t> keyIndex = m_list.GetItemIndex(row, m_systemRows.size());
    if (!keyIndex)
        return;
    const SystemRow& entry = m_systemRows[*keyIndex];
    if (entry.scope == CommandScope::machine && !m_host.RequireElevation(TXT_ACTION_DELETE_MACHINE_ENTRY))
        return;
    if (AppMessageBox(IDS_SYSTEM_DELETE_WARNING, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    const DeleteResult result = DeleteAppPathsEntry(entry.keyName, entry.scope);
    if (result.deleted) {
        m_list.DeleteItem(row);
        m_host.SetStatusTip(TXT_BACKUP_SAVED + result.backupFile);
    } else if (result.notSaved) {
        AppMessageBox(TXT_BACKUP_NOT_SAVED + result.why, MB_OK | MB_ICONSTOP);
    } else {
        AppMessageBox(IDS_NO_COMMAND_DELETED, MB_OK);
    }
}

// Takes the entry's full key name (x.com, WINWORD.EXE), kept with its row.
// The whole key is saved to a backup first, so it goes with its subkeys:
// "Restore deleted..." brings all of it back.
DeleteResult CSystemPage::DeleteAppPathsEntry(const std::wstring& keyName, CommandScope scope)
{
    return DeleteAppPathsEntryWithBackup(scope, keyName);
}

void CSystemPage::OnSystemRestore()
{
    CRestoreDlg dialog(m_host.OwnerWindow());
    if (dialog.DoModal() != IDOK)
        return;
    LoadSystemCommands();
    m_host.ShowCount(CountText());
    const AppPathsBackup& restored = dialog.Restored();
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const std::optional<size_t> index = m_list.GetItemIndex(row, m_systemRows.size());
        if (!index)
            continue;
        const SystemRow& entry = m_systemRows[*index];
        // The registry's own case rule, beyond ASCII too.
        if (entry.scope == restored.scope &&
            CompareStringOrdinal(entry.keyName.c_str(), -1, restored.shownName.c_str(), -1, TRUE) == CSTR_EQUAL) {
            m_list.SelectItem(row);
            m_list.Send(LVM_ENSUREVISIBLE, row, FALSE);
            SetFocus(m_list.GetSafeHwnd());
            break;
        }
    }
}

void CSystemPage::OnRClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    m_host.ShowContextMenu(IDR_SYSTEM_MENU, m_list);
}

void CSystemPage::OnHotTrack(NMHDR*, LRESULT* result)
{
    *result = 0;
    m_host.ShowCount(CountText());
}
