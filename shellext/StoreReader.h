#pragma once
// Read access to the Fast Folder store (the program owns and writes it).
#include "shellext/HandlerRules.h"
#include "shellext/Holders.h"

#include <string>

namespace tesselator {

// Opens the store key with read access; false when it does not exist.
bool OpenStore(CKeyHolder& key);

// Reads a value into a zero-filled buffer of the store's text size, whatever
// its stored type and whether or not it stored a terminator. A text that
// does not fit counts as unreadable; out is changed only on success.
bool ReadStoreText(HKEY key, const std::string& name, char (&out)[kTextBufferSize]);

} // namespace tesselator
