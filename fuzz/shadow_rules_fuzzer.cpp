// The search-path rules over any PATH and PATHEXT text: no part is empty or
// keeps its quotes or surrounding blanks, and every folder is tried with
// every extension, in order.
#include "catalogue/ShadowRules.h"
#include "fuzz/Check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::string name = provider.ConsumeRandomLengthString(16);
    const std::string pathext = provider.ConsumeRandomLengthString(64);
    const std::string path = provider.ConsumeRemainingBytesAsString();
    const auto folders = SplitSearchPath(path);
    const auto extensions = SplitExtensions(pathext);
    FUZZ_CHECK(!extensions.empty());
    for (const auto& part : folders) {
        FUZZ_CHECK(!part.empty());
        FUZZ_CHECK(part.find(';') == std::string::npos);
        FUZZ_CHECK(part.front() != '"' && part.back() != '"' && part.front() != ' ' && part.back() != ' ');
    }
    const auto candidates = ShadowCandidates(name, folders, extensions);
    FUZZ_CHECK(candidates.size() == folders.size() * extensions.size());
    for (size_t i = 0; i < candidates.size(); ++i) {
        const std::string& folder = folders[i / extensions.size()];
        const std::string& extension = extensions[i % extensions.size()];
        FUZZ_CHECK(candidates[i].compare(0, folder.size(), folder) == 0);
        FUZZ_CHECK(candidates[i].size() >= extension.size() &&
                   candidates[i].compare(candidates[i].size() - extension.size(), extension.size(), extension) == 0);
    }
    return 0;
}
