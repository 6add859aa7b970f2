// Resources as pictures: the three view modes, centred at their own size or stretched by
// repeating pixels, composed onto a raster the way the views paint them.
#include <cmath>

#include "model/ResourceGrid.h"
#include "model/ResourcePixels.h"

namespace pictaro {

namespace {

constexpr int kViewBoth = 0;
constexpr int kViewData = 1;
constexpr int kViewMask = 2;

// Channel arithmetic on fractions of 255, multiplied back and truncated toward zero.
std::uint8_t Truncate(double fraction) {
  return static_cast<std::uint8_t>(fraction * 255.0);
}

// One pixel of the resource as the view mode shows it; alpha 0 where the picture underneath
// shows through (the transparent pixels of a 4- or 8-bit icon in mode 0).
void ShowPixel(const IconResource& r, std::uint32_t x, std::uint32_t y, int viewMode,
               std::uint32_t background, std::uint8_t* out) {
  const ResourcePixel p = PixelAt(r, x, y);
  out[3] = 255;
  if (r.depth == 32) {
    const double a = p.alpha / 255.0;
    const double bg[3] = {(background & 0xFF) / 255.0, ((background >> 8) & 0xFF) / 255.0,
                          ((background >> 16) & 0xFF) / 255.0};
    const std::uint8_t c[3] = {p.red, p.green, p.blue};
    for (int i = 0; i < 3; ++i) {
      switch (viewMode) {
        case kViewData:
          out[i] = c[i];
          break;
        case kViewMask:
          out[i] = Truncate(1.0 - a);
          break;
        default:
          out[i] = Truncate(c[i] / 255.0 * a + bg[i] * (1.0 - a));
          break;
      }
    }
    return;
  }
  if (viewMode == kViewMask) {
    out[0] = out[1] = out[2] = p.masked ? 255 : 0;
    return;
  }
  out[0] = p.red;
  out[1] = p.green;
  out[2] = p.blue;
  if (viewMode == kViewBoth && p.masked) out[3] = 0;
}

}  // namespace

int ResourceGrid::Draw(Raster& context, int left, int top, int right, int bottom, int viewMode,
                       int stretch, std::uint32_t background, int index) const {
  if (index < 0 || index >= kResourceCount) return 0;
  const IconResource& r = resources[index];
  if (!r.present || r.colorBits == nullptr || r.width == 0 || r.height == 0) return 0;
  if (viewMode != kViewData && viewMode != kViewMask) viewMode = kViewBoth;

  const int areaWidth = right - left;
  const int areaHeight = bottom - top;
  const int width = stretch ? areaWidth : static_cast<int>(r.width);
  const int height = stretch ? areaHeight : static_cast<int>(r.height);
  const int x0 = stretch ? left : left + areaWidth / 2 - static_cast<int>(r.width) / 2;
  const int y0 = stretch ? top : top + areaHeight / 2 - static_cast<int>(r.height) / 2;

  std::uint8_t shown[4];
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!context.Contains(x0 + x, y0 + y)) continue;
      // Stretching repeats pixels; it never smooths.
      const auto sx = static_cast<std::uint32_t>(stretch ? std::int64_t{x} * r.width / width : x);
      const auto sy = static_cast<std::uint32_t>(stretch ? std::int64_t{y} * r.height / height : y);
      ShowPixel(r, sx, sy, viewMode, background, shown);
      if (shown[3] == 0) continue;
      std::uint8_t* target = context.At(x0 + x, y0 + y);
      target[0] = shown[0];
      target[1] = shown[1];
      target[2] = shown[2];
      target[3] = 255;
    }
  }
  return 1;
}

int ResourceGrid::Draw(Raster& context, int left, int top, int right, int bottom, int viewMode,
                       int stretch, std::uint32_t background, const GridSlot& slot) const {
  const int index = IndexOf(slot);
  return index < 0 ? 0
                   : Draw(context, left, top, right, bottom, viewMode, stretch, background, index);
}

Raster ResourceGrid::IconImage(int index) const {
  if (index < 0 || index >= kResourceCount) return {};
  const IconResource& r = resources[index];
  if (!r.present || r.colorBits == nullptr) return {};
  Raster image(static_cast<int>(r.width), static_cast<int>(r.height));
  for (std::uint32_t y = 0; y < r.height; ++y) {
    for (std::uint32_t x = 0; x < r.width; ++x) {
      const ResourcePixel p = PixelAt(r, x, y);
      std::uint8_t* out = image.At(static_cast<int>(x), static_cast<int>(y));
      out[0] = p.red;
      out[1] = p.green;
      out[2] = p.blue;
      // 32-bit icons carry their alpha; the others show through their 1-bit mask.
      out[3] = r.depth == 32 ? p.alpha : (p.masked ? 0 : 255);
    }
  }
  return image;
}

}  // namespace pictaro
