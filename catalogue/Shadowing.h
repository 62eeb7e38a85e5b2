#pragma once
// The file Windows would start for a typed command name instead of the
// command (see ShadowRules.h); empty when the name reaches the command.
#include <string>

std::wstring FindShadowingFile(const std::wstring& name);
