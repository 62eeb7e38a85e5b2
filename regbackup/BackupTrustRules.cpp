#include "regbackup/BackupTrustRules.h"

#include "framework/AsciiCase.h"
#include "regbackup/BackupRules.h"

#include <array>

namespace {

constexpr char kSeparator = '|';
constexpr size_t kSha256HexLength = 64;
// File names the file system accepts; a longer note names no backup.
constexpr size_t kMaxFileNameLength = 255;
constexpr size_t kMaxShownLength = 80;

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

constexpr std::array<std::string_view, 3> kAdministrators = {
    "S-1-5-18",     // SYSTEM
    "S-1-5-32-544", // Administrators
    "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", // TrustedInstaller
};

// Rights that change what a folder holds or who may: writing, appending,
// extended attributes and attributes, deleting (itself or what it holds),
// permissions and owner, and the generic forms that include them.
constexpr uint32_t kChangingRights = 0x0002 | 0x0004 | 0x0010 | 0x0040 | 0x0100 | 0x00010000 | 0x00040000 |
                                     0x00080000 | 0x10000000 | 0x40000000 | 0x02000000;

bool IsAdministrator(std::string_view sid, std::string_view processUser)
{
    for (std::string_view admin : kAdministrators)
        if (EqualIgnoringAsciiCase(sid, admin))
            return true;
    return !processUser.empty() && EqualIgnoringAsciiCase(sid, processUser);
}

} // namespace

std::string ReplacedEntryNoteText(const ReplacedEntryNote& note)
{
    return note.fileName + kSeparator + note.sha256;
}

bool ParseReplacedEntryNote(std::string_view text, ReplacedEntryNote& note, std::string& why)
{
    const size_t bar = text.rfind(kSeparator);
    if (bar == std::string_view::npos) {
        why = "The note does not record the backup's checksum (it was written by an earlier version).";
        return false;
    }
    const std::string_view name = text.substr(0, bar);
    const std::string_view hash = text.substr(bar + 1);
    if (hash.size() != kSha256HexLength) {
        why = "The note's checksum is not a SHA-256 checksum.";
        return false;
    }
    for (char c : hash)
        if (!IsHexDigit(c)) {
            why = "The note's checksum is not a SHA-256 checksum.";
            return false;
        }
    bool plain = !name.empty() && name.size() <= kMaxFileNameLength && name != "." && name != "..";
    for (char c : name)
        plain = plain && static_cast<unsigned char>(c) >= 0x20 && std::string_view("\\/:|").find(c) == std::string_view::npos;
    constexpr std::string_view kExtension = ".reg";
    if (!plain || name.size() <= kExtension.size() ||
        !EqualIgnoringAsciiCase(name.substr(name.size() - kExtension.size()), kExtension)) {
        why = "The note does not name a backup file by itself: only a file in the backup folder is used.";
        return false;
    }
    note.fileName = std::string(name);
    note.sha256 = AsciiLower(std::string(hash));
    return true;
}

std::string NoteShownName(std::string_view text)
{
    ReplacedEntryNote note;
    std::string why;
    if (ParseReplacedEntryNote(text, note, why))
        return note.fileName;
    std::string shown;
    for (char c : text.substr(0, kMaxShownLength))
        shown += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    return text.size() > kMaxShownLength ? shown + "..." : shown;
}

bool CheckNotedBackup(const ReplacedEntryNote& note, std::string_view fileSha256, std::string_view bytes,
                      CommandScope scope, std::u16string_view keyName, RegKey& entry, std::string& why)
{
    if (!EqualIgnoringAsciiCase(fileSha256, note.sha256)) {
        why = "The file was changed after the note was made: its checksum differs.";
        return false;
    }
    RegFileRead read = ReadRegFile(bytes);
    if (!read.error.empty()) {
        why = read.error;
        return false;
    }
    CommandScope fileScope = CommandScope::machine;
    std::u16string fileKey;
    if (!AppPathsEntryOfRegPath(read.root.name, fileScope, fileKey, why))
        return false;
    if (fileScope != scope || !EqualIgnoringAsciiCase(std::u16string_view(fileKey), keyName)) {
        why = "The file holds another entry than the one the command replaced.";
        return false;
    }
    entry = std::move(read.root);
    return true;
}

bool OnlyAdministratorsWrite(const FolderSecurity& security, std::string_view processUser)
{
    if (!security.hasDacl || !IsAdministrator(security.owner, processUser))
        return false;
    for (const AccessEntry& ace : security.dacl)
        if (ace.allow && (ace.mask & kChangingRights) != 0 && !IsAdministrator(ace.sid, processUser))
            return false;
    return true;
}
