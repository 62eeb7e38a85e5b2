#pragma once
// The key holder for callers that still hold text in the ANSI code page:
// a bridge while the program moves to UTF-16, gone with its last caller.
#include "framework/CodePage.h"
#include "framework/RegistryKey.h"

inline bool ReadAnsiString(CRegistryKey& key, size_t maxChars, const std::string& valueName, std::string& text)
{
    std::wstring wide;
    if (!key.ReadString(AnsiToWide(valueName), maxChars, wide))
        return false;
    text = WideToAnsi(wide.c_str(), wide.size());
    return true;
}

inline bool WriteAnsiString(CRegistryKey& key, const std::string& valueName, const std::string& text)
{
    return key.WriteString(AnsiToWide(valueName), AnsiToWide(text));
}
