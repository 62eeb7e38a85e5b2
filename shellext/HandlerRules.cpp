#include "shellext/HandlerRules.h"

#include "shellext/TextTools.h"

#include <algorithm>
#include <cstdio>

namespace tesselator {

namespace {

// GetCommandString's type bits (GCS_HELPTEXTA, GCS_UNICODE).
constexpr unsigned kHelpTextBit = 0x1;
constexpr unsigned kUnicodeBit = 0x4;

} // namespace

std::string AliasValueName(int index)
{
    if (index >= 0 && index < kMaxFastFolders)
        return contract::kAliasValueNames[index];
    char name[16] = {};
    std::snprintf(name, sizeof name, "%i", index);
    return name;
}

std::string PathValueName(int index)
{
    return AliasValueName(index) + AliasValueName(index);
}

int VerbOffset(std::uintptr_t verb)
{
    if ((verb >> 16) != 0)
        return -1;
    return static_cast<int>(verb & 0xFFFF);
}

bool CommandRangeFits(unsigned first, unsigned last, int needed)
{
    return needed > 0 && first <= last && last - first >= static_cast<unsigned>(needed - 1);
}

std::optional<MenuLayout> PlanMenu(int aliases, bool wantOpenFolders, unsigned first, unsigned last)
{
    MenuLayout layout{std::clamp(aliases, 0, kMaxFastFolders), wantOpenFolders};
    if (layout.openFolders && !CommandRangeFits(first, last, layout.Used()))
        layout.openFolders = false;
    if (!CommandRangeFits(first, last, layout.Used()))
        return std::nullopt;
    return layout;
}

MenuChoice ClassifyOffset(int offset, const MenuLayout& layout)
{
    const int aliases = std::clamp(layout.aliases, 0, kMaxFastFolders);
    if (offset >= 0 && offset < aliases)
        return {MenuCommand::Folder, offset};
    if (offset == aliases)
        return {MenuCommand::Settings, -1};
    const int folder = offset - (aliases + 2);
    if (layout.openFolders && folder >= 0 && folder < kMaxOpenFolders)
        return {MenuCommand::OpenFolder, folder};
    return {};
}

BrowserWindow ClassifyBrowserWindow(std::u16string_view className)
{
    static constexpr std::u16string_view kExplorerPrefixes[] = {u"ExploreWClass", u"CabinetWClass", u"IEFrame"};
    const auto startsWith = [&](std::u16string_view prefix) { return className.substr(0, prefix.size()) == prefix; };
    if (std::any_of(std::begin(kExplorerPrefixes), std::end(kExplorerPrefixes), startsWith))
        return BrowserWindow::Explorer;
    return startsWith(u"#32770") ? BrowserWindow::Dialog : BrowserWindow::Other;
}

std::u16string MenuTextOf(std::u16string_view text)
{
    return DoubleEvery(text, u'&');
}

bool AsksForHelpText(unsigned type) { return (type & kHelpTextBit) != 0; }
bool AsksForUnicode(unsigned type) { return (type & kUnicodeBit) != 0; }

int MenuPictureScale(int dpi)
{
    if (dpi >= 192)
        return 2;
    return dpi >= 144 ? 1 : 0;
}

} // namespace tesselator
