// The backup file's reader over any bytes: it either refuses the file or
// reads a key tree, which writes back and reads again to the same tree; the
// App Paths rule takes any first key without harm. The same bytes as a
// put-back note, and as the file a note names: a note read names a plain
// file of the backup folder, and a file is honoured only for the entry asked.
#include "fuzz/Check.h"
#include "regbackup/BackupRules.h"
#include "regbackup/BackupTrustRules.h"
#include "regbackup/RegFileFormat.h"

#include <cstdint>
#include <string_view>

namespace {

void CheckNoteRules(std::string_view bytes)
{
    ReplacedEntryNote note;
    std::string why;
    if (!ParseReplacedEntryNote(bytes, note, why)) {
        FUZZ_CHECK(!why.empty());
        return;
    }
    FUZZ_CHECK(note.fileName.find_first_of("\\/:") == std::string::npos && note.fileName != ".." &&
               note.sha256.size() == 64);
    ReplacedEntryNote again;
    FUZZ_CHECK(ParseReplacedEntryNote(ReplacedEntryNoteText(note), again, why) && again.fileName == note.fileName &&
               again.sha256 == note.sha256);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckNoteRules(input);
    const RegFileRead read = ReadRegFile(input);
    if (!read.error.empty()) {
        FUZZ_CHECK(read.root == RegKey{});
        return 0;
    }
    CommandScope scope = CommandScope::machine;
    std::u16string keyName;
    std::string why;
    if (!AppPathsEntryOfRegPath(read.root.name, scope, keyName, why))
        FUZZ_CHECK(!why.empty());

    // Honoured for the entry the file holds, never for another name or scope.
    const ReplacedEntryNote note{"x.reg", std::string(64, '0')};
    RegKey entry;
    const bool honoured = CheckNotedBackup(note, note.sha256, input, scope, u"tool.exe", entry, why);
    if (honoured)
        FUZZ_CHECK(keyName.size() == 8 && entry == read.root);
    const CommandScope other = scope == CommandScope::user ? CommandScope::machine : CommandScope::user;
    FUZZ_CHECK(!CheckNotedBackup(note, note.sha256, input, other, u"tool.exe", entry, why));

    std::string bytes;
    FUZZ_CHECK(WriteRegFile(read.root, bytes, why)); // whatever is read can be written
    const RegFileRead again = ReadRegFile(bytes);
    FUZZ_CHECK(again.error.empty() && again.root == read.root);
    return 0;
}
