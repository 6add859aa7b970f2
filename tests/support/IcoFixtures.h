// Icon grids with known pixels, .ico files made by hand, and what a read of a file left behind,
// for the reader's and writer's tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "model/GridSlot.h"
#include "model/LittleEndian.h"
#include "model/ResourceGrid.h"
#include "support/FakePluginUi.h"
#include "support/Files.h"

namespace pictaro::testing {

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

// The colour (red, green, blue, alpha) a painted resource shows at (x, y), y from the top: for
// 4 and 8 bits the table entry PaintedIndex() names.
struct Rgba {
  std::uint8_t red, green, blue, alpha;
  bool operator==(const Rgba&) const = default;
};
inline Rgba TableColor(std::uint32_t i) {
  return {static_cast<std::uint8_t>(i * 17), static_cast<std::uint8_t>(255 - i * 13),
          static_cast<std::uint8_t>(i * 7 + 1), 255};
}
inline std::uint8_t PaintedIndex(int index, std::uint32_t x, std::uint32_t y) {
  return static_cast<std::uint8_t>((x * 3 + y * 5 + static_cast<std::uint32_t>(index)) %
                                   (index < 4 ? 16 : 256));
}
inline Rgba PaintedColor(int index, std::uint32_t x, std::uint32_t y) {
  if (PaintedTransparent(x, y)) return {0, 0, 0, 0};
  if (index < 8) return TableColor(PaintedIndex(index, x, y));
  return {static_cast<std::uint8_t>(x * 5 + static_cast<std::uint32_t>(index)),
          static_cast<std::uint8_t>(y * 3), static_cast<std::uint8_t>(x ^ y),
          static_cast<std::uint8_t>((x + y) % 5 == 0 ? 255 : 64 + (x * 7 + y) % 191)};
}

// Makes the listed resources present and paints them as PaintedColor says, with a mask that is 1
// exactly where the pixel is transparent.
inline void PaintGrid(ResourceGrid& grid, const std::vector<int>& indices) {
  for (const int index : indices) {
    grid.PrepareResource(SlotOf(index));
    ResourceBuffers b;
    grid.GetBuffers(SlotOf(index), b);
    for (std::uint32_t i = 0; i < b.colorCount; ++i) {
      const Rgba c = TableColor(i);
      std::copy_n(std::array{c.blue, c.green, c.red}.data(), 3, b.colorTable + 4 * i);
    }
    const std::uint32_t size = SlotOf(index).PixelSize(), depth = SlotOf(index).BitsPerPixel();
    for (std::uint32_t y = 0; y < size; ++y) {
      // Rows are stored bottom-up.
      std::uint8_t* row = b.colorBits + std::size_t{size - 1 - y} * b.colorRowBytes;
      std::uint8_t* mask = b.maskBits + std::size_t{size - 1 - y} * b.maskRowBytes;
      for (std::uint32_t x = 0; x < size; ++x) {
        if (PaintedTransparent(x, y)) mask[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        const Rgba c = PaintedColor(index, x, y);
        const std::uint8_t value = PaintedIndex(index, x, y);
        if (depth == 32)
          std::copy_n(std::array{c.blue, c.green, c.red, c.alpha}.data(), 4, row + 4 * x);
        if (depth == 8) row[x] = value;
        if (depth == 4) row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? value << 4 : value);
      }
    }
  }
}

inline const std::vector<int> kAllIndices = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

// One directory entry of a hand-made file. Offsets and lengths follow from the data unless
// given.
struct HandEntry {
  std::uint8_t width = 0, height = 0;
  std::uint16_t planes = 1, bitCount = 32;
  std::vector<std::uint8_t> data = {};
  std::optional<std::uint32_t> bytes = {}, offset = {};
  std::uint8_t colors = 0;
};

inline std::vector<std::uint8_t> BuildIco(const std::vector<HandEntry>& entries,
                                          std::uint16_t type = 1,
                                          std::optional<std::uint16_t> count = std::nullopt) {
  std::vector<std::uint8_t> file(6 + 16 * entries.size());
  PutU16(file.data() + 2, type);
  PutU16(file.data() + 4, count.value_or(static_cast<std::uint16_t>(entries.size())));
  auto next = static_cast<std::uint32_t>(file.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const HandEntry& e = entries[i];
    std::uint8_t* p = file.data() + 6 + 16 * i;
    p[0] = e.width, p[1] = e.height, p[2] = e.colors;
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

// What a read left in the grid, in one line: a token for each present resource in index order
// (its index, then "*" when it counts as modified, "p" when it came from a PNG stream, "<N" when
// `source` names the directory entry N it shows), then "-N" for each entry N that found no place.
inline std::string Landed(const ResourceGrid& grid, const std::array<StoredEntry, 13>& stored,
                          const std::vector<SkippedEntry>& skipped,
                          const std::function<int(int)>& source) {
  std::string text;
  for (int i = 0; i < 13; ++i) {
    if (!grid.resources[i].present) continue;
    text.append(" ").append(std::to_string(i)).append(grid.resources[i].modified ? "*" : "");
    text.append(stored[i].png ? "p" : "");
    if (const int n = source(i); n >= 0) text.append("<").append(std::to_string(n));
  }
  for (const SkippedEntry& entry : skipped) text.append(" -").append(std::to_string(entry.entry));
  return text.empty() ? text : text.substr(1);
}

// The `count` fields of a data row, separated by tabs; those missing at its end are empty.
inline std::vector<std::string> Fields(const std::string& row, std::size_t count) {
  std::vector<std::string> fields;
  std::istringstream in(row);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  fields.resize(count);
  return fields;
}

// The texts of the messages shown, one a line; each must be an error box with OK titled `title`.
inline std::string ErrorsShown(const RecordingDesktop& desktop, const std::string& title) {
  std::string texts;
  for (const ShownMessage& m : desktop.messages) {
    EXPECT_EQ(m.caption, title);
    EXPECT_EQ(m.icon, MessageIcon::Error);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    texts += (texts.empty() ? "" : "\n") + m.text;
  }
  return texts;
}

}  // namespace pictaro::testing
