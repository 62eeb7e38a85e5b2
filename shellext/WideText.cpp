#include "shellext/WideText.h"

#include <windows.h>

#include <climits>

namespace tesselator {

std::optional<std::wstring> Utf8ToWide(std::string_view text)
{
    if (text.empty())
        return std::wstring();
    if (text.size() > INT_MAX)
        return std::nullopt;
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length) != length)
        return std::nullopt;
    return wide;
}

std::optional<std::string> WideToUtf8(std::wstring_view text)
{
    if (text.empty())
        return std::string();
    if (text.size() > INT_MAX)
        return std::nullopt;
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::nullopt;
    std::string narrow(static_cast<size_t>(length), '\0');
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, narrow.data(), length, nullptr,
                            nullptr) != length)
        return std::nullopt;
    return narrow;
}

std::wstring AsciiToWide(std::string_view ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

std::u16string ToUtf16(std::wstring_view text)
{
    return std::u16string(text.begin(), text.end());
}

std::wstring FromUtf16(std::u16string_view text)
{
    return std::wstring(text.begin(), text.end());
}

} // namespace tesselator
