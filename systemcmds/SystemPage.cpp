#include "systemcmds/SystemPage.h"

#include "catalogue/CommandScopeRules.h"
#include "framework/MessageBox.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "framework/Elevation.h"
#include "regbackup/RestoreDlg.h"
#include "resources/MainWindowIds.h"
#include "resources/Texts.h"
#include "services/RowIconImages.h"
#include "systemcmds/AppPathsStore.h"
#include "systemcmds/BrokenEntryRemoval.h"
#include "systemcmds/CleanUpDlg.h"
#include "systemcmds/EntryProbe.h"
#include "systemcmds/EntryStatusText.h"
#include "systemcmds/SystemCommandRules.h"

#include <algorithm>

namespace {

// A blocked window paints nothing by itself; move and repaint the bar now
// and then so the user sees the load advance without paying a paint per
// entry. The control repaints itself for every position it is given, which
// cost more than reading the entry: it is given one only at these moments.
constexpr DWORD kProgressPaintMs = 50;

constexpr int kStatusColumn = 3;

const wchar_t* RowStatusText(const std::optional<EntryStatus>& status)
{
    return status ? EntryStatusText(*status) : L"";
}

// The text a row is sorted by in a column, as the list shows it.
std::wstring SortText(const std::wstring& displayName, const std::wstring& path, CommandScope scope,
                      const std::optional<EntryStatus>& status, int column)
{
    switch (column) {
    case 0: return displayName;
    case 1: return path;
    case 2: return ScopeText(scope);
    default: return RowStatusText(status);
    }
}

} // namespace

CSystemPage::CSystemPage(IPageHost& host) : CListPage(host, IDC_SYSTEM_LIST, TXT_COUNT_SYSTEM) {}

CSystemPage::~CSystemPage() = default;

void CSystemPage::SetUp()
{
    const CDpiScale& s = m_host.Scale();
    const int b = RectWidth(m_list.GetClientRect()) / 10;
    SetUpList({{TXT_COL_COMMAND, 3 * b},
               {TXT_COL_PATH, 3 * b - s(15)},
               {TXT_COL_SCOPE, 2 * b},
               {TXT_SYSTEM_COLUMN_STATUS, 2 * b}});
}

void CSystemPage::FitColumns(int clientWidth) const
{
    const int w = clientWidth / 10;
    const int gap = m_host.Scale()(2);
    // Status is wide enough for "Not checked (network)", Scope for its two words.
    m_list.SetColumnWidth(0, 5 * w / 2);
    m_list.SetColumnWidth(1, 4 * (w - gap));
    m_list.SetColumnWidth(2, 3 * (w - gap) / 2);
    m_list.SetColumnWidth(kStatusColumn, 2 * (w - gap));
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
    m_pass.Cancel();
    DropPostedBatches();
    m_systemIcons.reset(); // it adds to the image list the base frees
    CListPage::CleanUp();
}

void CSystemPage::DropPostedBatches() const
{
    const HWND window = m_host.OwnerWindow();
    MSG message{};
    while (window && PeekMessageW(&message, window, kSystemStatusMessage, kSystemStatusMessage, PM_REMOVE))
        TakeStatusBatch(message.lParam);
}

std::wstring CSystemPage::CountText() const
{
    std::wstring text = CListPage::CountText();
    if (m_statusesKnown)
        text += L", " + std::to_wstring(m_brokenRows) + TXT_COUNT_BROKEN;
    return text;
}

int CSystemPage::CountAppPathsEntries()
{
    CAppPathsWalk walk;
    return walk.Open() ? static_cast<int>(walk.Count()) : 0;
}

