#include "regbackup/WideText.h"

#include <windows.h>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the registry's wide names are UTF-16 units");

bool AnsiToUtf16(const std::string& text, std::u16string& wide)
{
    wide.clear();
    if (text.empty())
        return true;
    const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0);
    if (length <= 0)
        return false;
    wide.resize(static_cast<size_t>(length));
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                               reinterpret_cast<wchar_t*>(wide.data()), length) == length;
}

std::string Utf16ToAnsi(const std::u16string& wide)
{
    if (wide.empty())
        return {};
    const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
    const int count = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, units, count, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, units, count, text.data(), bytes, nullptr, nullptr);
    return text;
}
