#include "model/Capture.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace pictaro {

namespace {

constexpr const char* kNoDefaultTableMessage = "Cannot load default color table";

// The S x S square centred in the delivered rectangle. A caller may deliver less than the
// square; only the part inside the rectangle is read, the rest counts as transparent black.
struct Square {
  int size = 0;
  int x0 = 0;  // the square's top-left pixel in the buffer, possibly outside it
  int y0 = 0;
  // The square's columns and rows (from the top) that lie inside the buffer: [first, end).
  int firstColumn = 0;
  int endColumn = 0;
  int firstRow = 0;
  int endRow = 0;

  bool AnyInside() const { return firstColumn < endColumn && firstRow < endRow; }
};

Square SquareIn(const LayerImage& image, int size) {
  Square square;
  square.size = size;
  // Signed divisions rounding toward zero; size is even.
  square.x0 = image.Width() / 2 - size / 2;
  square.y0 = image.Height() / 2 - size / 2;
  square.firstColumn = std::clamp(-square.x0, 0, size);
  square.endColumn = std::clamp(image.Width() - square.x0, square.firstColumn, size);
  square.firstRow = std::clamp(-square.y0, 0, size);
  square.endRow = std::clamp(image.Height() - square.y0, square.firstRow, size);
  return square;
}

// Calls visit(column, rowFromTop, pixel) for every pixel of the square, row by row from the
// top, pixel null where the square leaves the delivered rectangle.
template <typename Visit>
void ForEachPixel(const LayerImage& image, const Square& square, Visit visit) {
  // Held in locals: the callers' byte stores could otherwise alias them.
  const int size = square.size;
  const int step = image.columnBytes;
  for (int row = 0; row < size; ++row) {
    const bool rowInside = row >= square.firstRow && row < square.endRow && square.AnyInside();
    const int first = rowInside ? square.firstColumn : size;
    const int end = rowInside ? square.endColumn : size;
    for (int column = 0; column < first; ++column) visit(column, row, nullptr);
    if (rowInside) {
      const std::uint8_t* pixel = image.Pixel(square.x0 + first, square.y0 + row);
      for (int column = first; column < end; ++column, pixel += step) visit(column, row, pixel);
    }
    for (int column = end; column < size; ++column) visit(column, row, nullptr);
  }
}

bool IsTransparent(bool layerHasTransparency, const std::uint8_t* pixel) {
  return pixel == nullptr || (layerHasTransparency && pixel[3] == 0);
}

bool AnyVisible(const LayerImage& image, const Square& square) {
  if (!square.AnyInside()) return false;
  if (!image.HasTransparency()) return true;
  for (int row = square.firstRow; row < square.endRow; ++row) {
    for (int column = square.firstColumn; column < square.endColumn; ++column) {
      if (image.Pixel(square.x0 + column, square.y0 + row)[3] > 0) return true;
    }
  }
  return false;
}

// Resource rows are stored bottom-up: the top of the square is the icon's last row.
std::uint8_t* RowOf(std::uint8_t* bits, std::uint32_t rowBytes, int size, int rowFromTop) {
  return bits + static_cast<std::size_t>(size - 1 - rowFromTop) * rowBytes;
}

// NearestColorIndex's answer, ties included, without measuring every entry: the entries
// sorted by red are searched outward from the pixel's red until the red difference alone
// exceeds the best distance found.
class NearestColorFinder {
 public:
  NearestColorFinder(const ColorTable& table, int entries) {
    count_ = std::clamp(entries, 1, static_cast<int>(kColorTableEntries));
    // A counting sort keeps entries of equal red in index order.
    std::array<int, 257> next{};
    for (int i = 0; i < count_; ++i) ++next[table[3 * i] + 1];
    for (std::size_t red = 1; red < next.size(); ++red) next[red] += next[red - 1];
    std::copy_n(next.begin(), firstWithRed_.size(), firstWithRed_.begin());
    for (int i = 0; i < count_; ++i) {
      const std::uint8_t* entry = table.data() + 3 * i;
      sorted_[next[entry[0]]++] = {entry[0], entry[1], entry[2], i};
    }
  }

  int Find(int red, int green, int blue) const {
    int bestDistance = std::numeric_limits<int>::max();
    int best = 0;
    // Returns false once entries further out cannot be nearer.
    auto consider = [&](const Entry& entry) {
      int distance = (entry.red - red) * (entry.red - red);
      if (distance > bestDistance) return false;
      distance += (entry.green - green) * (entry.green - green);
      if (distance > bestDistance) return true;
      distance += (entry.blue - blue) * (entry.blue - blue);
      if (distance < bestDistance || (distance == bestDistance && entry.index < best)) {
        bestDistance = distance;
        best = entry.index;
      }
      return true;
    };
    const int start = firstWithRed_[red];
    for (int i = start; i < count_ && consider(sorted_[i]); ++i) {
    }
    for (int i = start - 1; i >= 0 && consider(sorted_[i]); --i) {
    }
    return best;
  }

 private:
  struct Entry {
    int red, green, blue, index;
  };
  int count_ = 0;
  std::array<Entry, kColorTableEntries> sorted_{};
  std::array<int, 256> firstWithRed_{};
};

// Nearest table indices already found in this capture; artwork repeats few colours.
class NearestColorCache {
 public:
  NearestColorCache(const ColorTable& table, int entries) : finder_(table, entries) {}

  std::uint8_t IndexOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const std::uint32_t key = kFilled | std::uint32_t{red} << 16 | std::uint32_t{green} << 8 | blue;
    const std::size_t slot = (key * 2654435761u) >> (32 - kSlotBits);
    if (keys_[slot] != key) {
      keys_[slot] = key;
      indices_[slot] = static_cast<std::uint8_t>(finder_.Find(red, green, blue));
    }
    return indices_[slot];
  }

