// Icon grids with known pixels and .ico files made by hand, for the reader's and writer's tests.
#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "model/GridSlot.h"
#include "model/LittleEndian.h"
#include "model/ResourceGrid.h"
#include "support/Files.h"

namespace pictaro::testing {

// Keeps FreeImage started for a test, balanced with the library's own start at load.
struct FreeImageSession {
  FreeImageSession() { FreeImage_Initialise(FALSE); }
  ~FreeImageSession() { FreeImage_DeInitialise(); }
};

// The grid slot of each resource index.
inline GridSlot SlotOf(int index) {
  static constexpr std::uint32_t kSize[13] = {3, 2, 1, 0, 3, 2, 1, 0, 4, 3, 2, 1, 0};
  const std::uint32_t depth = index < 4 ? 0 : index < 8 ? 1 : 2;
  return GridSlot(kSize[index], depth, depth == 2 ? 1 : 0);
}

// Whether pixel (x, y), y counted from the top, is transparent in a painted resource.
inline bool PaintedTransparent(std::uint32_t x, std::uint32_t y) {
  return (x + 2 * y) % 7 == 0;
}

// The colour (red, green, blue, alpha) a painted resource shows at (x, y), y from the top.
struct Rgba {
  std::uint8_t red, green, blue, alpha;
  bool operator==(const Rgba&) const = default;
};
inline Rgba PaintedColor(int index, std::uint32_t x, std::uint32_t y) {
  if (PaintedTransparent(x, y)) return {0, 0, 0, 0};
  if (index < 8) {
    const std::uint32_t entries = index < 4 ? 16 : 256;
    const std::uint32_t i = (x * 3 + y * 5 + static_cast<std::uint32_t>(index)) % entries;
    return {static_cast<std::uint8_t>(i * 17), static_cast<std::uint8_t>(255 - i * 13),
            static_cast<std::uint8_t>(i * 7 + 1), 255};
  }
  return {static_cast<std::uint8_t>(x * 5 + static_cast<std::uint32_t>(index)),
          static_cast<std::uint8_t>(y * 3), static_cast<std::uint8_t>(x ^ y),
          static_cast<std::uint8_t>((x + y) % 5 == 0 ? 255 : 64 + (x * 7 + y) % 191)};
}

// Makes the listed resources present and paints them: table colours and indices for 4 and 8
// bits, straight alpha for 32 bits, and a mask that is 1 exactly where the pixel is transparent.
inline void PaintGrid(ResourceGrid& grid, const std::vector<int>& indices) {
  for (const int index : indices) {
    const GridSlot slot = SlotOf(index);
    grid.PrepareResource(slot);
    ResourceBuffers b;
    grid.GetBuffers(slot, b);
    const IconResource& r = grid.resources[index];
    for (std::uint32_t i = 0; i < b.colorCount; ++i) {
      b.colorTable[4 * i] = static_cast<std::uint8_t>(i * 7 + 1);
      b.colorTable[4 * i + 1] = static_cast<std::uint8_t>(255 - i * 13);
      b.colorTable[4 * i + 2] = static_cast<std::uint8_t>(i * 17);
    }
    for (std::uint32_t y = 0; y < r.height; ++y) {
      // Rows are stored bottom-up.
      std::uint8_t* row = b.colorBits + std::size_t{r.height - 1 - y} * b.colorRowBytes;
      std::uint8_t* mask = b.maskBits + std::size_t{r.height - 1 - y} * b.maskRowBytes;
      for (std::uint32_t x = 0; x < r.width; ++x) {
        const bool clear = PaintedTransparent(x, y);
        if (clear) mask[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        if (r.depth == 32) {
          const Rgba c = PaintedColor(index, x, y);
          row[4 * x] = c.blue;
          row[4 * x + 1] = c.green;
          row[4 * x + 2] = c.red;
          row[4 * x + 3] = c.alpha;
        } else {
          const std::uint32_t value =
              (x * 3 + y * 5 + static_cast<std::uint32_t>(index)) % b.colorCount;
          if (r.depth == 8) {
            row[x] = static_cast<std::uint8_t>(value);
          } else {
            row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? value << 4 : value);
          }
        }
      }
    }
  }
}

inline std::vector<int> AllIndices() {
  return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
}

// One directory entry of a hand-made file. Offsets and lengths follow from the data unless
// given.
struct HandEntry {
  HandEntry(std::uint8_t w, std::uint8_t h, std::uint16_t p, std::uint16_t bits,
            std::vector<std::uint8_t> bytesOfImage)
      : width(w), height(h), planes(p), bitCount(bits), data(std::move(bytesOfImage)) {}
  std::uint8_t width = 0;
  std::uint8_t height = 0;
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 32;
  std::vector<std::uint8_t> data;
  std::optional<std::uint32_t> bytes;
  std::optional<std::uint32_t> offset;
};

inline std::vector<std::uint8_t> BuildIco(const std::vector<HandEntry>& entries,
                                          std::uint16_t type = 1,
                                          std::optional<std::uint16_t> count = std::nullopt) {
  std::vector<std::uint8_t> file(6 + 16 * entries.size());
  PutU16(file.data() + 2, type);
  PutU16(file.data() + 4, count.value_or(static_cast<std::uint16_t>(entries.size())));
  std::uint32_t next = static_cast<std::uint32_t>(file.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const HandEntry& e = entries[i];
    std::uint8_t* p = file.data() + 6 + 16 * i;
    p[0] = e.width;
    p[1] = e.height;
    PutU16(p + 4, e.planes);
    PutU16(p + 6, e.bitCount);
    PutU32(p + 8, e.bytes.value_or(static_cast<std::uint32_t>(e.data.size())));
    PutU32(p + 12, e.offset.value_or(next));
    next += static_cast<std::uint32_t>(e.data.size());
  }
  for (const HandEntry& e : entries) file.insert(file.end(), e.data.begin(), e.data.end());
  return file;
}

// The block of a painted resource, as a bitmap entry's data.
inline std::vector<std::uint8_t> PaintedBlock(int index) {
  ResourceGrid grid;
  PaintGrid(grid, {index});
  return grid.resources[index].block;
}

}  // namespace pictaro::testing
