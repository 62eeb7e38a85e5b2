#pragma once
// An ANSI code page seen from UTF-8 text, passed to the platform-free code
// that must read or write it: the process's own on Windows, a fixed table
// in native tests and fuzzers. Double-byte code pages fit: a conversion
// takes whole texts, never single bytes. Platform-free.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct CodePageConverter {
    // ANSI bytes as UTF-8; nullopt when a byte does not decode.
    std::function<std::optional<std::string>(std::string_view ansi)> toUtf8;
    // UTF-8 text as ANSI bytes; nullopt when the code page cannot hold it
    // exactly (no best fit, no default character), the text is not UTF-8
    // or holds a zero character.
    std::function<std::optional<std::string>(std::string_view utf8)> toAnsiExact;
};
