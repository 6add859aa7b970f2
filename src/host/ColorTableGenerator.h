// The automatic colour table: a 6-bit colour histogram of the layer area in view, reduced by a
// median cut to at most 256 boxes, each giving the count-weighted mean colour of its cells.
#pragma once

#include <cstdint>
#include <vector>

#include "host/HostContext.h"
#include "model/ColorTable.h"

namespace pictaro {

// 64 x 64 x 64 saturating 16-bit counts, cell r + 64 g + 4096 b of the top six bits.
class ColorHistogram {
 public:
  ColorHistogram();
  void Add(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  std::uint16_t Count(int r, int g, int b) const { return cells_[r + 64 * g + 4096 * b]; }

 private:
  std::vector<std::uint16_t> cells_;
};

// Inclusive cell bounds, the volume of its extents in 8-bit units and its occupied cells.
struct ColorBox {
  std::int32_t rLow, rHigh, gLow, gHigh, bLow, bHigh;
  std::int32_t volume;
  std::int32_t colorCount;
};

// Reduces a histogram to the table's entries (black beyond the boxes formed).
void MedianCut(const ColorHistogram& histogram, ColorTable& table);

// Fills `table` from the pixels of the current request rectangle, read row by row through
// the host; the request is left as it was found.
void GenerateColorTable(HostContext& host, ColorTable& table);

}  // namespace pictaro
