#pragma once
// Where the library's text meets Win32: the registrar's UTF-8 and the
// platform-free rules' UTF-16 (char16_t) to and from the wide calls.
#include <optional>
#include <string>
#include <string_view>

namespace tesselator {

// nullopt for bytes that are no UTF-8: a registry name is never guessed.
std::optional<std::wstring> Utf8ToWide(std::string_view text);
// nullopt for an unpaired surrogate, which UTF-8 cannot carry.
std::optional<std::string> WideToUtf8(std::wstring_view text);

// The ASCII names of the store's contract for the wide calls.
std::wstring AsciiToWide(std::string_view ascii);

// wchar_t is UTF-16 on Windows: the same units, another type.
std::u16string ToUtf16(std::wstring_view text);
std::wstring FromUtf16(std::u16string_view text);

} // namespace tesselator
