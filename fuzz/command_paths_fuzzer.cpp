// The path rules applied to a typed or stored target: the parent folder is
// the text before the last backslash (none when that is the first byte),
// and trimming drops only trailing backslashes, keeping a drive root.
#include "catalogue/CommandPaths.h"
#include "fuzz/Check.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path(reinterpret_cast<const char*>(data), size);

    const std::string parent = GetParentFolder(path);
    if (!parent.empty()) {
        FUZZ_CHECK(parent.size() < path.size() && path.compare(0, parent.size(), parent) == 0);
        FUZZ_CHECK(path.find('\\', parent.size()) == parent.size());
        FUZZ_CHECK(path.find('\\', parent.size() + 1) == std::string::npos);
    } else {
        const size_t slash = path.rfind('\\');
        FUZZ_CHECK(slash == std::string::npos || slash == 0);
    }

    const std::string trimmed = TrimTrailingBackslashes(path);
    FUZZ_CHECK(trimmed.size() <= path.size() && path.compare(0, trimmed.size(), trimmed) == 0);
    FUZZ_CHECK(path.find_first_not_of('\\', trimmed.size()) == std::string::npos);
    FUZZ_CHECK(trimmed.empty() || trimmed.back() != '\\' || trimmed.size() == 3);
    FUZZ_CHECK(TrimTrailingBackslashes(trimmed) == trimmed);
    return 0;
}
