#pragma once
// What a backup of an App Paths entry is called and which keys a backup
// may write: platform-free rules.
#include "apppaths/AppPathsScope.h"

#include <string>
#include <string_view>

// HKEY_LOCAL_MACHINE\SOFTWARE\...\App Paths\<keyName> (HKEY_CURRENT_USER for
// the user's scope), as the file names the key.
std::u16string AppPathsEntryRegPath(CommandScope scope, std::u16string_view keyName);

// The entry that a backup's first key is. False, with the reason, for any
// key that is not exactly one entry below the App Paths key of either scope:
// a backup must never write anywhere else.
bool AppPathsEntryOfRegPath(std::u16string_view path, CommandScope& scope, std::u16string& keyName,
                            std::string& why);

// Local time of a backup, to the second.
struct BackupStamp {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const BackupStamp&) const = default;
};

// "20261208-134501": sorts as the times do.
std::string BackupStampText(const BackupStamp& stamp);

// <name>-<stamp>.reg, or <name>-<stamp>-<attempt>.reg from attempt 2 on.
// The name is made safe for a file name (characters Windows refuses become
// '_', a device name such as CON is prefixed) and shortened; the file
// itself holds the exact key.
std::u16string BackupFileName(std::u16string_view keyName, const BackupStamp& stamp, int attempt);

// The stamp and attempt of a file name that BackupFileName made; false for
// any other name.
bool ParseBackupFileName(std::u16string_view fileName, BackupStamp& stamp, int& attempt);
