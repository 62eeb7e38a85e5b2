#pragma once
// The fixed header of a shell link file, read from its bytes: the shell's
// own reader is not trusted for the show command (one answers 1 for every
// link). Platform-free.
#include <cstddef>
#include <optional>
#include <string_view>

inline constexpr size_t kLinkHeaderSize = 0x4C;

// The show command the header holds (offset 0x3C); nullopt when the bytes
// do not begin with a link header.
std::optional<int> LinkHeaderShowCommand(std::string_view header);
