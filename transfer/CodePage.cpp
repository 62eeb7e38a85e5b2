#include "transfer/CodePage.h"

#include <windows.h>

namespace {

std::wstring Utf8ToWide(const std::string& text, DWORD flags)
{
    const int wide = MultiByteToWideChar(CP_UTF8, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring utf16(static_cast<size_t>(wide > 0 ? wide : 0), L'\0');
    if (wide > 0)
        MultiByteToWideChar(CP_UTF8, flags, text.data(), static_cast<int>(text.size()), utf16.data(), wide);
    return utf16;
}

} // namespace

std::string AnsiToUtf8(const std::string& text)
{
    if (text.empty())
        return {};
    const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring utf16(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), utf16.data(), wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

std::optional<std::string> Utf8ToAnsi(const std::string& text)
{
    if (text.empty())
        return std::string();
    if (text.find('\0') != std::string::npos)
        return std::nullopt;
    const std::wstring utf16 = Utf8ToWide(text, MB_ERR_INVALID_CHARS);
    if (utf16.empty())
        return std::nullopt;
    const int length = static_cast<int>(utf16.size());
    BOOL usedDefault = FALSE;
    const int bytes =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, utf16.data(), length, nullptr, 0, nullptr, &usedDefault);
    if (bytes <= 0 || usedDefault)
        return std::nullopt;
    std::string ansi(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, utf16.data(), length, ansi.data(), bytes, nullptr, &usedDefault);
    // The round trip catches what a code page maps without a default char.
    if (usedDefault || AnsiToUtf8(ansi) != text)
        return std::nullopt;
    return ansi;
}
