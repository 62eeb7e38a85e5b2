#include "systemcmds/BrokenEntryRemoval.h"

#include "regbackup/AppPathsBackup.h"
#include "resources/Texts.h"
#include "systemcmds/EntryProbe.h"

namespace {

std::wstring Named(const CleanUpEntry& entry, const std::wstring& why)
{
    return entry.keyName + L" (" + ScopeText(entry.scope) + L"): " + why;
}

void AppendList(std::wstring& text, const wchar_t* heading, const std::vector<std::wstring>& lines)
{
    if (lines.empty())
        return;
    text += L"\n\n";
    text += heading;
    for (const std::wstring& line : lines)
        text += L"\n" + line;
}

// The probing mode is held only while judging: the backup and delete in
// between may load libraries, which must see System32 as the program does.
EntryStatus JudgeNow(const CleanUpEntry& entry, CDriveKinds& drives)
{
    const CProbingThreadMode probing;
    return JudgeAppPathsEntry({entry.scope, entry.keyName}, drives);
}

} // namespace

RemovalReport RemoveEntries(const std::vector<CleanUpEntry>& chosen)
{
    RemovalReport report;
    const BackupStamp stamp = BackupStampNow();
    CDriveKinds drives;
    for (const CleanUpEntry& entry : chosen) {
        // Judged again: a program reinstalled since the list was checked keeps its entry.
        if (!IsBrokenEntry(JudgeNow(entry, drives))) {
            report.notDeleted.push_back(Named(entry, TXT_CU_NOT_BROKEN_NOW));
            continue;
        }
        const DeleteResult result = DeleteAppPathsEntryWithBackup(entry.scope, entry.keyName, stamp);
        if (result.deleted)
            ++report.removed;
        else if (result.notSaved)
            report.notSaved.push_back(Named(entry, result.why));
        else
            report.notDeleted.push_back(Named(entry, result.why));
    }
    return report;
}

std::wstring RemovalSummary(const RemovalReport& report)
{
    std::wstring text = TXT_CU_REMOVED_BEFORE + std::to_wstring(report.removed) + TXT_CU_REMOVED_AFTER;
    AppendList(text, TXT_CU_NOT_SAVED, report.notSaved);
    AppendList(text, TXT_CU_NOT_DELETED, report.notDeleted);
    return text;
}
