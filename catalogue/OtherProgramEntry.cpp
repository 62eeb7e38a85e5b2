#include "catalogue/OtherProgramEntry.h"

#include "catalogue/Commands.h"
#include "framework/MessageBox.h"
#include "framework/RegistryKey.h"
#include "regbackup/AppPathsBackup.h"
#include "resources/Texts.h"
#include "systemcmds/SystemCommandRules.h"

#include <windows.h>

namespace {

HKEY RootOf(CommandScope scope)
{
    return scope == CommandScope::user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

} // namespace

OtherProgramEntry FindOtherProgramEntry(const std::string& name, CommandScope scope)
{
    OtherProgramEntry entry;
    CRegistryKey key;
    if (!key.Open(RootOf(scope), AppPathsKeyName(name), KEY_QUERY_VALUE))
        return entry;
    std::string value;
    key.GetStringWhole("", value);
    entry.target = StripTargetQuotes(value);
    entry.exists = !IsOwnEntryValue(entry.target, CommandLinkPath(name, scope));
    return entry;
}

std::vector<std::string> WriteCommandInPlaceOfOtherEntry(const std::string& name, const std::string& target,
                                                         const std::string& parameters, int showCommand,
                                                         CommandScope scope)
{
    const DeleteResult setAside = DeleteAppPathsEntryWithBackup(scope, name + ".exe");
    if (!setAside.deleted)
        return {TXT_OTHER_ENTRY_NOT_REPLACED + setAside.why};
    std::vector<std::string> failures = WriteCommand(name, target, parameters, showCommand, scope);
    if (failures.empty()) {
        CRegistryKey key;
        if (key.Open(RootOf(scope), AppPathsKeyName(name), KEY_SET_VALUE) &&
            key.SetString(kReplacedEntryValue, setAside.backupFile))
            return failures;
        failures.push_back(TXT_OTHER_ENTRY_NOTE_FAILED);
    }
    // The command did not take the entry's place: the entry goes back as it was.
    CRegistryKey::DeleteKey(RootOf(scope), AppPathsKeyName(name));
    const RestoreResult back = RestoreAppPathsBackup(setAside.backupFile, ExistingEntry::keep);
    if (back.status != RestoreStatus::restored)
        failures.push_back(TXT_OTHER_ENTRY_NOT_BACK_BEFORE + setAside.backupFile + TXT_OTHER_ENTRY_NOT_BACK_AFTER);
    return failures;
}

std::string ReplacedEntryBackup(const std::string& name, CommandScope scope)
{
    CRegistryKey key;
    std::string file;
    if (key.Open(RootOf(scope), AppPathsKeyName(name), KEY_QUERY_VALUE))
        key.GetStringWhole(kReplacedEntryValue, file);
    return file;
}

void OfferToPutBackOtherEntry(const std::string& name, const std::string& backupFile)
{
    if (backupFile.empty())
        return;
    const std::string question = TXT_PUT_BACK_BEFORE + name + TXT_PUT_BACK_AFTER;
    if (AppMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const RestoreResult back = RestoreAppPathsBackup(backupFile, ExistingEntry::keep);
    if (back.status == RestoreStatus::exists)
        AppMessageBox(TXT_PUT_BACK_EXISTS, MB_OK | MB_ICONINFORMATION);
    else if (back.status != RestoreStatus::restored)
        AppMessageBox(TXT_PUT_BACK_FAILED + back.why, MB_OK | MB_ICONSTOP);
}

std::string OtherEntryText(const std::string& name, CommandScope scope, const OtherProgramEntry& entry)
{
    const std::string starts =
        entry.target.empty() ? std::string(TXT_OTHER_ENTRY_NO_TARGET) : TXT_OTHER_ENTRY_STARTS + entry.target;
    const char* who = scope == CommandScope::user ? TXT_OTHER_ENTRY_FOR_USER : TXT_OTHER_ENTRY_FOR_ALL;
    return TXT_OTHER_ENTRY_BEFORE + name + TXT_OTHER_ENTRY_MIDDLE + who + starts;
}

bool AcceptReplacingOtherEntry(const std::string& name, CommandScope scope, const OtherProgramEntry& entry)
{
    return AppMessageBox(OtherEntryText(name, scope, entry) + TXT_OTHER_ENTRY_AFTER, MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}
