#include "host/ColorTableGenerator.h"

#include <algorithm>
#include <bit>

#include "host/LayerAccess.h"

namespace pictaro {
namespace {

constexpr int kSide = 64;  // cells per channel: the top six bits
constexpr int kCells = kSide * kSide * kSide;
constexpr int kMaxBoxes = static_cast<int>(kColorTableEntries);
constexpr int kCellWidth = 4;  // 8-bit values per cell
constexpr int kCellCentre = kCellWidth / 2;
constexpr std::uint16_t kCountLimit = 0xFFFF;

enum class Axis { kRed, kGreen, kBlue };

int Extent(std::int32_t low, std::int32_t high) {
  return (high - low) * kCellWidth;
}

std::int32_t& Low(ColorBox& box, Axis axis) {
  return axis == Axis::kRed ? box.rLow : axis == Axis::kGreen ? box.gLow : box.bLow;
}

std::int32_t& High(ColorBox& box, Axis axis) {
  return axis == Axis::kRed ? box.rHigh : axis == Axis::kGreen ? box.gHigh : box.bHigh;
}

// std::popcount is a library call on targets without a population count instruction.
int CountBits(std::uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555u;
  x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<int>((x * 0x0101010101010101u) >> 56);
}

// One bit per cell, word g + 64 b, bit r: which cells hold a count, so that a box is tested a
// whole red row at a time and its colour sums visit only the occupied cells.
class Occupancy {
 public:
  explicit Occupancy(const ColorHistogram& histogram) : rows_(kSide * kSide) {
    for (int b = 0; b < kSide; ++b) {
      for (int g = 0; g < kSide; ++g) {
        std::uint64_t row = 0;
        for (int r = 0; r < kSide; ++r)
          row |= static_cast<std::uint64_t>(histogram.Count(r, g, b) != 0) << r;
        rows_[g + kSide * b] = row;
      }
    }
  }
  // The occupied cells of row (g, b) within the box's red bounds.
  std::uint64_t Row(const ColorBox& box, int g, int b) const {
    const std::uint64_t span =
        (~std::uint64_t{0} >> (kSide - 1 - box.rHigh)) & (~std::uint64_t{0} << box.rLow);
    return rows_[g + kSide * b] & span;
  }