void CSystemPage::LoadSystemCommands()
{
    const CProgressCtrl& progress = m_host.Progress();
    // The running pass judges rows that are about to go.
    m_pass.Cancel();
    ++m_generation;
    m_statusesKnown = false;
    m_brokenRows = 0;
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
    // An empty drive named by a shortcut shows no box. Shortcuts live in
    // the Cmds folders, never in System32.
    const CProbingThreadMode probing(CProbingThreadMode::System32::asSeen);
    CDriveKinds drives;
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
            // A command's entry is listed only when its shortcut is gone.
            const bool orphan = IsOwnCommandTarget(entry.path);
            if (orphan && !IsShortcutGone(entry.path, drives))
                continue;
            const int row = m_list.InsertItem(m_list.GetItemCount(), entry.displayName, I_IMAGECALLBACK,
                                              static_cast<LPARAM>(m_systemRows.size()));
            m_list.SetItemText(row, 1, entry.path);
            m_list.SetItemText(row, 2, ScopeText(scopes[i]));
            LVITEMW status{};
            status.iSubItem = kStatusColumn;
            status.pszText = LPSTR_TEXTCALLBACKW;
            m_list.Send(LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&status));
            m_systemRows.push_back({entry.keyName, scopes[i], entry.displayName, entry.path,
                                    entry.pathRead ? entry.path : programFolder, std::nullopt});
            if (orphan)
                SetRowStatus(m_systemRows.back(), EntryStatus::shortcutMissing);
        }
    }
    if (m_sortColumn >= 0 && m_sortColumn != kStatusColumn)
        SortRows();
    m_list.Send(WM_SETREDRAW, TRUE);
    InvalidateRect(m_list.GetSafeHwnd(), nullptr, TRUE);

    if (done != shown)
        moveBar(); // full, as the load ends
    progress.ShowWindow(SW_HIDE);
    StartStatusPass();
}

void CSystemPage::StartStatusPass()
{
    std::vector<EntryToJudge> rows;
    rows.reserve(m_systemRows.size());
    for (const SystemRow& row : m_systemRows)
        rows.push_back({row.scope, row.keyName});
    if (!m_pass.Start(m_host.OwnerWindow(), kSystemStatusMessage, m_generation, std::move(rows)))
        m_statusesKnown = false; // no thread: the column stays empty, the count plain
}

void CSystemPage::SetRowStatus(SystemRow& row, EntryStatus status)
{
    if (row.listed && row.status && CountsAsBroken(*row.status))
        --m_brokenRows;
    row.status = status;
    if (row.listed && CountsAsBroken(status))
        ++m_brokenRows;
}

BOOL CSystemPage::OnStatusBatch(WPARAM, LPARAM lParam, LRESULT& result)
{
    result = 0;
    const std::unique_ptr<StatusBatch> batch = TakeStatusBatch(lParam);
    if (!batch || batch->generation != m_generation)
        return TRUE; // a pass of rows since reloaded
    for (size_t i = 0; i < batch->statuses.size() && batch->first + i < m_systemRows.size(); ++i)
        SetRowStatus(m_systemRows[batch->first + i], batch->statuses[i]);
    if (batch->last) {
        m_statusesKnown = true;
        if (m_sortColumn == kStatusColumn)
            SortRows();
    }
    InvalidateRect(m_list.GetSafeHwnd(), nullptr, FALSE);
    if (m_list.HasVisibleStyle()) // the page is the one shown
        m_host.ShowCount(CountText());
    return TRUE;
}

void CSystemPage::OnColumnClick(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
    m_sortReverse = column == m_sortColumn && !m_sortReverse;
    m_sortColumn = column;
    SortRows();
}

int CALLBACK CSystemPage::CompareRows(LPARAM first, LPARAM second, LPARAM page)
{
    const auto& self = *reinterpret_cast<const CSystemPage*>(page);
    const size_t count = self.m_systemRows.size();
    if (first < 0 || second < 0 || static_cast<size_t>(first) >= count || static_cast<size_t>(second) >= count)
        return 0;
    const SystemRow& a = self.m_systemRows[static_cast<size_t>(first)];
    const SystemRow& b = self.m_systemRows[static_cast<size_t>(second)];
    const int column = self.m_sortColumn;
    int order = 0;
    try {
        const std::wstring left = SortText(a.displayName, a.path, a.scope, a.status, column);
        const std::wstring right = SortText(b.displayName, b.path, b.scope, b.status, column);
        // The user's own order of letters, as Explorer sorts names.
        order = CompareStringEx(LOCALE_NAME_USER_DEFAULT, LINGUISTIC_IGNORECASE, left.c_str(),
                                static_cast<int>(left.size()), right.c_str(), static_cast<int>(right.size()),
                                nullptr, nullptr, 0) - CSTR_EQUAL;
    } catch (...) {
        order = 0; // out of memory: the registry's order
    }
    // Equal texts keep the registry's order, in both directions.
    if (order == 0)
        return first < second ? -1 : first > second ? 1 : 0;
    return self.m_sortReverse ? -order : order;
}

