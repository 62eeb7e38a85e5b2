#pragma once
// Where backups of App Paths entries live. Just me entries: the user's
// %LOCALAPPDATA%\Verbosa\Backups. All users entries: %ProgramData%\Verbosa\Backups,
// which only administrators can change, so that nothing a user's program
// writes can pass for a backup of a machine entry.
#include "apppaths/AppPathsScope.h"

#include <string>

std::wstring BackupFolder(CommandScope scope);

// Makes the scope's folder when missing. The machine's is made with a
// protected DACL (SYSTEM and Administrators full, Users read), and one
// found that others can change is given that DACL and owner again. False,
// with the reason, when the folder cannot be made or made safe.
bool PrepareBackupFolder(CommandScope scope, std::wstring& why);

// The scope's folder may be trusted: always for the user's own; for the
// machine's, only while administrators alone can change it.
bool IsTrustedBackupFolder(CommandScope scope, std::wstring& why);

// A file of the scope's folder may be trusted: the folder may, and for the
// machine's, only administrators can change the file (one a user placed
// there before the folder was made safe stays untrusted).
bool IsTrustedBackupFile(CommandScope scope, const std::wstring& file, std::wstring& why);
