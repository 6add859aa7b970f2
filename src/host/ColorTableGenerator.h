// The automatic colour table: a 6-bit colour histogram of the layer area in view, reduced by a
// median cut to at most 256 boxes, each giving the count-weighted mean colour of its cells.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "host/HostContext.h"
#include "model/ColorTable.h"

namespace pictaro {

// 64 x 64 x 64 saturating 16-bit counts, cell r + 64 g + 4096 b of the top six bits, and the
// list of the cells that hold a count, so that the median cut never walks the empty ones.
class ColorHistogram {
 public:
  ColorHistogram();
  void Add(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    AddRun(CellOf(red, green, blue), 1);
  }
  // Counts `pixels` pixels `step` bytes apart, red, green and blue at byte offsets 0, `green`
  // and `blue` of each.
  void AddPixels(const std::uint8_t* pixel, int pixels, std::ptrdiff_t step, int green, int blue);
  std::uint16_t Count(int r, int g, int b) const { return cells_[r + 64 * g + 4096 * b]; }
  // The cells with a non-zero count, in the order they were first counted.
  std::span<const std::uint32_t> Occupied() const { return {occupied_.get(), occupiedCount_}; }

 private:
  static constexpr std::uint16_t kCountLimit = 0xFFFF;
  static std::uint32_t CellOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return (red >> 2) | (green >> 2) << 6 | (blue >> 2) << 12;
  }
  // `run` more pixels of one cell, as many single counts would add them.
  void AddRun(std::uint32_t cell, std::uint32_t run) {
    std::uint16_t& count = cells_[cell];
    // Written every time, kept only for a cell's first count: a many-coloured area would
    // otherwise mispredict a jump on every new cell.
    occupied_[occupiedCount_] = cell;
    occupiedCount_ += (count - 1u) >> 31;  // 1 for a count of 0
    count = static_cast<std::uint16_t>(std::min<std::uint32_t>(count + run, kCountLimit));
  }
  std::unique_ptr<std::uint16_t[]> cells_;
  std::unique_ptr<std::uint32_t[]> occupied_;  // room for every cell and one more
  std::size_t occupiedCount_ = 0;
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
