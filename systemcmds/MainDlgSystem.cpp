// The System Commands page: App Paths entries of other software, listed
// with a progress bar, reloaded, deleted after a warning (each saved to a
// backup first) and restored from those backups.
#include "app/MainDlg.h"

#include "catalogue/CommandPaths.h"
#include "catalogue/CommandScopeRules.h"
#include "framework/MessageBox.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "regbackup/AppPathsBackup.h"
#include "regbackup/RestoreDlg.h"
#include "resources/Texts.h"
#include "systemcmds/AppPathsStore.h"
#include "systemcmds/RowIconImages.h"
#include "systemcmds/SystemCommandRules.h"

namespace {

// A blocked window paints nothing by itself; repaint the bar now and then
// so the user sees the load advance without paying a paint per entry.
constexpr DWORD kProgressPaintMs = 50;

} // namespace

int CMainDlg::CountAppPathsEntries()
{
    CAppPathsWalk walk;
    return walk.Open() ? static_cast<int>(walk.Count()) : 0;
}

void CMainDlg::LoadSystemCommands()
{
    m_systemList.DeleteAllItems();
    m_systemRows.clear();
    // Every row is rebuilt, so are the images: memory stays flat across reloads.
    m_systemIcons.reset();
    m_systemImages.RemoveAll();
    m_systemIcons = std::make_unique<CRowIconImages>(m_systemImages);

    // The machine's entries, then the user's: the Run dialog of this user
    // reads both.
    const CommandScope scopes[] = {CommandScope::machine, CommandScope::user};
    CAppPathsWalk walks[2];
    int count = 0;
    for (int i = 0; i < 2; ++i)
        count += walks[i].Open(scopes[i]) ? static_cast<int>(walks[i].Count()) : 0;
    // The 32-bit range: a machine with more than 65,535 entries must not wrap it.
    m_progress.Send(PBM_SETRANGE32, 0, count);
    m_progress.SetStep(1);
    m_progress.SetPos(0);
    m_progress.ShowWindow(SW_SHOW);
    UpdateWindow(m_progress.GetSafeHwnd());
    DWORD lastPaint = GetTickCount();

    // One repaint of the list at the end instead of one per row.
    m_systemList.Send(WM_SETREDRAW, FALSE);
    const std::string programFolder = GetProgramFolder();
    CRegistryKey entryKey;
    std::string name;
    for (int i = 0; i < 2; ++i) {
        CAppPathsWalk& walk = walks[i];
        for (DWORD index = 0;; ++index) {
            const CAppPathsWalk::Step step = walk.NameAt(index, name);
            if (step == CAppPathsWalk::Step::end)
                break;
            m_progress.StepIt(); // every entry counts, the skipped ones too
            if (const auto& observe = Services().systemLoadStep)
                observe(m_progress);
            if (GetTickCount() - lastPaint >= kProgressPaintMs) {
                UpdateWindow(m_progress.GetSafeHwnd());
                lastPaint = GetTickCount();
            }

            if (step == CAppPathsWalk::Step::skipped)
                continue;
            const SystemCommandEntry entry = walk.ReadEntry(entryKey, name);
            if (IsOwnCommandTarget(entry.path))
                continue;
            const int row = m_systemList.InsertItem(m_systemList.GetItemCount(), entry.displayName, I_IMAGECALLBACK,
                                                    static_cast<LPARAM>(m_systemRows.size()));
            m_systemList.SetItemText(row, 1, entry.path);
            m_systemList.SetItemText(row, 2, ScopeText(scopes[i]));
            m_systemRows.push_back({entry.keyName, scopes[i], entry.pathRead ? entry.path : programFolder});
        }
    }
    m_systemList.Send(WM_SETREDRAW, TRUE);
    InvalidateRect(m_systemList.GetSafeHwnd(), nullptr, TRUE);

    m_progress.ShowWindow(SW_HIDE);
}

void CMainDlg::OnSystemListGetDispInfo(NMHDR* header, LRESULT* result)
{
    *result = 0;
    // The A and W forms share the item's layout up to the fields used here.
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
    if ((info->item.mask & LVIF_IMAGE) == 0)
        return;
    const LPARAM rowIndex = m_systemList.GetItemData(info->item.iItem);
    info->item.iImage = -1;
    if (m_systemIcons && rowIndex >= 0 && static_cast<size_t>(rowIndex) < m_systemRows.size())
        info->item.iImage = m_systemIcons->ImageFor(m_systemRows[static_cast<size_t>(rowIndex)].iconTarget);
    info->item.mask |= LVIF_DI_SETITEM; // asked once per row
}

void CMainDlg::OnSystemReload()
{
    LoadSystemCommands();
}

void CMainDlg::OnSystemDelete()
{
    const int row = m_systemList.GetFirstSelected();
    // The row's own key: the shown name plus ".exe" may be another entry.
    const std::optional<size_t> keyIndex = m_systemList.GetItemIndex(row, m_systemRows.size());
    if (!keyIndex)
        return;
    const SystemRow& entry = m_systemRows[*keyIndex];
    if (entry.scope == CommandScope::machine && !RequireElevation(TXT_ACTION_DELETE_MACHINE_ENTRY))
        return;
    if (AppMessageBox(IDS_SYSTEM_DELETE_WARNING, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    const DeleteResult result = DeleteAppPathsEntry(entry.keyName, entry.scope);
    if (result.deleted) {
        m_systemList.DeleteItem(row);
        SetStatusTip(TXT_BACKUP_SAVED + result.backupFile);
    } else if (result.notSaved) {
        AppMessageBox(TXT_BACKUP_NOT_SAVED + result.why, MB_OK | MB_ICONSTOP);
    } else {
        AppMessageBox(IDS_NO_COMMAND_DELETED, MB_OK);
    }
}

// Takes the entry's full key name (x.com, WINWORD.EXE), kept with its row.
// The whole key is saved to a backup first, so it goes with its subkeys:
// "Restore deleted..." brings all of it back.
DeleteResult CMainDlg::DeleteAppPathsEntry(const std::string& keyName, CommandScope scope)
{
    return DeleteAppPathsEntryWithBackup(scope, keyName);
}

void CMainDlg::OnSystemRestore()
{
    CRestoreDlg dialog(m_hWnd);
    if (dialog.DoModal() != IDOK)
        return;
    LoadSystemCommands();
    UpdateCountPane(ListKind::system);
    const AppPathsBackup& restored = dialog.Restored();
    for (int row = 0; row < m_systemList.GetItemCount(); ++row) {
        const std::optional<size_t> index = m_systemList.GetItemIndex(row, m_systemRows.size());
        if (!index)
            continue;
        const SystemRow& entry = m_systemRows[*index];
        if (entry.scope == restored.scope && _stricmp(entry.keyName.c_str(), restored.shownName.c_str()) == 0) {
            m_systemList.SelectItem(row);
            m_systemList.Send(LVM_ENSUREVISIBLE, row, FALSE);
            SetFocus(m_systemList.GetSafeHwnd());
            break;
        }
    }
}
