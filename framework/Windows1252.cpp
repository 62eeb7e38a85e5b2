#include "framework/Windows1252.h"

#include <utf8cpp/utf8.h>

#include <array>
#include <cstdint>
#include <iterator>

namespace {

// Bytes 0x80 to 0x9F; the rest are Latin-1. The five bytes the code page
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) are read by Windows as
// the C1 controls of the same value, and written back from them.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t FromByte(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

std::optional<unsigned char> ToByte(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<unsigned char>(codePoint);
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

std::optional<std::string> ToUtf8(std::string_view ansi)
{
    std::string utf8;
    utf8.reserve(ansi.size());
    for (const char c : ansi)
        utf8::unchecked::append(static_cast<uint32_t>(FromByte(static_cast<unsigned char>(c))), std::back_inserter(utf8));
    return utf8;
}

std::optional<std::string> ToAnsiExact(std::string_view utf8)
{
    if (!utf8::is_valid(utf8.begin(), utf8.end()))
        return std::nullopt;
    std::string ansi;
    ansi.reserve(utf8.size());
    for (auto it = utf8.begin(); it != utf8.end();) {
        const std::optional<unsigned char> byte = ToByte(utf8::unchecked::next(it));
        if (!byte || *byte == 0)
            return std::nullopt;
        ansi.push_back(static_cast<char>(*byte));
    }
    return ansi;
}

} // namespace

CodePageConverter Windows1252Converter()
{
    return {ToUtf8, ToAnsiExact};
}
