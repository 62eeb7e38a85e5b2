#pragma once
// The longest texts a command holds, in bytes of the program's code page.
// One set for the editor's fields, the properties file's reader and import,
// so that whatever is stored is read back, listed and exported. Platform-free.
#include <algorithm>
#include <cstddef>

// Its App Paths key (name + ".exe") and its files ("run_" + name + ".cfg")
// are names of at most 255 characters.
inline constexpr size_t kMaxCommandName = 247;
// A shortcut holds at most MAX_PATH - 1 characters of target: a longer one
// would be cut or mangled, so it is refused rather than stored wrong.
inline constexpr size_t kMaxCommandTarget = 259;
// A program's command line holds at most 32,767 characters with its end,
// and a shortcut keeps no more arguments than that.
inline constexpr size_t kMaxCommandParameters = 32766;
// The properties file's reader takes longer lines than any field: files
// written before these limits (parameters up to 64K) stay listed, so that
// they can be edited down or deleted.
inline constexpr size_t kMaxPropertiesLine = 64 * 1024;
// A properties file in UTF-8 takes up to three bytes for each UTF-16 unit
// of a field, so that every field the editor accepts reads back.
inline constexpr size_t kMaxPropertiesLineUtf8 = 3 * kMaxPropertiesLine;
static_assert(kMaxPropertiesLine >= std::max({kMaxCommandName, kMaxCommandTarget, kMaxCommandParameters}));