void CSystemPage::SortRows() const
{
    if (m_sortColumn < 0)
        return;
    m_list.Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&CompareRows));
    ShowSortArrow();
}

void CSystemPage::ShowSortArrow() const
{
    const HWND header = reinterpret_cast<HWND>(m_list.Send(LVM_GETHEADER));
    const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int column = 0; column < columns; ++column) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (column == m_sortColumn)
            item.fmt |= m_sortReverse ? HDF_SORTDOWN : HDF_SORTUP;
        SendMessageW(header, HDM_SETITEMW, column, reinterpret_cast<LPARAM>(&item));
    }
}

void CSystemPage::OnGetDispInfo(NMHDR* header, LRESULT* result)
{
    *result = 0;
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
    const LPARAM rowIndex = m_list.GetItemData(info->item.iItem);
    const bool known = rowIndex >= 0 && static_cast<size_t>(rowIndex) < m_systemRows.size();
    if ((info->item.mask & LVIF_TEXT) && info->item.iSubItem == kStatusColumn && info->item.pszText &&
        info->item.cchTextMax > 0) {
        // Asked at each paint: the status arrives after the row.
        const wchar_t* text = known ? RowStatusText(m_systemRows[static_cast<size_t>(rowIndex)].status) : L"";
        const size_t length = std::min(wcslen(text), static_cast<size_t>(info->item.cchTextMax - 1));
        wmemcpy(info->item.pszText, text, length);
        info->item.pszText[length] = L'\0';
    }
    if ((info->item.mask & LVIF_IMAGE) == 0)
        return;
    info->item.iImage = -1;
    if (m_systemIcons && known)
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
        SystemRow& gone = m_systemRows[*keyIndex];
        if (gone.status && CountsAsBroken(*gone.status))
            --m_brokenRows;
        gone.listed = false;
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
    if (dialog.DoModal() != IDOK || dialog.Restored().empty())
        return;
    LoadSystemCommands();
    m_host.ShowCount(CountText());
    // The first restored entry is selected: the list selects one row.
    const AppPathsBackup& restored = dialog.Restored().front();
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

void CSystemPage::OnSystemCleanUp()
{
    if (!m_statusesKnown) {
        AppMessageBox(TXT_CU_STILL_CHECKING, MB_OK | MB_ICONINFORMATION);
        return;
    }
    const bool elevated = IsProcessElevated();
    std::vector<CleanUpEntry> offered;
    for (const SystemRow& row : m_systemRows) {
        if (!row.listed || !row.status)
            continue;
        const CleanUpOffer offer = OfferForCleanUp(*row.status, row.scope == CommandScope::user || elevated);
        if (offer != CleanUpOffer::notOffered)
            offered.push_back({row.keyName, row.displayName, row.path, row.scope, *row.status, offer});
    }
    if (offered.empty()) {
        AppMessageBox(TXT_CU_NONE, MB_OK | MB_ICONINFORMATION);
        return;
    }
    CCleanUpDlg dialog(m_host.OwnerWindow(), std::move(offered));
    if (dialog.DoModal() != IDOK)
        return;
    const RemovalReport report = RemoveEntries(dialog.Chosen());
    LoadSystemCommands();
    m_host.ShowCount(CountText());
    const bool kept = !report.notSaved.empty() || !report.notDeleted.empty();
    AppMessageBox(RemovalSummary(report), MB_OK | (kept ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
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
