// The command-name rule against the character set the user is told:
// digits, ASCII letters and ! # $ % & ( ) + - | { } _ @, nothing else, and
// not empty. The name becomes a path and a registry key, so one wrong byte
// (a NUL, a backslash, a dot) lets a name reach outside its folder.
#include "catalogue/CommandName.h"
#include "fuzz/Check.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kLegal = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz!#$%&()+-|{}_@";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string name(reinterpret_cast<const char*>(data), size);
    bool expected = !name.empty();
    for (const char c : name) {
        const bool legal = kLegal.find(c) != std::string_view::npos;
        FUZZ_CHECK(IsLegalCommandChar(static_cast<unsigned char>(c)) == legal);
        expected = expected && legal;
    }
    FUZZ_CHECK(IsLegalCommandName(name) == expected);
    return 0;
}
