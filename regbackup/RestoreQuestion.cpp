#include "regbackup/RestoreQuestion.h"

#include "apppaths/AppPathsScope.h"
#include "framework/CodePage.h"
#include "framework/Elevation.h"
#include "framework/MessageBox.h"
#include "resources/Texts.h"

#include <windows.h>

#include <iterator>

std::wstring BackupDateText(const BackupStamp& stamp)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(stamp.year);
    time.wMonth = static_cast<WORD>(stamp.month);
    time.wDay = static_cast<WORD>(stamp.day);
    time.wHour = static_cast<WORD>(stamp.hour);
    time.wMinute = static_cast<WORD>(stamp.minute);
    time.wSecond = static_cast<WORD>(stamp.second);
    wchar_t date[128] = {};
    wchar_t clock[128] = {};
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, std::size(date)) ||
        !GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, std::size(clock)))
        return ShownUtf8(BackupStampText(stamp));
    return std::wstring(date) + L" " + clock;
}

bool RestoreBackupAsking(const AppPathsBackup& backup)
{
    if (!backup.problem.empty()) {
        AppMessageBox(TXT_RB_REFUSED_BEFORE + backup.file + TXT_RB_REFUSED_AFTER + backup.problem,
                      MB_OK | MB_ICONSTOP);
        return false;
    }
    if (backup.scope == CommandScope::machine &&
        !RequireElevation(NeedsAdministratorText(TXT_ACTION_RESTORE_MACHINE_ENTRY)))
        return false;
    RestoreResult result = RestoreAppPathsBackup(backup, ExistingEntry::keep);
    if (result.status == RestoreStatus::exists) {
        const std::wstring question = TXT_RB_EXISTS_BEFORE + backup.shownName + TXT_RB_EXISTS_MIDDLE +
                                     ScopeText(backup.scope) + TXT_RB_EXISTS_AFTER + BackupDateText(backup.stamp) +
                                     TXT_RB_EXISTS_END;
        if (AppMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
        result = RestoreAppPathsBackup(backup, ExistingEntry::replace);
    }
    if (result.status == RestoreStatus::restored)
        return true;
    AppMessageBox(TXT_RB_FAILED + result.why, MB_OK | MB_ICONSTOP);
    return false;
}
