// The module's cursor and bitmap resources, decoded from their resource bytes into rasters
// without any toolkit. Whatever the bytes, nothing outside them is read: a resource that is cut
// short or claims sizes it cannot hold decodes to nullopt.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "model/Raster.h"

namespace pictaro {

// Cursors: hot spot x and y (16 bits each), then a monochrome cursor bitmap: the XOR bits,
// then the AND mask, the header's height counting both.
inline constexpr const char* kCursorType = "CURSOR";
inline constexpr int kCursorMove = 1001;  // four arrows, hot spot (16, 15)
inline constexpr int kCursorHand = 1011;  // the pointing hand, hot spot (12, 8)

// Bitmaps: a BITMAPINFOHEADER, its colour table and the pixels, without a file header.
inline constexpr const char* kBitmapType = "BITMAP";
inline constexpr int kBitmapBullet = 1021;  // 4 x 4
inline constexpr int kBitmapLogo = 1039;    // 285 x 66

struct CursorImage {
  Raster image;  // the screen-inverting pixels shown black
  int hotX = 0;
  int hotY = 0;
};

// Uncompressed 1, 4, 8, 24 or 32 bits a pixel, bottom-up or top-down; the result is opaque
// unless a 32-bit bitmap uses its fourth bytes.
std::optional<Raster> DecodeBitmapResource(std::span<const std::uint8_t> bytes);

std::optional<CursorImage> DecodeCursorResource(std::span<const std::uint8_t> bytes);

// Resource `id` looked up and decoded; nullopt when it is missing or damaged.
std::optional<Raster> LoadBitmapResource(int id);
std::optional<CursorImage> LoadCursorResource(int id);

}  // namespace pictaro
