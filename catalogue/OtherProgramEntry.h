#pragma once
// Another program's App Paths entry under a command's name. A command never
// silently replaces one: the user is asked, the entry is saved to a backup
// and removed, and the command's own key notes that backup, so that
// deleting the command can put the entry back exactly.
#include "catalogue/CommandPaths.h"

#include <string>
#include <vector>

struct OtherProgramEntry {
    bool exists = false;
    std::string target; // its default value, quotes stripped; empty when it has none
};

// The entry of the name in the scope when it is not the command's own.
OtherProgramEntry FindOtherProgramEntry(const std::string& name, CommandScope scope);

// The value in a command's App Paths key naming the backup of the entry it replaced.
inline constexpr char kReplacedEntryValue[] = "VerbosaReplacedEntry";

// Backs the other program's entry up, removes it, writes the command and
// notes the backup in the command's key. Shows nothing; returns the
// messages of what failed, empty when done. When the command cannot be
// written, the other program's entry is put back.
std::vector<std::string> WriteCommandInPlaceOfOtherEntry(const std::string& name, const std::string& target,
                                                         const std::string& parameters, int showCommand,
                                                         CommandScope scope);

// The backup noted in the command's key; empty when it replaced nothing.
std::string ReplacedEntryBackup(const std::string& name, CommandScope scope);

// After the command is gone: asks whether to put the other program's entry
// back from the backup, and does so exactly on Yes.
void OfferToPutBackOtherEntry(const std::string& name, const std::string& backupFile);

// "Another program has registered the name x in the Run dialog for you; it starts y".
std::string OtherEntryText(const std::string& name, CommandScope scope, const OtherProgramEntry& entry);

// The Yes/No question before a command replaces another program's entry.
bool AcceptReplacingOtherEntry(const std::string& name, CommandScope scope, const OtherProgramEntry& entry);
