#include "host/ColorTableGenerator.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "host/LayerAccess.h"

namespace pictaro {
namespace {

constexpr int kSide = 64;  // cells per channel: the top six bits
constexpr int kCells = kSide * kSide * kSide;
constexpr int kMaxBoxes = static_cast<int>(kColorTableEntries);
constexpr int kCellWidth = 4;  // 8-bit values per cell
constexpr int kCellCentre = kCellWidth / 2;

enum Axis { kRed, kGreen, kBlue };

int Extent(std::int32_t low, std::int32_t high) {
  return (high - low) * kCellWidth;
}

std::int32_t& Low(ColorBox& box, Axis axis) {
  return axis == kRed ? box.rLow : axis == kGreen ? box.gLow : box.bLow;
}

std::int32_t& High(ColorBox& box, Axis axis) {
  return axis == kRed ? box.rHigh : axis == kGreen ? box.gHigh : box.bHigh;
}

// An occupied cell: its red, green and blue cell coordinates, and a spare byte that keeps a cell
// four bytes wide.
using Cell = std::array<std::uint8_t, 4>;
static_assert(sizeof(Cell) == 4);

// The occupied cells of a box: each box owns one stretch of a shared list, and a split divides
// its stretch in two. A box's stretch holds exactly the occupied cells inside its bounds.
struct Span {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t Size() const { return end - begin; }
};

// Narrows `low` and widens `high` to the smallest and largest of each coordinate of `count` cells.
void Measure(const Cell* cells, std::size_t count, Cell& low, Cell& high) {
  std::size_t i = 0;
#if defined(__SSE2__)
  // Four cells at a time, byte by byte, then the four cells' worth of lanes folded into one.
  if (count >= 4) {
    __m128i lows = _mm_set1_epi8(-1);
    __m128i highs = _mm_setzero_si128();
    for (; i + 4 <= count; i += 4) {
      const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells + i));
      lows = _mm_min_epu8(lows, four);
      highs = _mm_max_epu8(highs, four);
    }
    lows = _mm_min_epu8(lows, _mm_srli_si128(lows, 8));
    lows = _mm_min_epu8(lows, _mm_srli_si128(lows, 4));
    highs = _mm_max_epu8(highs, _mm_srli_si128(highs, 8));
    highs = _mm_max_epu8(highs, _mm_srli_si128(highs, 4));
    const std::int32_t lowBytes = _mm_cvtsi128_si32(lows);
    const std::int32_t highBytes = _mm_cvtsi128_si32(highs);
    std::memcpy(low.data(), &lowBytes, sizeof low);
    std::memcpy(high.data(), &highBytes, sizeof high);
  }
#endif
  for (; i < count; ++i) {
    for (int axis = kRed; axis <= kBlue; ++axis) {
      low[axis] = std::min(low[axis], cells[i][axis]);
      high[axis] = std::max(high[axis], cells[i][axis]);
    }
  }
}

// Tightens the box to its occupied cells and recounts them. Narrowing red, then green within the
// new red bounds, then blue, plane by plane, ends at the bounding box of the occupied cells. A box
// without any occupied cell keeps its bounds.
void Shrink(ColorBox& box, const std::vector<Cell>& cells, const Span& span) {
  if (span.Size() > 0) {
    Cell low{0xFF, 0xFF, 0xFF, 0xFF};
    Cell high{0, 0, 0, 0};
    Measure(cells.data() + span.begin, span.Size(), low, high);
    box = ColorBox{low[kRed], high[kRed], low[kGreen], high[kGreen], low[kBlue], high[kBlue], 0, 0};
  }
  const int dR = Extent(box.rLow, box.rHigh);
  const int dG = Extent(box.gLow, box.gHigh);
  const int dB = Extent(box.bLow, box.bHigh);
  box.volume = dR * dR + dG * dG + dB * dB;
  box.colorCount = static_cast<std::int32_t>(span.Size());
}

// Moves the cells at or below `middle` on `axis` to the front of the span and returns where the
// cells above it begin. Every cell is written to both sides and only one side's end advances, so
// the loop has no branch to mispredict.
std::size_t Divide(std::vector<Cell>& cells, std::vector<Cell>& scratch, const Span& span,
                   Axis axis, int middle) {
  Cell* const lower = cells.data();
  Cell* const upper = scratch.data();
  std::size_t low = span.begin;
  std::size_t high = 0;
  for (std::size_t i = span.begin; i != span.end; ++i) {
    // 1 when the coordinate lies above the middle (both lie in 0..63): the sign of their
    // difference, which compilers keep as arithmetic rather than a jump.
    const auto above =
        static_cast<std::size_t>(static_cast<std::uint32_t>(middle - lower[i][axis]) >> 31);
    const Cell cell = lower[i];
    lower[low] = cell;
    upper[high] = cell;
    low += 1 - above;
    high += above;
  }
  std::copy_n(upper, high, lower + low);
  return low;
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
  Axis axis = kGreen;
  int taken = dG;
  if (dR > dG) {
    axis = kRed;
    taken = dR;
  }
  if (dB > taken) axis = kBlue;
  return axis;
}

