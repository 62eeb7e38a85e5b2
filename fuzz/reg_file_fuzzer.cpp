// The backup file's reader over any bytes: it either refuses the file or
// reads a key tree, which writes back and reads again to the same tree; the
// App Paths rule takes any first key without harm.
#include "fuzz/Check.h"
#include "regbackup/BackupRules.h"
#include "regbackup/RegFileFormat.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const RegFileRead read = ReadRegFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.error.empty()) {
        FUZZ_CHECK(read.root == RegKey{});
        return 0;
    }
    CommandScope scope = CommandScope::machine;
    std::u16string keyName;
    std::string why;
    if (!AppPathsEntryOfRegPath(read.root.name, scope, keyName, why))
        FUZZ_CHECK(!why.empty());

    std::string bytes;
    FUZZ_CHECK(WriteRegFile(read.root, bytes, why)); // whatever is read can be written
    const RegFileRead again = ReadRegFile(bytes);
    FUZZ_CHECK(again.error.empty() && again.root == read.root);
    return 0;
}
