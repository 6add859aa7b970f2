// A plain view of layer pixels: what the host delivered for one requested rectangle.
#pragma once

#include <cstdint>

#include "model/Rect.h"

namespace pictaro {

// Invalid after the host's next delivery.
struct LayerImage {
  Rect rect{};                         // inRect (or outRect)
  const std::uint8_t* base = nullptr;  // the rectangle's top-left pixel; null: nothing delivered
  int32 rowBytes = 0;
  int32 columnBytes = 0;

  int Width() const { return rect.Width(); }
  int Height() const { return rect.Height(); }
  // Pixels carry transparency in their fourth byte.
  bool HasTransparency() const { return columnBytes >= 4; }
  // Pixel (x, y), y = 0 the top row: red, green, blue and, with transparency, its byte.
  const std::uint8_t* Pixel(int x, int y) const {
    return base + static_cast<std::intptr_t>(y) * rowBytes +
           static_cast<std::intptr_t>(x) * columnBytes;
  }
};

}  // namespace pictaro
