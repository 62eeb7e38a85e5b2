#pragma once
// How an App Paths entry of other software is shown: platform-free rules.
#include "apppaths/EntryRules.h"

#include <string>

// The name the Run dialog accepts: the key name without a four-character
// extension (WINWORD.EXE -> WINWORD, x.com -> x, a.b stays, .exe -> empty).
std::string SystemCommandDisplayName(const std::string& keyName);

// Our own commands point their entry at a shortcut file; the comparison is
// exact, so ".LNK" belongs to someone else.
bool IsOwnCommandTarget(const std::string& path);
