#pragma once
// Another program's App Paths entry under a command's name (the rule:
// apppaths/OtherProgramEntry.h). A command never
// silently replaces one: the user is asked, the entry is saved to a backup
// and removed, and the command's own key notes that backup (its file name
// and checksum), so that deleting the command can put the entry back
// exactly. The note is a request: it is checked before it is followed.
#include "apppaths/OtherProgramEntry.h"
#include "catalogue/CommandPaths.h"

#include <string>
#include <vector>

// The entry of the name in the scope when it is not the command's own.
OtherProgramEntry FindOtherProgramEntry(const std::wstring& name, CommandScope scope);

// The value in a command's App Paths key noting the backup of the entry it
// replaced (BackupTrustRules.h).
inline constexpr wchar_t kReplacedEntryValue[] = L"VerbosaReplacedEntry";

// Backs the other program's entry up, removes it, writes the command and
// notes the backup in the command's key. Shows nothing; returns the
// messages of what failed, empty when done. When the command cannot be
// written, the other program's entry is put back.
std::vector<std::wstring> WriteCommandInPlaceOfOtherEntry(const std::wstring& name, const std::wstring& target,
                                                         const std::wstring& parameters, int showCommand,
                                                         CommandScope scope);

// The note in the command's key; empty when it replaced nothing.
std::wstring ReplacedEntryNoteOf(const std::wstring& name, CommandScope scope);

// After the command's files went (DeleteCommand): when its entry was kept
// because another program's has taken its place, says so; otherwise,
// when the command had replaced an entry, asks whether to put that entry
// back from the noted backup and does so exactly on Yes. A note that fails
// its checks is said to be unused, and nothing is put back.
void AfterCommandDeleted(const std::wstring& name, CommandScope scope, const std::wstring& note,
                         const OtherProgramEntry& kept);

// "Another program has registered the name x in the Run dialog for you; it starts y".
std::wstring OtherEntryText(const std::wstring& name, CommandScope scope, const OtherProgramEntry& entry);

// The Yes/No question before a command replaces another program's entry.
bool AcceptReplacingOtherEntry(const std::wstring& name, CommandScope scope, const OtherProgramEntry& entry);