// The count-weighted mean of the cell centres; black for a box with no counted cell.
void StoreBoxColor(const ColorHistogram& histogram, const std::vector<Cell>& cells,
                   const Span& span, std::uint8_t* entry) {
  // 64-bit sums: an area larger than the view's window could pass 32 bits.
  std::uint64_t total = 0, red = 0, green = 0, blue = 0;
  for (std::size_t i = span.begin; i != span.end; ++i) {
    const int r = cells[i][kRed];
    const int g = cells[i][kGreen];
    const int b = cells[i][kBlue];
    const std::uint64_t c = histogram.Count(r, g, b);
    total += c;
    red += (kCellWidth * r + kCellCentre) * c;
    green += (kCellWidth * g + kCellCentre) * c;
    blue += (kCellWidth * b + kCellCentre) * c;
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

ColorHistogram::ColorHistogram()
    : cells_(std::make_unique<std::uint16_t[]>(kCells)),
      occupied_(std::make_unique_for_overwrite<std::uint32_t[]>(kCells + 1)) {}

void ColorHistogram::AddPixels(const std::uint8_t* pixel, int pixels, std::ptrdiff_t step,
                               int green, int blue) {
  if (pixels <= 0) return;
  // A run of one cell is counted at once: neighbours often share a colour, and counting them one
  // by one would wait on each previous increment of the same cell.
  const std::uint8_t* first = pixel;
  std::uint32_t run = 1;
  if (step >= 4 && green == 1 && blue == 2) {
    // Whole pixels compared with their low two bits of red, green and blue masked off: equal
    // keys share a cell.
    constexpr auto kKeyBits = std::bit_cast<std::uint32_t>(Cell{0xFC, 0xFC, 0xFC, 0});
    const auto key = [](const std::uint8_t* p) {
      std::uint32_t bytes;
      std::memcpy(&bytes, p, sizeof bytes);
      return bytes & kKeyBits;
    };
    std::uint32_t runKey = key(pixel);
    for (int x = 1; x < pixels; ++x) {
      pixel += step;
      const std::uint32_t next = key(pixel);
      if (next == runKey) {
        ++run;
        continue;
      }
      AddRun(CellOf(first[0], first[1], first[2]), run);
      first = pixel;
      runKey = next;
      run = 1;
    }
  } else {
    std::uint32_t cell = CellOf(pixel[0], pixel[green], pixel[blue]);
    for (int x = 1; x < pixels; ++x) {
      pixel += step;
      const std::uint32_t next = CellOf(pixel[0], pixel[green], pixel[blue]);
      if (next == cell) {
        ++run;
        continue;
      }
      AddRun(cell, run);
      first = pixel;
      cell = next;
      run = 1;
    }
  }
  AddRun(CellOf(first[0], first[green], first[blue]), run);
}

void MedianCut(const ColorHistogram& histogram, ColorTable& table) {
  std::vector<Cell> cells;
  cells.reserve(histogram.Occupied().size());
  for (const std::uint32_t index : histogram.Occupied()) {
    cells.push_back(Cell{static_cast<std::uint8_t>(index % kSide),
                         static_cast<std::uint8_t>(index / kSide % kSide),
                         static_cast<std::uint8_t>(index / (kSide * kSide)), 0});
  }
  std::vector<Cell> scratch(cells.size());
  std::vector<ColorBox> boxes(kMaxBoxes);
  std::vector<Span> spans(kMaxBoxes);
  boxes[0] = ColorBox{0, kSide - 1, 0, kSide - 1, 0, kSide - 1, 0, 0};
  spans[0] = Span{0, cells.size()};
  Shrink(boxes[0], cells, spans[0]);
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
    const std::size_t cut = Divide(cells, scratch, spans[chosen], axis, middle);
    spans[n] = Span{cut, spans[chosen].end};
    spans[chosen].end = cut;
    Shrink(box, cells, spans[chosen]);
    Shrink(added, cells, spans[n]);
    ++n;
  }
  table.fill(0);
  for (int i = 0; i < n; ++i) StoreBoxColor(histogram, cells, spans[i], &table[3 * i]);
}

void GenerateColorTable(HostContext& host, ColorTable& table) {
  ColorHistogram histogram;
  const bool colour = host.record->planes >= 3;
  ScanLayerRows(host, [&](const LayerImage& row) {
    if (row.base == nullptr) return;
    // A grey image, or a host that delivered fewer bytes than asked, counts its first byte.
    const bool rgb = colour && row.columnBytes >= 3;
    histogram.AddPixels(row.base, row.Width(), row.columnBytes, rgb ? 1 : 0, rgb ? 2 : 0);
  });
  MedianCut(histogram, table);
}

}  // namespace pictaro
