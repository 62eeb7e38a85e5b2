#pragma once
// Where the transfer file's text (UTF-8, checked as such when the file is
// read) meets the stores' (UTF-16).
#include "framework/CodePage.h"

#include <optional>
#include <string>

inline std::wstring StoreText(const std::string& utf8)
{
    return Utf8ToWide(utf8).value_or(std::wstring());
}

// nullopt for half a surrogate pair, which UTF-8 cannot hold.
inline std::optional<std::string> FileText(const std::wstring& text)
{
    return WideToUtf8(text);
}
