// The library's text helpers. A bounded copy writes nothing past the size
// it is given (guard words after it stay intact) and copies whole or
// leaves the buffer empty; doubling is undone by halving; an extension
// replacement keeps the folders and ends with the new extension.
#include "fuzz/Check.h"
#include "shellext/TextTools.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace tesselator;

constexpr wchar_t kGuard = 0xBEEF;
constexpr size_t kGuardWords = 8;

void CheckCopyWhole(FuzzedDataProvider& provider)
{
    const std::wstring text = [&] {
        std::wstring wide;
        for (size_t n = provider.ConsumeIntegralInRange<size_t>(0, 300); n > 0; --n)
            wide += static_cast<wchar_t>(provider.ConsumeIntegralInRange<int>(1, 0xFFFF));
        return wide;
    }();
    const size_t capacity = provider.ConsumeIntegralInRange<size_t>(0, 310);
    std::vector<wchar_t> buffer(capacity + kGuardWords, kGuard);
    const bool copied = CopyWhole(text, buffer.data(), capacity);
    for (size_t i = capacity; i < buffer.size(); ++i)
        FUZZ_CHECK(buffer[i] == kGuard);
    FUZZ_CHECK(copied == (text.size() < capacity));
    if (copied)
        FUZZ_CHECK(std::wstring(buffer.data()) == text);
    else if (capacity > 0)
        FUZZ_CHECK(buffer[0] == L'\0');
}

void CheckDoubling(const std::string& text, char c)
{
    const std::string doubled = DoubleEvery(text, c);
    std::string halved;
    for (size_t i = 0; i < doubled.size(); ++i) {
        halved += doubled[i];
        if (doubled[i] == c) {
            FUZZ_CHECK(i + 1 < doubled.size() && doubled[i + 1] == c);
            ++i;
        }
    }
    FUZZ_CHECK(halved == text);
}

void CheckExtension(const std::string& path, const std::string& extension)
{
    const std::string replaced = ReplaceExtension(path, extension);
    FUZZ_CHECK(replaced.ends_with(extension));
    const std::string stem = replaced.substr(0, replaced.size() - extension.size());
    FUZZ_CHECK(path.compare(0, stem.size(), stem) == 0);
    const std::string dropped = path.substr(stem.size());
    // Only the last component's extension goes: a '.' and no separator.
    if (dropped.empty()) {
        const size_t dot = path.rfind('.');
        const size_t slash = path.find_last_of("\\/");
        FUZZ_CHECK(dot == std::string::npos || (slash != std::string::npos && dot < slash));
    } else {
        FUZZ_CHECK(dropped[0] == '.' && dropped.find_first_of(".\\/", 1) == std::string::npos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    CheckCopyWhole(provider);
    const char c = provider.ConsumeIntegral<char>();
    const std::string extension = provider.ConsumeRandomLengthString(8);
    const std::string text = provider.ConsumeRemainingBytesAsString();
    CheckDoubling(text, c);
    CheckExtension(text, extension);
    return 0;
}
