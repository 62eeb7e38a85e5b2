#include "catalogue/LinkHeader.h"

#include <cstdint>

namespace {

uint32_t LittleEndian32(std::string_view bytes, size_t offset)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return value;
}

} // namespace

std::optional<int> LinkHeaderShowCommand(std::string_view header)
{
    // The header starts with its own size.
    if (header.size() < kLinkHeaderSize || LittleEndian32(header, 0) != kLinkHeaderSize)
        return std::nullopt;
    return static_cast<int>(LittleEndian32(header, 0x3C));
}
