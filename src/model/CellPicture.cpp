#include "model/CellPicture.h"

namespace pictaro {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kFocusRing = 0x5C5C5C;
constexpr std::uint32_t kBlack = 0x000000;

std::uint32_t Channel(std::uint32_t color, int shift) {
  return (color >> shift) & 0xFF;
}

void Fill(Raster& raster, int left, int top, int right, int bottom, std::uint32_t color) {
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (!raster.Contains(x, y)) continue;
      std::uint8_t* p = raster.At(x, y);
      p[0] = static_cast<std::uint8_t>(Channel(color, 0));
      p[1] = static_cast<std::uint8_t>(Channel(color, 8));
      p[2] = static_cast<std::uint8_t>(Channel(color, 16));
      p[3] = 255;
    }
  }
}

// A 1-pixel ring just inside (left, top, right, bottom).
void Ring(Raster& raster, int left, int top, int right, int bottom, std::uint32_t color) {
  Fill(raster, left, top, right, top + 1, color);
  Fill(raster, left, bottom - 1, right, bottom, color);
  Fill(raster, left, top, left + 1, bottom, color);
  Fill(raster, right - 1, top, right, bottom, color);
}

}  // namespace

std::uint32_t ShadeOf(std::uint32_t color) {
  const float red = static_cast<float>(Channel(color, 0)) / 255.0f;
  const float green = static_cast<float>(Channel(color, 8)) / 255.0f;
  const float blue = static_cast<float>(Channel(color, 16)) / 255.0f;
  const float luminance = 0.3f * red + 0.59f * green + 0.11f * blue;
  std::uint32_t shaded = 0;
  int shift = 0;
  for (float c : {red, green, blue}) {
    c = luminance >= 0.5f ? c * 0.75f : 1.0f - (1.0f - c) * 0.5f;
    if (c > 1.0f) c = 1.0f;
    shaded |= static_cast<std::uint32_t>(c * 255.0f) << shift;
    shift += 8;
  }
  return shaded;
}

std::uint32_t FrameShadeOf(std::uint32_t color) {
  std::uint32_t shaded = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const double c = ((Channel(color, shift) / 255.0) * 0.75) * 255.0;
    shaded |= static_cast<std::uint32_t>(c) << shift;
  }
  return shaded;
}

void PaintCell(Raster& cell, const ResourceGrid* grid, const GridSlot& slot, const CellLook& look) {
  const int width = cell.width;
  const int height = cell.height;
  const std::uint32_t shade = FrameShadeOf(look.background);
  const std::uint32_t ring = look.selected ? kWhite : look.focused ? kFocusRing : kBlack;

  Fill(cell, 3, 3, width - 3, height - 3, look.background);
  if (grid != nullptr) {
    const int mode = slot.viewMode == 1 || slot.viewMode == 2 ? static_cast<int>(slot.viewMode) : 0;
    grid->Draw(cell, 3, 3, width - 3, height - 3, mode, look.stretch ? 1 : 0, look.background,
               slot);
  }
  // The frame is drawn last and never overlaps the image.
  std::uint32_t rings[3];
  if (look.stretch) {
    rings[0] = shade, rings[1] = ring, rings[2] = shade;
  } else if (look.selected) {
    rings[0] = shade, rings[1] = kWhite, rings[2] = shade;
  } else {
    rings[0] = look.background, rings[1] = look.background, rings[2] = shade;
  }
  for (int i = 0; i < 3; ++i) Ring(cell, i, i, width - i, height - i, rings[i]);
}

}  // namespace pictaro
