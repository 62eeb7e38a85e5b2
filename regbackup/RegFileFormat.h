#pragma once
// The registry editor's export format (version 5.00), written from and read
// into a key tree. Values travel as their type and raw bytes, so what is
// read back is exactly what was captured. Platform-free: names are UTF-16
// code units as the registry holds them; the file is UTF-16 LE with a BOM.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\...\App Paths\tool.exe]
//   @="C:\\Tools\\tool.exe"
//   "Count"=dword:0000000a
//   "Data"=hex:01,02,\   <- a long hex line goes on in the next,
//     03                  indented by two spaces
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Registry value types the format names.
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;
inline constexpr uint32_t kRegQword = 11;

struct RegValue {
    std::u16string name; // empty: the default value
    uint32_t type = kRegNone;
    std::string data; // raw bytes as stored

    bool operator==(const RegValue&) const = default;
};

struct RegKey {
    // The root's full path (HKEY_...\...); below it, the subkey's own name.
    std::u16string name;
    std::vector<RegValue> values;
    std::vector<RegKey> subkeys;

    bool operator==(const RegKey&) const = default;
};

// Far larger than any App Paths entry; a bigger file is refused unread.
inline constexpr size_t kMaxRegFileBytes = 8 * 1024 * 1024;
// Levels of subkeys below the root that a file may hold.
inline constexpr int kMaxRegDepth = 32;
// The registry's own limits on names, in UTF-16 code units.
inline constexpr size_t kMaxRegKeyNameLength = 255;
inline constexpr size_t kMaxRegValueNameLength = 16383;

// The file's bytes (BOM, UTF-16 LE, CR LF lines). False, with the reason,
// when a name cannot be written faithfully (a line break in it, an empty or
// over-long key name) or the tree is deeper than a file may be.
bool WriteRegFile(const RegKey& root, std::string& bytes, std::string& why);

struct RegFileRead {
    std::string error; // not empty: the file is refused as a whole
    RegKey root;       // the first key and every key below it
};

// Reads a file. Every key must lie below the first one; deletions ("[-...]",
// "=-"), unknown value forms, malformed text and files beyond the limits
// above are refused with the line that is wrong.
RegFileRead ReadRegFile(std::string_view bytes);

// The ASCII text widened, for paths built from fixed names.
std::u16string WidenAscii(std::string_view text);
