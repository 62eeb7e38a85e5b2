#pragma once
// Decodes the library's 16 x 16, 16-colour menu pictures from their resource
// bits, so that a bitmap can be made with one cheap CreateBitmap call: the
// shell waits for the menu on every right-click, and a DIB section or a
// device bitmap from LoadBitmap costs hundreds of microseconds.
#include <array>
#include <cstddef>
#include <cstdint>

namespace tesselator {

constexpr int kPictureSize = 16;
// 0x00RRGGBB per pixel, rows from the top (CreateBitmap's 32-bit layout).
using PicturePixels = std::array<std::uint32_t, kPictureSize * kPictureSize>;

// A packed DIB as a BITMAP resource holds it: header, palette, bits. Only
// uncompressed 4-bit pictures of 16 x 16 pixels are decoded; anything else
// (or a truncated resource) gives false.
bool DecodePicture(const void* dib, std::size_t size, PicturePixels& pixels);

} // namespace tesselator
