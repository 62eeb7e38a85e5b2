#include "catalogue/ReplacedEntry.h"

#include "apppaths/AppPathsRoot.h"
#include "catalogue/Commands.h"
#include "framework/MessageBox.h"
#include "framework/CodePage.h"
#include "framework/RegistryKey.h"
#include "regbackup/AppPathsBackup.h"
#include "regbackup/BackupTrustRules.h"
#include "resources/Texts.h"

#include <windows.h>

namespace {

std::wstring FileNameOf(const std::wstring& path)
{
    return path.substr(path.find_last_of(L'\\') + 1);
}

} // namespace

OtherProgramEntry FindOtherProgramEntry(const std::wstring& name, CommandScope scope)
{
    return ReadOtherProgramEntry(name, scope, CommandLinkPath(name, scope));
}

std::vector<std::wstring> WriteCommandInPlaceOfOtherEntry(const std::wstring& name, const std::wstring& target,
                                                         const std::wstring& parameters, int showCommand,
                                                         CommandScope scope)
{
    const DeleteResult setAside = DeleteAppPathsEntryWithBackup(scope, name + L".exe");
    if (!setAside.deleted)
        return {TXT_OTHER_ENTRY_NOT_REPLACED + setAside.why};
    std::vector<std::wstring> failures = WriteCommand(name, target, parameters, showCommand, scope);
    if (failures.empty()) {
        CRegistryKey key;
        // The note's rules read UTF-8; the registry holds it as text.
        const std::string fileName = WideToUtf8(FileNameOf(setAside.backupFile)).value_or(std::string());
        const std::wstring note = ShownUtf8(ReplacedEntryNoteText({fileName, setAside.backupSha256}));
        if (key.Open(AppPathsRoot(scope), AppPathsKeyName(name), KEY_SET_VALUE) &&
            key.WriteString(kReplacedEntryValue, note))
            return failures;
        failures.push_back(TXT_OTHER_ENTRY_NOTE_FAILED);
    }
    // The command did not take the entry's place: the entry goes back as it was.
    CRegistryKey::DeleteKey(AppPathsRoot(scope), AppPathsKeyName(name));
    const RestoreResult back = RestoreAppPathsBackup(setAside.backupFile, ExistingEntry::keep);
    if (back.status != RestoreStatus::restored)
        failures.push_back(TXT_OTHER_ENTRY_NOT_BACK_BEFORE + setAside.backupFile + TXT_OTHER_ENTRY_NOT_BACK_AFTER);
    return failures;
}

std::wstring ReplacedEntryNoteOf(const std::wstring& name, CommandScope scope)
{
    CRegistryKey key;
    std::wstring note;
    if (key.Open(AppPathsRoot(scope), AppPathsKeyName(name), KEY_QUERY_VALUE))
        key.ReadString(kReplacedEntryValue, kRegistryTextWhole, note);
    return note;
}

void AfterCommandDeleted(const std::wstring& name, CommandScope scope, const std::wstring& note,
                         const OtherProgramEntry& kept)
{
    if (kept.exists) {
        const std::wstring starts =
            kept.target.empty() ? std::wstring(TXT_OTHER_ENTRY_NO_TARGET) : TXT_OTHER_ENTRY_STARTS + kept.target;
        AppMessageBox(TXT_KEPT_ENTRY_BEFORE + name + TXT_KEPT_ENTRY_MIDDLE + name + L".exe" + TXT_KEPT_ENTRY_AFTER +
                          starts + L".",
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (note.empty())
        return;
    const NotedBackup noted = ReadNotedBackup(note, name, scope);
    if (!noted.usable) {
        AppMessageBox(TXT_PUT_BACK_BEFORE + name + TXT_NOTE_NOT_USED_MIDDLE + noted.shownFile +
                          TXT_NOTE_NOT_USED_AFTER + noted.why,
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    const std::wstring who = scope == CommandScope::user ? TXT_OTHER_ENTRY_FOR_USER : TXT_OTHER_ENTRY_FOR_ALL;
    const std::wstring entry = noted.backup.shownName;
    const std::wstring question = TXT_PUT_BACK_BEFORE + name + TXT_PUT_BACK_MIDDLE + entry + who +
                                 TXT_PUT_BACK_KEPT + entry + TXT_PUT_BACK_BACK + who + TXT_PUT_BACK_AFTER;
    if (AppMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const RestoreResult back = RestoreAppPathsBackup(noted.backup, ExistingEntry::keep);
    if (back.status == RestoreStatus::exists)
        AppMessageBox(TXT_PUT_BACK_EXISTS, MB_OK | MB_ICONINFORMATION);
    else if (back.status != RestoreStatus::restored)
        AppMessageBox(TXT_PUT_BACK_FAILED + back.why, MB_OK | MB_ICONSTOP);
}

std::wstring OtherEntryText(const std::wstring& name, CommandScope scope, const OtherProgramEntry& entry)
{
    const std::wstring starts =
        entry.target.empty() ? std::wstring(TXT_OTHER_ENTRY_NO_TARGET) : TXT_OTHER_ENTRY_STARTS + entry.target;
    const wchar_t* who = scope == CommandScope::user ? TXT_OTHER_ENTRY_FOR_USER : TXT_OTHER_ENTRY_FOR_ALL;
    return TXT_OTHER_ENTRY_BEFORE + name + TXT_OTHER_ENTRY_MIDDLE + who + starts;
}

bool AcceptReplacingOtherEntry(const std::wstring& name, CommandScope scope, const OtherProgramEntry& entry)
{
    return AppMessageBox(OtherEntryText(name, scope, entry) + TXT_OTHER_ENTRY_AFTER, MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}
