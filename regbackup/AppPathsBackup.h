#pragma once
// Backups of App Paths entries: before an entry goes, its whole key (every
// value with its type and bytes, every subkey) is saved in the registry
// editor's format to <scope's backup folder>\<name>-<date-time>.reg
// (BackupFolders.h); a backup is written back exactly. Nothing here shows a message: results
// say what happened and why, and the caller decides what the user hears.
#include "apppaths/AppPathsScope.h"
#include "regbackup/BackupFolders.h"
#include "regbackup/BackupRules.h"
#include "regbackup/RegFileFormat.h"

#include <string>
#include <vector>

struct BackupResult {
    bool saved = false;
    std::wstring file;  // the new backup's full path, when saved
    std::string sha256; // of the file's bytes (hex), when saved
    std::wstring why;   // when not saved
};

// Saves the entry's whole key to a new file in the scope's backup folder
// (made when missing); an existing backup is never overwritten. keyName is the entry's
// full key name (tool.exe).
BackupResult BackUpAppPathsEntry(CommandScope scope, const std::wstring& keyName);

// One backup file as read. A file that cannot be restored (unreadable, not
// in the format, a key outside App Paths) carries the reason in problem.
struct AppPathsBackup {
    std::wstring file;
    std::wstring problem;
    CommandScope scope = CommandScope::machine;
    std::u16string keyName; // exact, as the registry holds it
    std::wstring shownName; // the key name, else the file's name
    BackupStamp stamp;      // from the file name, else the file's time
    int attempt = 1;
    RegKey tree;
};

AppPathsBackup ReadAppPathsBackup(const std::wstring& file);

// Every .reg file in both backup folders, newest first; refused ones too,
// so that the user is told why when choosing one. The machine's folder is
// read only while administrators alone can change it.
std::vector<AppPathsBackup> ListAppPathsBackups();

// What a restore found when the entry exists again.
enum class ExistingEntry {
    keep,    // write nothing: RestoreStatus::exists
    replace, // back the present entry up, delete it whole, then restore
};

enum class RestoreStatus { restored, exists, refused, failed };

struct RestoreResult {
    RestoreStatus status = RestoreStatus::failed;
    std::wstring why;            // refused or failed: why; nothing was changed
    std::wstring replacedBackup; // replace: the backup of the entry that was there
};

// Re-creates the backup's entry exactly (values, types, subkeys). A failure
// on the way removes what was written and puts a replaced entry back.
RestoreResult RestoreAppPathsBackup(const AppPathsBackup& backup, ExistingEntry existing);
RestoreResult RestoreAppPathsBackup(const std::wstring& file, ExistingEntry existing);

struct DeleteResult {
    bool deleted = false;
    std::wstring backupFile; // saved before the delete
    std::string backupSha256;
    std::wstring why;        // not deleted
    bool notSaved = false;  // not deleted because no backup could be made
};

// The local time now, as a backup's name carries it.
BackupStamp BackupStampNow();

// Saves a backup, then deletes the entry with everything below it. A key
// that cannot be backed up is not deleted. When the delete fails and the
// key is as it was, the backup is removed again. Entries removed together
// share one stamp, so "Restore deleted..." shows them together.
DeleteResult DeleteAppPathsEntryWithBackup(CommandScope scope, const std::wstring& keyName,
                                           const BackupStamp& stamp = BackupStampNow());

// The backup a command's note names (BackupTrustRules.h), read from the
// backup folder of the command's scope and checked: usable only when the
// rules hold and the folder is trusted. name: the command's name.
struct NotedBackup {
    bool usable = false;
    std::wstring shownFile; // the file the note names, for messages
    std::wstring why;       // not usable
    AppPathsBackup backup; // usable: the entry to put back
};

NotedBackup ReadNotedBackup(const std::wstring& note, const std::wstring& name, CommandScope scope);
