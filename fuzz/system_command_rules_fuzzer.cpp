// How another program's App Paths entry is shown: the display name drops
// only a four-character extension, quote stripping takes at most one quote
// from each end, and only an exact ".lnk" ending is our own entry; the
// status of an entry follows its values.
#include "fuzz/Check.h"
#include "systemcmds/EntryStatusRules.h"
#include "systemcmds/SystemCommandRules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::string keyName = provider.ConsumeRandomLengthString(300);
    const std::string path = provider.ConsumeRemainingBytesAsString();

    const std::string name = SystemCommandDisplayName(keyName);
    FUZZ_CHECK(keyName.compare(0, name.size(), name) == 0);
    if (name.size() != keyName.size())
        FUZZ_CHECK(name.size() + 4 == keyName.size() && keyName[name.size()] == '.');
    else
        FUZZ_CHECK(keyName.size() < 4 || keyName[keyName.size() - 4] != '.');

    const std::string stripped = StripTargetQuotes(path);
    const bool trailing = !path.empty() && path.back() == '"';
    const std::string rest = trailing ? path.substr(0, path.size() - 1) : path;
    const bool leading = !rest.empty() && rest.front() == '"';
    FUZZ_CHECK(stripped == (leading ? rest.substr(1) : rest));

    FUZZ_CHECK(IsOwnCommandTarget(path) == path.ends_with(".lnk"));

    // The status: any Path list splits without reading past it; the probe
    // answers by the path's first byte.
    const auto probe = [](const std::string& probed, bool) {
        FUZZ_CHECK(!probed.empty());
        return static_cast<PathFound>(static_cast<unsigned char>(probed[0]) % 3);
    };
    const EntryStatus status = JudgeEntry(std::optional<std::string>(stripped), keyName, probe);
    FUZZ_CHECK((status == EntryStatus::noTarget) == stripped.empty());
    if (IsOwnCommandTarget(stripped))
        FUZZ_CHECK(status == EntryStatus::ownCommand || status == EntryStatus::shortcutMissing);
    return 0;
}
