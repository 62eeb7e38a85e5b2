#include "framework/CodePage.h"

#include "framework/Services.h"

#include <windows.h>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the registry's wide names are UTF-16 units");

namespace {

UINT AnsiCodePage()
{
    return Services().ansiCodePage != 0 ? Services().ansiCodePage : CP_ACP;
}

bool ToUtf16(UINT codePage, const std::string& text, std::u16string& wide)
{
    wide.clear();
    if (text.empty())
        return true;
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0)
        return false;
    wide.resize(static_cast<size_t>(length));
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size,
                               reinterpret_cast<wchar_t*>(wide.data()), length) == length;
}

// usedDefault: null for UTF-8, which takes no default character.
std::string FromUtf16(UINT codePage, DWORD flags, const std::u16string& wide, BOOL* usedDefault)
{
    if (wide.empty())
        return {};
    const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
    const int count = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(codePage, flags, units, count, nullptr, 0, nullptr, usedDefault);
    if (bytes <= 0)
        return {};
    std::string text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, flags, units, count, text.data(), bytes, nullptr, usedDefault);
    return text;
}

} // namespace

bool AnsiToUtf16(const std::string& text, std::u16string& wide)
{
    return ToUtf16(AnsiCodePage(), text, wide);
}

std::optional<std::string> AnsiToUtf8(const std::string& text)
{
    std::u16string wide;
    if (!ToUtf16(AnsiCodePage(), text, wide))
        return std::nullopt;
    std::string utf8 = FromUtf16(CP_UTF8, 0, wide, nullptr);
    // Where two byte sequences read as one character, the text would not
    // come back as stored.
    BOOL usedDefault = FALSE;
    if (utf8.empty() != text.empty() || FromUtf16(AnsiCodePage(), WC_NO_BEST_FIT_CHARS, wide, &usedDefault) != text ||
        usedDefault)
        return std::nullopt;
    return utf8;
}

std::optional<std::string> Utf8ToAnsi(const std::string& text)
{
    if (text.find('\0') != std::string::npos)
        return std::nullopt;
    std::u16string wide;
    if (!ToUtf16(CP_UTF8, text, wide))
        return std::nullopt;
    BOOL usedDefault = FALSE;
    std::string ansi = FromUtf16(AnsiCodePage(), WC_NO_BEST_FIT_CHARS, wide, &usedDefault);
    // The round trip catches what a code page maps without a default char.
    if (usedDefault || ansi.empty() != text.empty() || AnsiToUtf8(ansi) != text)
        return std::nullopt;
    return ansi;
}

CodePageConverter AnsiCodePageConverter()
{
    return {[](std::string_view ansi) { return AnsiToUtf8(std::string(ansi)); },
            [](std::string_view utf8) { return Utf8ToAnsi(std::string(utf8)); }};
}

std::optional<std::wstring> Utf8ToWide(std::string_view text)
{
    if (text.empty())
        return std::wstring();
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
    const int count = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), count, nullptr, 0, nullptr,
                                          nullptr);
    if (bytes <= 0)
        return std::nullopt;
    std::string utf8(static_cast<size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), count, utf8.data(), bytes, nullptr,
                            nullptr) != bytes)
        return std::nullopt;
    return utf8;
}

std::wstring ShownUtf8(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string ShownAsUtf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int count = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), count, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), count, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}