 private:
  std::vector<std::uint64_t> rows_;
};

// Tightens the box to its occupied cells and recounts them. Narrowing red, then green within
// the new red bounds, then blue, plane by plane, ends at the bounding box of the occupied cells,
// so one pass over the box finds it. A box without any occupied cell keeps its bounds.
void Shrink(const Occupancy& occupancy, ColorBox& box) {
  int gLow = kSide, gHigh = -1, bLow = kSide, bHigh = -1;
  std::uint64_t reds = 0;
  std::int32_t count = 0;
  for (int b = box.bLow; b <= box.bHigh; ++b) {
    for (int g = box.gLow; g <= box.gHigh; ++g) {
      const std::uint64_t row = occupancy.Row(box, g, b);
      if (row == 0) continue;
      count += CountBits(row);
      reds |= row;
      gLow = std::min(gLow, g);
      gHigh = std::max(gHigh, g);
      bLow = std::min(bLow, b);
      bHigh = std::max(bHigh, b);
    }
  }
  if (count > 0) {
    box = ColorBox{
        std::countr_zero(reds), kSide - 1 - std::countl_zero(reds), gLow, gHigh, bLow, bHigh, 0, 0};
  }
  const int dR = Extent(box.rLow, box.rHigh);
  const int dG = Extent(box.gLow, box.gHigh);
  const int dB = Extent(box.bLow, box.bHigh);
  box.volume = dR * dR + dG * dG + dB * dB;
  box.colorCount = count;
}

// While there is room for twice the boxes, the one with the most colours is split; after that
// the widest. Ties go to the lowest index; -1 when no box can be split.
int ChooseBox(const std::vector<ColorBox>& boxes, int n) {
  const bool byColors = n * 2 <= kMaxBoxes;
  int chosen = -1;
  std::int32_t best = 0;
  for (int i = 0; i < n; ++i) {
    const ColorBox& box = boxes[i];
    if (box.volume <= 0) continue;
    const std::int32_t measure = byColors ? box.colorCount : box.volume;
    if (measure > best) {
      best = measure;
      chosen = i;
    }
  }
  return chosen;
}

// Ties go to green, then red; blue only when it is strictly the widest.
Axis LongestAxis(const ColorBox& box) {
  const int dR = Extent(box.rLow, box.rHigh);
  const int dG = Extent(box.gLow, box.gHigh);
  const int dB = Extent(box.bLow, box.bHigh);
  Axis axis = Axis::kGreen;
  int taken = dG;
  if (dR > dG) {
    axis = Axis::kRed;
    taken = dR;
  }
  if (dB > taken) axis = Axis::kBlue;
  return axis;
}

// The count-weighted mean of the cell centres; black for a box with no counted cell.
void StoreBoxColor(const ColorHistogram& histogram, const Occupancy& occupancy, const ColorBox& box,
                   std::uint8_t* entry) {
  // 64-bit sums: an area larger than the view's window could pass 32 bits.
  std::uint64_t total = 0, red = 0, green = 0, blue = 0;
  for (int b = box.bLow; b <= box.bHigh; ++b) {
    for (int g = box.gLow; g <= box.gHigh; ++g) {
      for (std::uint64_t row = occupancy.Row(box, g, b); row != 0; row &= row - 1) {
        const int r = std::countr_zero(row);
        const std::uint64_t c = histogram.Count(r, g, b);
        total += c;
        red += (kCellWidth * r + kCellCentre) * c;
        green += (kCellWidth * g + kCellCentre) * c;
        blue += (kCellWidth * b + kCellCentre) * c;
      }
    }
  }
  if (total == 0) {
    entry[0] = entry[1] = entry[2] = 0;
    return;
  }
  entry[0] = static_cast<std::uint8_t>((red + total / 2) / total);
  entry[1] = static_cast<std::uint8_t>((green + total / 2) / total);
  entry[2] = static_cast<std::uint8_t>((blue + total / 2) / total);
}

}  // namespace

ColorHistogram::ColorHistogram() : cells_(kCells, 0) {}

void ColorHistogram::Add(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  std::uint16_t& cell = cells_[(red >> 2) + kSide * (green >> 2) + kSide * kSide * (blue >> 2)];
  if (cell != kCountLimit) ++cell;
}

void MedianCut(const ColorHistogram& histogram, ColorTable& table) {
  const Occupancy occupancy(histogram);
  std::vector<ColorBox> boxes(kMaxBoxes);
  boxes[0] = ColorBox{0, kSide - 1, 0, kSide - 1, 0, kSide - 1, 0, 0};
  Shrink(occupancy, boxes[0]);
  int n = 1;
  while (n < kMaxBoxes) {
    const int chosen = ChooseBox(boxes, n);
    if (chosen < 0) break;
    ColorBox& box = boxes[chosen];
    ColorBox& added = boxes[n];
    added = box;
    const Axis axis = LongestAxis(box);
    const std::int32_t middle = (Low(box, axis) + High(box, axis)) / 2;
    High(box, axis) = middle;
    Low(added, axis) = middle + 1;
    Shrink(occupancy, box);
    Shrink(occupancy, added);
    ++n;
  }
  table.fill(0);
  for (int i = 0; i < n; ++i) StoreBoxColor(histogram, occupancy, boxes[i], &table[3 * i]);
}

void GenerateColorTable(HostContext& host, ColorTable& table) {
  ColorHistogram histogram;
  const bool colour = host.record->planes >= 3;
  ScanLayerRows(host, [&](const LayerImage& row) {
    if (row.base == nullptr) return;
    // A grey image, or a host that delivered fewer bytes than asked, counts its first byte.
    if (colour && row.columnBytes >= 3) {
      for (int x = 0; x < row.Width(); ++x) {
        const std::uint8_t* pixel = row.Pixel(x, 0);
        histogram.Add(pixel[0], pixel[1], pixel[2]);
      }
    } else {
      for (int x = 0; x < row.Width(); ++x) {
        const std::uint8_t grey = *row.Pixel(x, 0);
        histogram.Add(grey, grey, grey);
      }
    }
  });
  MedianCut(histogram, table);
}

}  // namespace pictaro
