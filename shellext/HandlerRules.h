#pragma once
// Decision rules of the context-menu handler, platform-free so that tests
// and the fuzzers call them directly.
#include "contract/StoreContract.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tesselator {

constexpr int kMaxFastFolders = contract::kFastFolderLimit;
constexpr size_t kTextBufferSize = 260; // every store text fits in 259 UTF-16 units

// Value names of the store (ASCII): the index in decimal, and that text twice.
std::string AliasValueName(int index);
std::string PathValueName(int index);

// The command offset carried by an invoke request's verb field, or -1 when
// the field is a string (its high 16 bits are not 0).
int VerbOffset(std::uintptr_t verb);

// The nested submenu "Folders open in Explorer" lists at most this many.
constexpr int kMaxOpenFolders = 10;

// The command offsets a menu uses: the aliases from 0, "Settings...", and
// with the nested submenu its placeholder (which marks the popup until it is
// filled) and the ids of the folders it may list. Settings keeps the offset
// it always had, so hosts and tests that know the old layout still agree.
struct MenuLayout {
    int aliases = 0;
    bool openFolders = false;

    int SettingsOffset() const { return aliases; }
    int PlaceholderOffset() const { return aliases + 1; }
    int OpenFolderOffset(int index) const { return aliases + 2 + index; }
    int Used() const { return aliases + 1 + (openFolders ? 1 + kMaxOpenFolders : 0); }
};

// True when the shell left room for `needed` ids from first to last.
bool CommandRangeFits(unsigned first, unsigned last, int needed);

// The layout that fits the shell's id range: the nested submenu is left
// out when its ids do not fit; nothing fits when not even the aliases and
// "Settings..." do.
std::optional<MenuLayout> PlanMenu(int aliases, bool wantOpenFolders, unsigned first, unsigned last);

// What an offset means in a layout. Offsets the layout never handed out, and
// the placeholder (never a command), are refused; an open folder's index
// says nothing about whether the list had that many.
enum class MenuCommand { Invalid, Folder, Settings, OpenFolder };
struct MenuChoice {
    MenuCommand command = MenuCommand::Invalid;
    int index = -1; // the alias or the open folder
};
MenuChoice ClassifyOffset(int offset, const MenuLayout& layout);

// Which windows may be asked for their shell browser (WM_USER+7), whose
// answer is then called. Explorer windows are known by their class; any
// dialog may use WM_USER+7 for its own purpose, so a dialog must first
// prove to be a common file dialog.
enum class BrowserWindow { Other, Explorer, Dialog };
BrowserWindow ClassifyBrowserWindow(std::u16string_view className);

// Menu text for an alias or a path: ampersands doubled, so "R&D" shows as
// typed; every other unit, surrogates among them, passes unchanged.
std::u16string MenuTextOf(std::u16string_view text);

// The menu pictures are drawn for 100 %, 150 % and 200 % display scale: the
// one to show at a DPI (0, 1 or 2) is the largest that is not bigger than
// the DPI asks, so a picture is never shrunk.
int MenuPictureScale(int dpi);

// GetCommandString's request type: help text has the lowest bit set.
bool AsksForHelpText(unsigned type);
bool AsksForUnicode(unsigned type);

// Copies as much as fits into out[capacity] and always terminates it;
// nothing is written when capacity is 0. For the shell's narrow and wide
// buffers alike.
template <typename Char>
void CopyTruncated(std::basic_string_view<Char> text, Char* out, size_t capacity)
{
    if (!out || capacity == 0)
        return;
    const size_t length = std::min(text.size(), capacity - 1);
    std::copy_n(text.data(), length, out);
    out[length] = Char{};
}

} // namespace tesselator
