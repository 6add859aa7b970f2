// Reads one pixel of a resource as drawing, Apply and the file checks see it. A resource read
// from a file may have any size and depth its header gives; every read stays inside the rows
// that size and depth describe, and an index past the colour table reads as black.
#pragma once

#include <cstdint>

#include "model/IconResource.h"

namespace pictaro {

struct ResourcePixel {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  // The alpha channel of a 32-bit image; 255 for the other depths.
  std::uint8_t alpha = 255;
  // The 1-bit mask: true where the background shows.
  bool masked = false;
};

// Pixel (x, y) of a present resource, y counted from the top row. x and y must lie inside the
// resource's width and height.
ResourcePixel PixelAt(const IconResource& resource, std::uint32_t x, std::uint32_t y);

}  // namespace pictaro
