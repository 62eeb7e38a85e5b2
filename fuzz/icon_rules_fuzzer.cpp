// The icon rule on a target from a properties file and the DefaultIcon text
// read from the registry. An icon location splits at its last ',' and any
// int written after it reads back exactly; the extension is the target's
// tail, lower-cased; the rule's checks run in their order and ask the
// system only where the earlier ones did not decide.
#include "services/IconRules.h"
#include "fuzz/Check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

void CheckIconLocation(FuzzedDataProvider& provider)
{
    const std::string spec = provider.ConsumeRandomLengthString(200);
    std::string file;
    int index = -1;
    ParseIconSpecification(spec, file, index);
    const size_t comma = spec.rfind(',');
    if (comma == std::string::npos || comma == 0)
        FUZZ_CHECK(file == spec && index == 0);
    else
        FUZZ_CHECK(file == spec.substr(0, comma));

    // A written index, after blanks and before other text, reads back.
    const std::string path = provider.ConsumeRandomLengthString(50);
    const int written = provider.ConsumeIntegral<int>();
    const std::string blanks(provider.ConsumeIntegralInRange(0, 2), provider.ConsumeBool() ? ' ' : '\t');
    const std::string tail = provider.ConsumeBool() ? "" : " x";
    ParseIconSpecification("a" + path + "," + blanks + std::to_string(written) + tail, file, index);
    FUZZ_CHECK(file == "a" + path && index == written);
}

void CheckExtension(const std::string& target)
{
    const std::string extension = TargetExtension(target);
    const size_t dot = target.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        FUZZ_CHECK(extension.empty());
        return;
    }
    FUZZ_CHECK(extension.size() == target.size() - dot);
    for (size_t i = 0; i < extension.size(); ++i) {
        const char c = target[dot + i];
        FUZZ_CHECK(extension[i] == (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
    }
}

void CheckChoice(FuzzedDataProvider& provider, const std::string& target)
{
    const bool folder = provider.ConsumeBool();
    const bool typed = provider.ConsumeBool();
    const std::string typeFile = provider.ConsumeRandomLengthString(20);
    const int typeIndex = provider.ConsumeIntegral<int>();
    int folderAsked = 0;
    int typeAsked = 0;
    IconQueries queries;
    queries.isExistingFolder = [&](const std::string& asked) {
        FUZZ_CHECK(asked == target);
        ++folderAsked;
        return folder;
    };
    queries.typeIcon = [&](const std::string& extension, std::string& file, int& index) {
        FUZZ_CHECK(extension == TargetExtension(target) && !extension.empty());
        ++typeAsked;
        file = typeFile;
        index = typeIndex;
        return typed;
    };
    const IconChoice choice = ChooseTargetIcon(target, queries);
    const std::string extension = TargetExtension(target);
    FUZZ_CHECK(folderAsked <= 1 && typeAsked <= 1);
    if (target.find("http://") != std::string::npos) {
        FUZZ_CHECK(choice == (IconChoice{"url.dll", 0, {}, 0}) && folderAsked == 0);
    } else if (extension == ".exe" || extension == ".dll") {
        FUZZ_CHECK(choice == (IconChoice{target, 0, "SHELL32.DLL", 2}) && folderAsked == 0);
    } else if (folder) {
        FUZZ_CHECK(folderAsked == 1 && typeAsked == 0 && choice == (IconChoice{"SHELL32.DLL", 4, {}, 0}));
    } else if (target.size() == 3) {
        FUZZ_CHECK(typeAsked == 0 && choice == (IconChoice{"SHELL32.DLL", 8, {}, 0}));
    } else if (!extension.empty() && typed) {
        FUZZ_CHECK(typeAsked == 1 && choice == (IconChoice{typeFile, typeIndex, {}, 0}));
    } else {
        FUZZ_CHECK(typeAsked == (extension.empty() ? 0 : 1) && choice == (IconChoice{"SHELL32.DLL", 0, {}, 0}));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::string target = provider.ConsumeRandomLengthString(300);
    CheckExtension(target);
    CheckChoice(provider, target);
    CheckIconLocation(provider);
    return 0;
}
