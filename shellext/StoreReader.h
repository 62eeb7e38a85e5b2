#pragma once
// Read access to the Fast Folder store (the program owns and writes it).
#include "shellext/HandlerRules.h"
#include "shellext/Holders.h"

#include <string_view>

namespace tesselator {

// Opens the store key with read access; false when it does not exist.
bool OpenStore(CKeyHolder& key);

// Reads a text value (REG_SZ or REG_EXPAND_SZ, unexpanded) into a
// zero-filled buffer of the store's text size, whether or not it stored a
// terminator. A text that does not fit, or a value of another type (whose
// bytes are no UTF-16 text), counts as unreadable; out is changed only on
// success. name is one of the store's ASCII value names.
bool ReadStoreText(HKEY key, std::string_view name, wchar_t (&out)[kTextBufferSize]);

// A switch (REG_DWORD): false only for a stored 0; missing or unreadable
// leaves it at its default, on.
bool ReadStoreSwitch(HKEY key, std::string_view name);

} // namespace tesselator
