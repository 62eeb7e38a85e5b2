#pragma once
// How an App Paths entry of other software is shown: platform-free rules,
// templates over the string type (Win32 code passes UTF-16, fuzzers bytes).
#include "apppaths/EntryRules.h"

#include <string>

namespace systemcmds_detail {
constexpr size_t kExtensionLength = 4; // ".exe", ".com", ".lnk"
}

// The name the Run dialog accepts: the key name without a four-character
// extension (WINWORD.EXE -> WINWORD, x.com -> x, a.b stays, .exe -> empty).
template <typename String>
String SystemCommandDisplayName(const String& keyName)
{
    using systemcmds_detail::kExtensionLength;
    if (keyName.size() >= kExtensionLength &&
        keyName[keyName.size() - kExtensionLength] == typename String::value_type('.'))
        return keyName.substr(0, keyName.size() - kExtensionLength);
    return keyName;
}

// Our own commands point their entry at a shortcut file; the comparison is
// exact, so ".LNK" belongs to someone else.
template <typename String>
bool IsOwnCommandTarget(const String& path)
{
    using Char = typename String::value_type;
    const Char lnk[] = {Char('.'), Char('l'), Char('n'), Char('k')};
    const size_t length = systemcmds_detail::kExtensionLength;
    return path.size() >= length && path.compare(path.size() - length, length, lnk, length) == 0;
}