 private:
  static constexpr int kSlotBits = 10;
  static constexpr std::uint32_t kFilled = 1u << 24;

  NearestColorFinder finder_;
  std::array<std::uint32_t, 1u << kSlotBits> keys_{};
  std::array<std::uint8_t, 1u << kSlotBits> indices_{};
};

// 4-bit resources always use the 16-colour table; 8-bit ones the custom table when it is on.
// The default table must load either way. False when it does not.
bool ChooseTable(std::uint32_t depth, const CaptureTables& tables, ColorTable& chosen) {
  const int id = depth == 4 ? kColorTable16 : kColorTable256;
  if (!LoadDefaultColorTable(id, chosen)) return false;
  if (depth == 8 && tables.useCustomTable && tables.customTable != nullptr)
    chosen = *tables.customTable;
  return true;
}

void CopyTable(const ColorTable& table, const ResourceBuffers& buffers) {
  const std::uint32_t entries = std::min<std::uint32_t>(buffers.colorCount, kColorTableEntries);
  for (std::uint32_t i = 0; i < entries; ++i) {
    std::uint8_t* entry = buffers.colorTable + 4 * i;
    entry[0] = table[3 * i + 2];
    entry[1] = table[3 * i + 1];
    entry[2] = table[3 * i];
    entry[3] = 0;
  }
}

// Transparent pixels are black before the reduction, so they take the table's black; the mask
// hides them. Partial transparency keeps the colour as it is.
void ReduceColors(const LayerImage& image, const Square& square, const ColorTable& table,
                  std::uint32_t depth, const ResourceBuffers& buffers) {
  NearestColorCache nearest(table, 1 << depth);
  const bool transparency = image.HasTransparency();
  std::uint8_t* const colorBits = buffers.colorBits;
  const std::uint32_t rowBytes = buffers.colorRowBytes;
  std::uint8_t leftNibble = 0;
  ForEachPixel(image, square, [&](int column, int row, const std::uint8_t* pixel) {
    const std::uint8_t index = IsTransparent(transparency, pixel)
                                   ? nearest.IndexOf(0, 0, 0)
                                   : nearest.IndexOf(pixel[0], pixel[1], pixel[2]);
    std::uint8_t* bits = RowOf(colorBits, rowBytes, square.size, row);
    if (depth == 8) {
      bits[column] = index;
    } else if (column % 2 == 0) {
      // Two pixels a byte, the left one in the high nibble; sizes are even.
      leftNibble = static_cast<std::uint8_t>(index << 4);
    } else {
      bits[column / 2] = leftNibble | index;
    }
  });
}

// Straight colour and alpha, also under fully transparent pixels.
void CopyTrueColor(const LayerImage& image, const Square& square, const ResourceBuffers& buffers) {
  const bool transparency = image.HasTransparency();
  std::uint8_t* const colorBits = buffers.colorBits;
  const std::uint32_t rowBytes = buffers.colorRowBytes;
  ForEachPixel(image, square, [&](int column, int row, const std::uint8_t* pixel) {
    std::uint8_t* out = RowOf(colorBits, rowBytes, square.size, row) + 4 * column;
    if (pixel == nullptr) {
      std::fill_n(out, 4, 0);
      return;
    }
    out[0] = pixel[2];
    out[1] = pixel[1];
    out[2] = pixel[0];
    out[3] = transparency ? pixel[3] : 255;
  });
}

// Bit 1 only where the layer is fully transparent; the most significant bit is the left pixel.
void BuildMask(const LayerImage& image, const Square& square, const ResourceBuffers& buffers) {
  const bool transparency = image.HasTransparency();
  std::uint8_t* const maskBits = buffers.maskBits;
  const std::uint32_t rowBytes = buffers.maskRowBytes;
  unsigned bits = 0;
  ForEachPixel(image, square, [&](int column, int row, const std::uint8_t* pixel) {
    bits = bits << 1 | (IsTransparent(transparency, pixel) ? 1u : 0u);
    // Sizes are multiples of 8: every eighth pixel completes a byte.
    if (column % 8 == 7) {
      RowOf(maskBits, rowBytes, square.size, row)[column / 8] = static_cast<std::uint8_t>(bits);
      bits = 0;
    }
  });
}

}  // namespace

int CaptureResource(const LayerImage& image, const GridSlot& slot, ResourceGrid& grid,
                    const CaptureTables& tables, Desktop& desktop) {
  const Square square = SquareIn(image, static_cast<int>(slot.GridPixelSize()));
  // Fewer than three bytes a pixel would read past the last one.
  if (image.base == nullptr || image.columnBytes < 3) return 0;

  grid.ClearResource(slot);
  if (!AnyVisible(image, square)) return 1;

  grid.PrepareResource(slot);
  ResourceBuffers buffers;
  if (!grid.GetBuffers(slot, buffers) || buffers.colorBits == nullptr) return 0;

  const std::uint32_t depth = slot.BitsPerPixel();
  if (depth == 32) {
    CopyTrueColor(image, square, buffers);
  } else {
    ColorTable table{};
    if (ChooseTable(depth, tables, table)) {
      CopyTable(table, buffers);
      ReduceColors(image, square, table, depth, buffers);
    } else {
      // The colour bits and table stay zero; the mask is still worth having.
      desktop.ShowMessage(kNoDefaultTableMessage, kAppTitle, MessageIcon::Exclamation,
                          MessageButtons::Ok);
    }
  }
  BuildMask(image, square, buffers);
  return 1;
}

}  // namespace pictaro
