// The System Commands page: App Paths entries of other software, listed
// with a progress bar, reloaded and deleted after a warning.
#include "app/MainDlg.h"

#include "catalogue/CommandPaths.h"
#include "framework/MessageBox.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "resources/Texts.h"
#include "systemcmds/AppPathsStore.h"
#include "systemcmds/RowIconImages.h"
#include "systemcmds/SystemCommandRules.h"

namespace {

// A blocked window paints nothing by itself; repaint the bar now and then
// so the user sees the load advance without paying a paint per entry.
constexpr DWORD kProgressPaintMs = 50;

} // namespace

bool CMainDlg::EnumAppPathsSubkey(CRegistryKey& key, DWORD index, std::string& name)
{
    return EnumAppPathsKey(key, index, name);
}

int CMainDlg::CountAppPathsEntries()
{
    CRegistryKey key;
    std::string name;
    int count = 0;
    while (EnumAppPathsSubkey(key, static_cast<DWORD>(count), name))
        ++count;
    return count;
}

void CMainDlg::LoadSystemCommands()
{
    m_systemList.DeleteAllItems();
    m_systemKeyNames.clear();
    // Every row is rebuilt, so are the images: memory stays flat across reloads.
    m_systemImages.RemoveAll();

    const int count = CountAppPathsEntries();
    // The 32-bit range: a machine with more than 65,535 entries must not wrap it.
    m_progress.Send(PBM_SETRANGE32, 0, count);
    m_progress.SetStep(1);
    m_progress.SetPos(0);
    m_progress.ShowWindow(SW_SHOW);
    UpdateWindow(m_progress.GetSafeHwnd());
    DWORD lastPaint = GetTickCount();

    // One repaint of the list at the end instead of one per row.
    m_systemList.Send(WM_SETREDRAW, FALSE);
    CRowIconImages icons(m_systemImages);
    const std::string programFolder = GetProgramFolder();
    CRegistryKey key;
    std::string name;
    for (DWORD index = 0; EnumAppPathsSubkey(key, index, name); ++index) {
        m_progress.StepIt(); // every entry counts, the skipped ones too
        if (const auto& observe = Services().systemLoadStep)
            observe(m_progress);
        if (GetTickCount() - lastPaint >= kProgressPaintMs) {
            UpdateWindow(m_progress.GetSafeHwnd());
            lastPaint = GetTickCount();
        }

        const SystemCommandEntry entry = ReadSystemCommandEntry(key, name);
        if (IsOwnCommandTarget(entry.path))
            continue;
        const int image = icons.ImageFor(entry.pathRead ? entry.path : programFolder);
        const int row = m_systemList.InsertItem(m_systemList.GetItemCount(), entry.displayName, image);
        m_systemList.SetItemText(row, 1, entry.path);
        m_systemList.SetItemData(row, static_cast<LPARAM>(m_systemKeyNames.size()));
        m_systemKeyNames.push_back(entry.keyName);
    }
    m_systemList.Send(WM_SETREDRAW, TRUE);
    InvalidateRect(m_systemList.GetSafeHwnd(), nullptr, TRUE);

    m_progress.ShowWindow(SW_HIDE);
}

void CMainDlg::OnSystemReload()
{
    LoadSystemCommands();
}

void CMainDlg::OnSystemDelete()
{
    const int row = m_systemList.GetFirstSelected();
    if (row < 0)
        return;
    // The row's own key: the shown name plus ".exe" may be another entry.
    const LPARAM keyIndex = m_systemList.GetItemData(row);
    if (keyIndex < 0 || static_cast<size_t>(keyIndex) >= m_systemKeyNames.size())
        return;
    if (AppMessageBox(IDS_SYSTEM_DELETE_WARNING, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    if (DeleteAppPathsEntry(m_systemKeyNames[static_cast<size_t>(keyIndex)]))
        m_systemList.DeleteItem(row);
    else
        AppMessageBox(IDS_NO_COMMAND_DELETED, MB_OK);
}

// Takes the entry's full key name (x.com, WINWORD.EXE), kept with its row.
bool CMainDlg::DeleteAppPathsEntry(const std::string& keyName)
{
    return DeleteAppPathsKey(keyName);
}
