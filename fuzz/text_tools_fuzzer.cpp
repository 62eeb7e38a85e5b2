// The library's text helpers, over UTF-8 bytes and UTF-16 units alike:
// doubling is undone by halving; an extension replacement keeps the
// folders and ends with the new extension.
#include "fuzz/Check.h"
#include "fuzz/Utf16Units.h"
#include "shellext/TextTools.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

using namespace tesselator;

template <typename Char>
void CheckDoubling(const std::basic_string<Char>& text, Char c)
{
    const std::basic_string<Char> doubled = DoubleEvery<Char>(text, c);
    std::basic_string<Char> halved;
    for (size_t i = 0; i < doubled.size(); ++i) {
        halved += doubled[i];
        if (doubled[i] == c) {
            FUZZ_CHECK(i + 1 < doubled.size() && doubled[i + 1] == c);
            ++i;
        }
    }
    FUZZ_CHECK(halved == text);
}

template <typename Char>
void CheckExtension(const std::basic_string<Char>& path, const std::basic_string<Char>& extension)
{
    using String = std::basic_string<Char>;
    const String replaced = ReplaceExtension<Char>(path, extension);
    FUZZ_CHECK(replaced.ends_with(extension));
    const String stem = replaced.substr(0, replaced.size() - extension.size());
    FUZZ_CHECK(path.compare(0, stem.size(), stem) == 0);
    const String dropped = path.substr(stem.size());
    const Char separators[] = {Char('\\'), Char('/'), Char(0)};
    const Char stops[] = {Char('.'), Char('\\'), Char('/'), Char(0)};
    // Only the last component's extension goes: a '.' and no separator.
    if (dropped.empty()) {
        const size_t dot = path.rfind(Char('.'));
        const size_t slash = path.find_last_of(separators);
        FUZZ_CHECK(dot == String::npos || (slash != String::npos && dot < slash));
    } else {
        FUZZ_CHECK(dropped[0] == Char('.') && dropped.find_first_of(stops, 1) == String::npos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const char c = provider.ConsumeIntegral<char>();
    const char16_t unit = provider.ConsumeIntegral<char16_t>();
    const std::string extension = provider.ConsumeRandomLengthString(8);
    const std::string text = provider.ConsumeRemainingBytesAsString();
    CheckDoubling(text, c);
    CheckExtension(text, extension);
    CheckDoubling(Utf16Units(text), unit);
    CheckExtension(Utf16Units(text), Utf16Units(extension));
    return 0;
}
