#pragma once
// Restoring a backup the user chose, with what the user hears on the way.
#include "regbackup/AppPathsBackup.h"

#include <string>

// The backup's time in the user's date and time format.
std::wstring BackupDateText(const BackupStamp& stamp);

// A refused or failed restore is said in a box. A machine entry needs
// administrator rights (said the way the rest of the program says it). An
// entry that exists again is replaced only after a Yes, and is backed up
// first. True when the backup's entry was written.
bool RestoreBackupAsking(const AppPathsBackup& backup);
