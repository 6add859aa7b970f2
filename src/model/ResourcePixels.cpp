#include "model/ResourcePixels.h"

#include "model/BitmapInfoHeader.h"
#include "model/LittleEndian.h"

namespace pictaro {

namespace {

// The `depth` bits of pixel x, the leftmost pixel in the highest bits (depth 1, 2, 4 or 8).
std::uint32_t IndexAt(const std::uint8_t* row, std::uint64_t x, std::uint32_t depth) {
  const std::uint64_t bit = x * depth;
  return (row[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
}

}  // namespace

ResourcePixel PixelAt(const IconResource& r, std::uint32_t x, std::uint32_t y) {
  ResourcePixel pixel;
  // Rows are stored bottom-up.
  const std::uint64_t row = r.height - 1 - y;
  const std::uint8_t* color = r.colorBits + row * RowBytes(r.width, r.depth);
  const std::uint8_t* mask = r.maskBits + row * RowBytes(r.width, 1);
  pixel.masked = (mask[x / 8] >> (7 - x % 8)) & 1;

  switch (r.depth) {
    case 1:
    case 2:
    case 4:
    case 8: {
      const std::uint32_t index = IndexAt(color, x, r.depth);
      if (index < r.colorCount) {
        const std::uint8_t* entry = r.colorBits - 4 * std::uint64_t{r.colorCount} + 4 * index;
        pixel.blue = entry[0];
        pixel.green = entry[1];
        pixel.red = entry[2];
      }
      break;
    }
    case 16: {
      // 5 bits each of red, green and blue.
      const std::uint16_t value = GetU16(color + 2 * std::uint64_t{x});
      pixel.red = static_cast<std::uint8_t>(((value >> 10) & 31) * 255 / 31);
      pixel.green = static_cast<std::uint8_t>(((value >> 5) & 31) * 255 / 31);
      pixel.blue = static_cast<std::uint8_t>((value & 31) * 255 / 31);
      break;
    }
    case 24:
    case 32: {
      const std::uint8_t* p = color + std::uint64_t{x} * (r.depth / 8);
      pixel.blue = p[0];
      pixel.green = p[1];
      pixel.red = p[2];
      if (r.depth == 32) pixel.alpha = p[3];
      break;
    }
    default:
      // No other depth has a place in the grid's images; it reads as black.
      break;
  }
  return pixel;
}

}  // namespace pictaro
