#pragma once
// "Remove broken entries...": the removal of the chosen entries, each judged
// again and backed up exactly as a single delete backs it up. One
// stamp for all the backups of a clean-up, so they are restored together.
#include "apppaths/AppPathsScope.h"
#include "systemcmds/EntryStatusRules.h"

#include <string>
#include <vector>

struct CleanUpEntry {
    std::wstring keyName;
    std::wstring displayName;
    std::wstring path;
    CommandScope scope = CommandScope::machine;
    EntryStatus status = EntryStatus::fine;
    CleanUpOffer offer = CleanUpOffer::notOffered;
};

struct RemovalReport {
    int removed = 0;
    std::vector<std::wstring> notSaved;   // "name (scope): why", kept: no backup
    std::vector<std::wstring> notDeleted; // "name (scope): why": refused, or no longer broken
};

RemovalReport RemoveEntries(const std::vector<CleanUpEntry>& chosen);

// What the user is told when the clean-up ends.
std::wstring RemovalSummary(const RemovalReport& report);
