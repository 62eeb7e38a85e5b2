#pragma once
// Key trees as failed comparisons show them: names as code units, data as hex.
#include "regbackup/RegFileFormat.h"

#include <cstdio>
#include <ostream>

inline void PrintTo(const RegKey& key, std::ostream* out, int depth = 0)
{
    auto text = [](const std::u16string& s) {
        std::string shown;
        for (char16_t c : s)
            shown += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : "\\u" + std::to_string(c);
        return shown;
    };
    *out << "\n" << std::string(depth * 2, ' ') << "[" << text(key.name) << "]";
    for (const RegValue& value : key.values) {
        *out << "\n" << std::string(depth * 2 + 2, ' ') << "\"" << text(value.name) << "\" type " << value.type << ":";
        for (char unit : value.data) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02x", static_cast<unsigned char>(unit));
            *out << hex;
        }
    }
    for (const RegKey& subkey : key.subkeys)
        PrintTo(subkey, out, depth + 1);
}
