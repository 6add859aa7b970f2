// A picture in memory: rows top to bottom, 4 bytes a pixel, red, green, blue, alpha. The
// windows only show finished rasters; every pixel rule is applied here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pictaro {

struct Raster {
  Raster() = default;
  Raster(int w, int h) : width(w), height(h), rgba(static_cast<std::size_t>(w) * h * 4, 0) {}

  std::uint8_t* At(int x, int y) {
    return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4;
  }
  const std::uint8_t* At(int x, int y) const {
    return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4;
  }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

}  // namespace pictaro
