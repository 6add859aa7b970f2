#include "resources/ImageResources.h"

#include <array>
#include <cstddef>

#include "model/BitmapInfoHeader.h"
#include "model/LittleEndian.h"
#include "resources/ResourceRegistry.h"

namespace pictaro {

namespace {

// The most pixels a resource may claim across or down; ours are at most 285.
constexpr std::int64_t kMaxSide = 4096;
constexpr std::uint32_t kUncompressed = 0;  // BI_RGB
constexpr std::size_t kHotSpotBytes = 4;
constexpr std::size_t kColorEntryBytes = 4;  // blue, green, red, unused

using Rgba = std::array<std::uint8_t, 4>;
constexpr Rgba kTransparent = {0, 0, 0, 0};
constexpr Rgba kBlack = {0, 0, 0, 255};
constexpr Rgba kWhite = {255, 255, 255, 255};

// The plain, uncompressed header at `offset` with a usable width, or nullopt.
std::optional<BitmapInfoHeader> ReadHeader(std::span<const std::uint8_t> bytes,
                                           std::size_t offset) {
  if (bytes.size() < offset + kBitmapInfoHeaderSize) return std::nullopt;
  const BitmapInfoHeader header = ReadBitmapInfoHeader(bytes.data() + offset);
  if (header.biSize != kBitmapInfoHeaderSize || header.biPlanes != 1 ||
      header.biCompression != kUncompressed || header.biWidth <= 0 || header.biWidth > kMaxSide) {
    return std::nullopt;
  }
  return header;
}

// The value of pixel x in a row of 1, 4 or 8 bits a pixel, leftmost pixel in the high bits.
unsigned IndexAt(const std::uint8_t* row, int x, int bits) {
  const int bit = x * bits;
  return (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

void Put(Raster& raster, int x, int y, const Rgba& rgba) {
  std::uint8_t* out = raster.At(x, y);
  for (std::size_t i = 0; i < rgba.size(); ++i) out[i] = rgba[i];
}

}  // namespace

std::optional<Raster> DecodeBitmapResource(std::span<const std::uint8_t> bytes) {
  const std::optional<BitmapInfoHeader> header = ReadHeader(bytes, 0);
  if (!header) return std::nullopt;
  const int bits = header->biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
  // A negative height means the rows run top-down.
  const bool topDown = header->biHeight < 0;
  const std::int64_t height = topDown ? -std::int64_t{header->biHeight} : header->biHeight;
  if (height == 0 || height > kMaxSide) return std::nullopt;

  // Indexed pixels have a full colour table unless biClrUsed says fewer; 24 and 32 bits may
  // carry an optional one, which is skipped.
  const std::uint64_t maxColors = bits <= 8 ? 1u << bits : 256;
  const std::uint64_t colors =
      header->biClrUsed != 0 ? header->biClrUsed : (bits <= 8 ? maxColors : 0);
  if (colors > maxColors) return std::nullopt;
  const std::uint64_t pixelOffset = kBitmapInfoHeaderSize + colors * kColorEntryBytes;
  const std::uint64_t rowBytes = RowBytes(static_cast<std::uint64_t>(header->biWidth), bits);
  if (pixelOffset + rowBytes * height > bytes.size()) return std::nullopt;

  Raster raster(header->biWidth, static_cast<int>(height));
  bool usesAlpha = false;
  for (int y = 0; y < raster.height; ++y) {
    const std::uint64_t stored = topDown ? y : raster.height - 1 - y;
    const std::uint8_t* row = bytes.data() + pixelOffset + stored * rowBytes;
    for (int x = 0; x < raster.width; ++x) {
      const std::uint8_t* bgr = row + x * (bits / 8);
      if (bits <= 8) {
        // An index past the colour table shows black.
        const unsigned index = IndexAt(row, x, bits);
        if (index >= colors) {
          Put(raster, x, y, kBlack);
          continue;
        }
        bgr = bytes.data() + kBitmapInfoHeaderSize + index * kColorEntryBytes;
      }
      const std::uint8_t alpha = bits == 32 ? bgr[3] : 255;
      usesAlpha = usesAlpha || (bits == 32 && alpha != 0);
      Put(raster, x, y, {bgr[2], bgr[1], bgr[0], alpha});
    }
  }
  // A 32-bit bitmap whose fourth bytes are all zero leaves them unused: it is opaque.
  if (bits == 32 && !usesAlpha) {
    for (std::size_t i = 3; i < raster.rgba.size(); i += 4) raster.rgba[i] = 255;
  }
  return raster;
}

std::optional<CursorImage> DecodeCursorResource(std::span<const std::uint8_t> bytes) {
  const std::optional<BitmapInfoHeader> header = ReadHeader(bytes, kHotSpotBytes);
  if (!header || header->biBitCount != 1) return std::nullopt;
  // The height counts the XOR bitmap and the AND mask.
  if (header->biHeight <= 0 || header->biHeight % 2 != 0 || header->biHeight / 2 > kMaxSide) {
    return std::nullopt;
  }
  const int width = header->biWidth;
  const int height = header->biHeight / 2;
  const std::uint64_t colors = header->biClrUsed != 0 ? header->biClrUsed : 2;
  if (colors > 2) return std::nullopt;
  const int hotX = GetU16(bytes.data());
  const int hotY = GetU16(bytes.data() + 2);
  if (hotX >= width || hotY >= height) return std::nullopt;

  const std::uint64_t xorOffset = kHotSpotBytes + kBitmapInfoHeaderSize + colors * kColorEntryBytes;
  const std::uint64_t rowBytes = RowBytes(static_cast<std::uint64_t>(width), 1);
  const std::uint64_t andOffset = xorOffset + rowBytes * height;
  if (andOffset + rowBytes * height > bytes.size()) return std::nullopt;

  CursorImage cursor{Raster(width, height), hotX, hotY};
  for (int y = 0; y < height; ++y) {
    const std::uint64_t stored = static_cast<std::uint64_t>(height - 1 - y) * rowBytes;
    const std::uint8_t* xorRow = bytes.data() + xorOffset + stored;
    const std::uint8_t* andRow = bytes.data() + andOffset + stored;
    for (int x = 0; x < width; ++x) {
      const bool white = IndexAt(xorRow, x, 1) != 0;
      const bool keepsScreen = IndexAt(andRow, x, 1) != 0;
      // Where the mask keeps the screen, a set XOR bit would invert it; no raster can, so
      // those pixels show black.
      if (keepsScreen) {
        Put(cursor.image, x, y, white ? kBlack : kTransparent);
      } else {
        Put(cursor.image, x, y, white ? kWhite : kBlack);
      }
    }
  }
  return cursor;
}

std::optional<Raster> LoadBitmapResource(int id) {
  const auto bytes = FindResource(kBitmapType, id);
  return bytes ? DecodeBitmapResource(*bytes) : std::nullopt;
}

std::optional<CursorImage> LoadCursorResource(int id) {
  const auto bytes = FindResource(kCursorType, id);
  return bytes ? DecodeCursorResource(*bytes) : std::nullopt;
}

}  // namespace pictaro
