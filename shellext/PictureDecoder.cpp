#include "shellext/PictureDecoder.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace tesselator {

bool DecodePicture(const void* dib, std::size_t size, PicturePixels& pixels)
{
    BITMAPINFOHEADER header = {};
    if (!dib || size < sizeof header)
        return false;
    std::memcpy(&header, dib, sizeof header);
    if (header.biSize < sizeof header || header.biWidth != kPictureSize ||
        std::abs(header.biHeight) != kPictureSize || header.biPlanes != 1 || header.biBitCount != 4 ||
        header.biCompression != BI_RGB || header.biClrUsed > 16)
        return false;
    const std::size_t colours = header.biClrUsed ? header.biClrUsed : 16;
    const std::size_t stride = ((kPictureSize * 4 + 31) / 32) * 4;
    const std::size_t bitsOffset = header.biSize + colours * sizeof(RGBQUAD);
    if (size < bitsOffset + stride * kPictureSize)
        return false;

    const auto* bytes = static_cast<const unsigned char*>(dib);
    std::array<std::uint32_t, 16> palette = {};
    for (std::size_t i = 0; i < colours; ++i) {
        RGBQUAD quad;
        std::memcpy(&quad, bytes + header.biSize + i * sizeof quad, sizeof quad);
        palette[i] = static_cast<std::uint32_t>(quad.rgbRed) << 16 | static_cast<std::uint32_t>(quad.rgbGreen) << 8 |
                     quad.rgbBlue;
    }
    for (int y = 0; y < kPictureSize; ++y) {
        // A positive height stores the bottom row first.
        const int sourceRow = header.biHeight > 0 ? kPictureSize - 1 - y : y;
        const unsigned char* row = bytes + bitsOffset + stride * static_cast<std::size_t>(sourceRow);
        for (int x = 0; x < kPictureSize; ++x) {
            const unsigned index = x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
            if (index >= colours)
                return false;
            pixels[static_cast<std::size_t>(y * kPictureSize + x)] = palette[index];
        }
    }
    return true;
}

} // namespace tesselator
