#pragma once
// Which backups are trusted: the note a command keeps of the entry it
// replaced, and the folder the backups of All users entries live in.
// Platform-free rules; the Win32 code reads the files, hashes and ACLs.
#include "apppaths/AppPathsScope.h"
#include "regbackup/RegFileFormat.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The note: the backup's file name in the scope's backup folder and the
// SHA-256 of its bytes, "<file name>|<64 hex digits>".
struct ReplacedEntryNote {
    std::string fileName;
    std::string sha256; // lower-case hex
};

std::string ReplacedEntryNoteText(const ReplacedEntryNote& note);

// False, with the reason, for any other text: an older note naming a full
// path, a name with a folder or a drive in it, a malformed hash.
bool ParseReplacedEntryNote(std::string_view text, ReplacedEntryNote& note, std::string& why);

// What a note is shown as: its file name, else the text itself (shortened).
std::string NoteShownName(std::string_view text);

// The note is honoured only when the file it names hashes as noted, holds
// exactly one App Paths entry, and that entry is the command's own name
// (keyName: name.exe, registry case rules) in the command's scope. fileSha256:
// the hash of the bytes as read. On true, entry holds the entry to write.
bool CheckNotedBackup(const ReplacedEntryNote& note, std::string_view fileSha256, std::string_view bytes,
                      CommandScope scope, std::u16string_view keyName, RegKey& entry, std::string& why);

// One access-control entry, its SID in string form (S-1-5-18).
struct AccessEntry {
    std::string sid;
    bool allow = true;
    uint32_t mask = 0;
};

struct FolderSecurity {
    std::string owner;
    bool hasDacl = false; // no DACL: everyone has every right
    std::vector<AccessEntry> dacl;
};

// Only administrators can change the folder or file: it has a DACL, and
// its owner and every SID it lets write, delete or change permissions (on
// itself or on what it will hold) is SYSTEM, Administrators,
// TrustedInstaller or processUser, the user this process runs as (what it
// may change, that user's programs may change anyway).
bool OnlyAdministratorsWrite(const FolderSecurity& security, std::string_view processUser);
