#pragma once
// Fuzz bytes taken pairwise as UTF-16 units (little-endian): any unit,
// unpaired surrogates too, for the rules that work on UTF-16 text.
#include <string>

inline std::u16string Utf16Units(const std::string& bytes)
{
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                       static_cast<unsigned char>(bytes[i + 1]) << 8);
    return units;
}
