// The context-menu handler's rules over what the shell hands it. An offset
// is a folder only below the count and Settings only at it, an open folder
// only within the ids the layout reserved, never the placeholder, and a
// planned layout always fits the shell's range; the open-folder list holds
// each folder once, never the menu's own, at most ten; a string verb
// is never an offset; alias texts (UTF-16, surrogates and all) show as
// typed once the menu halves the ampersands; a bounded copy writes nothing
// past its size and terminates.
#include "fuzz/Check.h"
#include "fuzz/Utf16Units.h"
#include "shellext/HandlerRules.h"
#include "shellext/OpenFolderRules.h"

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
    const bool nested = provider.ConsumeBool();
    const MenuLayout layout{count, nested};
    const int probe = provider.ConsumeIntegralInRange<int>(-3, 30);
    const MenuChoice choice = ClassifyOffset(probe, layout);
    if (choice.command == MenuCommand::Folder)
        FUZZ_CHECK(probe >= 0 && probe < count && choice.index == probe);
    if (choice.command == MenuCommand::Settings)
        FUZZ_CHECK(probe == count);
    if (choice.command == MenuCommand::OpenFolder)
        FUZZ_CHECK(nested && choice.index >= 0 && choice.index < kMaxOpenFolders &&
                   probe == layout.OpenFolderOffset(choice.index) && probe < layout.Used());
    if (probe == layout.PlaceholderOffset() || probe < 0 || probe >= layout.Used())
        FUZZ_CHECK(choice.command == MenuCommand::Invalid);

    const auto first = provider.ConsumeIntegral<unsigned>();
    const auto last = provider.ConsumeIntegral<unsigned>();
    const int needed = provider.ConsumeIntegralInRange<int>(-1, 12);
    if (CommandRangeFits(first, last, needed))
        FUZZ_CHECK(needed > 0 && first <= last && static_cast<uint64_t>(last) - first + 1 >= static_cast<uint64_t>(needed));
    const auto planned = PlanMenu(count, nested, first, last);
    if (planned) {
        FUZZ_CHECK(static_cast<uint64_t>(last) - first + 1 >= static_cast<uint64_t>(planned->Used()));
        FUZZ_CHECK(planned->aliases == count && (!planned->openFolders || nested));
    }
}

void CheckOpenFolders(FuzzedDataProvider& provider)
{
    std::vector<WindowFolder> windows(provider.ConsumeIntegralInRange<size_t>(0, 16));
    for (WindowFolder& window : windows) {
        window.path = Utf16Units(provider.ConsumeRandomLengthString(12));
        window.zOrder = provider.ConsumeIntegralInRange<int>(-2, 20);
    }
    const std::u16string own = Utf16Units(provider.ConsumeRandomLengthString(12));
    const std::vector<std::u16string> list = OpenFolderList(windows, own);
    FUZZ_CHECK(list.size() <= static_cast<size_t>(kMaxOpenFolders));
    for (size_t i = 0; i < list.size(); ++i) {
        FUZZ_CHECK(!list[i].empty());
        FUZZ_CHECK(own.empty() || AsciiFoldedKey(list[i]) != AsciiFoldedKey(own));
        for (size_t j = 0; j < i; ++j)
            FUZZ_CHECK(AsciiFoldedKey(list[i]) != AsciiFoldedKey(list[j]));
        const bool shown = std::any_of(windows.begin(), windows.end(),
                                       [&](const WindowFolder& window) { return window.path == list[i]; });
        FUZZ_CHECK(shown);
    }
}

void CheckMenuText(const std::u16string& alias)
{
    const std::u16string shown = MenuTextOf(alias);
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
    CheckOpenFolders(provider);
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
