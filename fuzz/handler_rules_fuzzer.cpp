// The context-menu handler's rules over what the shell hands it. An offset
// is a folder only below the count and Settings only at it; a string verb
// is never an offset; alias texts (UTF-16, surrogates and all) show as
// typed once the menu halves the ampersands; a bounded copy writes nothing
// past its size and terminates.
#include "fuzz/Check.h"
#include "fuzz/Utf16Units.h"
#include "shellext/HandlerRules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace tesselator;

constexpr char kGuard = '\x5A';

void CheckOffsets(FuzzedDataProvider& provider)
{
    const auto verb = provider.ConsumeIntegral<std::uintptr_t>();
    const int offset = VerbOffset(verb);
    FUZZ_CHECK((verb >> 16) != 0 ? offset == -1 : offset == static_cast<int>(verb));
    const int count = provider.ConsumeIntegralInRange<int>(0, kMaxFastFolders); // the menu holds at most ten
    const int probe = provider.ConsumeIntegralInRange<int>(-3, 20);
    const MenuCommand command = ClassifyOffset(probe, count);
    if (command == MenuCommand::Folder)
        FUZZ_CHECK(probe >= 0 && probe < count && probe < kMaxFastFolders);
    if (command == MenuCommand::Settings)
        FUZZ_CHECK(probe == count && probe >= 0 && probe <= kMaxFastFolders);

    const auto first = provider.ConsumeIntegral<unsigned>();
    const auto last = provider.ConsumeIntegral<unsigned>();
    const int needed = provider.ConsumeIntegralInRange<int>(-1, 12);
    if (CommandRangeFits(first, last, needed))
        FUZZ_CHECK(needed > 0 && first <= last && static_cast<uint64_t>(last) - first + 1 >= static_cast<uint64_t>(needed));
}

void CheckMenuText(const std::u16string& alias)
{
    const std::u16string shown = MenuTextForAlias(alias);
    std::u16string halved;
    for (size_t i = 0; i < shown.size(); ++i) {
        halved += shown[i];
        if (shown[i] == u'&') {
            FUZZ_CHECK(i + 1 < shown.size() && shown[i + 1] == u'&');
            ++i;
        }
    }
    FUZZ_CHECK(halved == alias);
}

void CheckCopy(const std::string& text, size_t capacity)
{
    std::vector<char> buffer(capacity + 8, kGuard);
    CopyTruncated(std::string_view(text), buffer.data(), capacity);
    for (size_t i = capacity; i < buffer.size(); ++i)
        FUZZ_CHECK(buffer[i] == kGuard);
    if (capacity == 0)
        return;
    const size_t length = std::min(text.size(), capacity - 1);
    FUZZ_CHECK(buffer[length] == '\0');
    FUZZ_CHECK(std::string(buffer.data(), length) == text.substr(0, length));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    CheckOffsets(provider);
    const size_t capacity = provider.ConsumeIntegralInRange<size_t>(0, 300);
    const std::u16string className = Utf16Units(provider.ConsumeRandomLengthString(80));
    const BrowserWindow kind = ClassifyBrowserWindow(className);
    if (kind == BrowserWindow::Dialog)
        FUZZ_CHECK(className.rfind(u"#32770", 0) == 0);
    const std::string text = provider.ConsumeRemainingBytesAsString();
    CheckMenuText(Utf16Units(text));
    CheckCopy(text, capacity);
    return 0;
}
