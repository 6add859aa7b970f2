// The BITMAPINFOHEADER at the start of every icon image, decoded from and encoded to its
// little-endian bytes one field at a time, so no buffer is ever read through a cast.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pictaro {

inline constexpr std::size_t kBitmapInfoHeaderSize = 40;

struct BitmapInfoHeader {
  std::uint32_t biSize = 0;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;  // colour bitmap plus mask: twice the image's height
  std::uint16_t biPlanes = 0;
  std::uint16_t biBitCount = 0;
  std::uint32_t biCompression = 0;
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = 0;
  std::uint32_t biClrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == kBitmapInfoHeaderSize);

// Byte offsets of the fields inside the 40 bytes.
namespace header_offset {
inline constexpr std::size_t kSize = 0;
inline constexpr std::size_t kWidth = 4;
inline constexpr std::size_t kHeight = 8;
inline constexpr std::size_t kPlanes = 12;
inline constexpr std::size_t kBitCount = 14;
inline constexpr std::size_t kCompression = 16;
inline constexpr std::size_t kSizeImage = 20;
inline constexpr std::size_t kXPelsPerMeter = 24;
inline constexpr std::size_t kYPelsPerMeter = 28;
inline constexpr std::size_t kClrUsed = 32;
inline constexpr std::size_t kClrImportant = 36;
}  // namespace header_offset

// Both take kBitmapInfoHeaderSize bytes.
BitmapInfoHeader ReadBitmapInfoHeader(const std::uint8_t* bytes);
void WriteBitmapInfoHeader(const BitmapInfoHeader& header, std::uint8_t* bytes);

// Bytes in one bitmap row of `width` pixels at `bitsPerPixel`, padded to 4 bytes. Computed in
// 64 bits so that any 32-bit width and depth fit.
constexpr std::uint64_t RowBytes(std::uint64_t width, std::uint64_t bitsPerPixel) {
  return (width * bitsPerPixel + 31) / 32 * 4;
}

}  // namespace pictaro
