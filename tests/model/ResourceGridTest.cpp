#include "model/ResourceGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <vector>

#include "model/BitmapInfoHeader.h"

namespace pictaro {
namespace {

// The thirteen grid positions in resource-index order, with the block each one gets.
struct Kind {
  GridSlot slot;
  std::uint32_t pixels, depth, blockSize, colorRow, maskRow;
};

const Kind kKinds[ResourceGrid::kResourceCount] = {
    {GridSlot(3, 0, 0), 48, 4, 1640, 24, 8},        {GridSlot(2, 0, 0), 32, 4, 744, 16, 4},
    {GridSlot(1, 0, 0), 24, 4, 488, 12, 4},         {GridSlot(0, 0, 0), 16, 4, 296, 8, 4},
    {GridSlot(3, 1, 0), 48, 8, 3752, 48, 8},        {GridSlot(2, 1, 0), 32, 8, 2216, 32, 4},
    {GridSlot(1, 1, 0), 24, 8, 1736, 24, 4},        {GridSlot(0, 1, 0), 16, 8, 1384, 16, 4},
    {GridSlot(4, 2, 1), 256, 32, 270376, 1024, 32}, {GridSlot(3, 2, 1), 48, 32, 9640, 192, 8},
    {GridSlot(2, 2, 1), 32, 32, 4264, 128, 4},      {GridSlot(1, 2, 1), 24, 32, 2440, 96, 4},
    {GridSlot(0, 2, 1), 16, 32, 1128, 64, 4},
};

const GridSlot k24By24At4Bits(1, 0, 0);
const GridSlot k16By16At8Bits(0, 1, 0);
const GridSlot k256By256At4Bits(4, 0, 0);  // no such resource

// A little-endian 32-bit word of the block.
std::uint32_t WordAt(const std::vector<std::uint8_t>& block, std::size_t offset) {
  return block[offset] | block[offset + 1] << 8 | block[offset + 2] << 16 |
         static_cast<std::uint32_t>(block[offset + 3]) << 24;
}

auto Tie(const ResourceBuffers& b) {
  return std::tie(b.colorBits, b.colorRowBytes, b.maskBits, b.maskRowBytes, b.colorTable,
                  b.colorCount);
}

TEST(ResourceGridTest, EveryGridPositionGetsItsIndexBlockAndViews) {
  ResourceGrid grid;
  for (int index = 0; index < ResourceGrid::kResourceCount; ++index) {
    SCOPED_TRACE(index);
    const Kind& k = kKinds[index];
    EXPECT_EQ(ResourceGrid::IndexOf(k.pixels, k.pixels, k.depth), index);
    EXPECT_EQ(ResourceGrid::IndexOf(k.slot), index);

    grid.PrepareResource(k.slot);
    const IconResource& r = grid.resources[index];
    ASSERT_EQ(r.present, 1);
    EXPECT_EQ(r.modified, 1);
    EXPECT_EQ(std::tie(r.width, r.height, r.depth), std::tie(k.pixels, k.pixels, k.depth));
    EXPECT_EQ(r.blockSize, k.blockSize);
    ASSERT_EQ(r.block.size(), k.blockSize);

    // The height counts colour bitmap and mask; planes 1 and the bit count share a word.
    const std::uint32_t header[10] = {40, k.pixels, 2 * k.pixels, 1 | k.depth << 16};
    for (int w = 0; w < 10; ++w) EXPECT_EQ(WordAt(r.block, 4 * w), header[w]) << "word " << w;
    // Colour index 0 or transparent black, and an all-opaque mask.
    EXPECT_EQ(std::count(r.block.begin() + 40, r.block.end(), 0), std::ssize(r.block) - 40);

    const std::size_t table = k.depth <= 8 ? 4u << k.depth : 0;
    EXPECT_EQ(r.header, r.block.data());
    EXPECT_EQ(r.colorBits, r.block.data() + 40 + table);
    EXPECT_EQ(r.maskBits, r.colorBits + k.pixels * k.colorRow);
    EXPECT_EQ(r.maskBits + k.pixels * k.maskRow, r.block.data() + r.block.size());

    ResourceBuffers buffers;
    ASSERT_TRUE(grid.GetBuffers(k.slot, buffers));
    const std::uint32_t colorCount = static_cast<std::uint32_t>(table / 4);
    EXPECT_EQ(Tie(buffers),
              Tie({r.colorBits, k.colorRow, r.maskBits, k.maskRow, r.header + 40, colorCount}));
  }
  EXPECT_EQ(grid.CountPresent(), 13);
}

TEST(ResourceGridTest, PositionsOutsideTheGridHaveNoIndex) {
  const std::uint32_t outside[][3] = {{256, 256, 4}, {256, 256, 8}, {16, 16, 16}, {16, 16, 24},
                                      {16, 16, 1},   {24, 16, 4},   {64, 64, 32}, {0, 0, 32}};
  for (const auto& o : outside) {
    EXPECT_EQ(ResourceGrid::IndexOf(o[0], o[1], o[2]), -1) << o[0] << "x" << o[1] << "@" << o[2];
  }
  EXPECT_EQ(ResourceGrid::IndexOf(k256By256At4Bits), -1);
  EXPECT_EQ(ResourceGrid::IndexOf(GridSlot(4, 1, 0)), -1);
  // A slot counts an unknown size as 16 and an unknown depth as 4 bits.
  EXPECT_EQ(ResourceGrid::IndexOf(GridSlot(5, 2, 1)), 12);
  EXPECT_EQ(ResourceGrid::IndexOf(GridSlot(2, 7, 0)), 1);
}

TEST(ResourceGridTest, PrepareKeepsAPresentBlockAndReplacesAForeignOne) {
  ResourceGrid grid;
  grid.PrepareResource(k256By256At4Bits);
  EXPECT_EQ(grid.CountPresent(), 0);
  EXPECT_EQ(grid.AnyModified(), 0);

  // Present: the pixels and mask stay, the header is written afresh.
  grid.PrepareResource(k16By16At8Bits);
  IconResource& r = grid.resources[7];
  const std::uint8_t* block = r.block.data();
  for (std::size_t i = 40; i < r.block.size(); ++i) r.block[i] = static_cast<std::uint8_t>(i * 7);
  r.block[20] = 0x55;  // biSizeImage, as a file may carry it
  r.modified = 0;
  grid.PrepareResource(k16By16At8Bits);
  EXPECT_EQ(r.block.data(), block);
  EXPECT_EQ(r.modified, 1);
  EXPECT_EQ(r.block[20], 0);
  for (std::size_t i = 40; i < r.block.size(); ++i) {
    ASSERT_EQ(r.block[i], static_cast<std::uint8_t>(i * 7)) << "byte " << i;
  }

  // Read from a file with a 5-entry table: 40 + 20 + 256 + 64 bytes, which the fresh header's
  // views would overrun.
  std::vector<std::uint8_t> bytes(380, 0xAB);
  WriteBitmapInfoHeader(
      {.biSize = 40, .biWidth = 16, .biHeight = 32, .biPlanes = 1, .biBitCount = 8, .biClrUsed = 5},
      bytes.data());
  ASSERT_EQ(r.AdoptBlock(bytes), 1);
  ASSERT_EQ(ResourceGrid::ParseResource(&r), 1);
  r.present = 1;
  grid.PrepareResource(k16By16At8Bits);
  ASSERT_EQ(r.present, 1);
  ASSERT_EQ(r.block.size(), 1384u);
  EXPECT_EQ(r.blockSize, 1384u);
  EXPECT_EQ(r.colorBits, r.block.data() + 40 + 1024);
  EXPECT_EQ(r.maskBits, r.colorBits + 16 * 16);
  EXPECT_EQ(std::count(r.block.begin() + 40, r.block.end(), 0), std::ssize(r.block) - 40);
}

TEST(ResourceGridTest, EmptyingMarksAndCounts) {
  ResourceGrid grid;
  grid.ClearResource(k256By256At4Bits);
  grid.ClearResource(-1);
  grid.ClearResource(13);
  EXPECT_EQ(grid.AnyModified(), 0);

  // Emptying an empty resource still marks it.
  grid.ClearResource(5);
  EXPECT_EQ(grid.resources[5].modified, 1);
  EXPECT_EQ(grid.AnyModified(), 1);
  grid.ResetResource(5, 0);
  EXPECT_EQ(grid.AnyModified(), 0);

  grid.PrepareResource(k24By24At4Bits);
  grid.PrepareResource(k24By24At4Bits);
  grid.PrepareResource(GridSlot(4, 2, 1));
  grid.PrepareResource(GridSlot(5, 0, 0));  // counts as 16 x 16
  EXPECT_EQ(grid.CountPresent(), 3);
  EXPECT_EQ(grid.resources[3].present, 1);

  grid.ClearResource(k24By24At4Bits);
  const IconResource& r = grid.resources[2];
  EXPECT_EQ(r.present, 0);
  EXPECT_EQ(r.modified, 1);
  EXPECT_TRUE(r.block.empty());
  EXPECT_TRUE(r.header == nullptr && r.colorBits == nullptr && r.maskBits == nullptr);
  // The sizes stay.
  EXPECT_EQ(std::tie(r.width, r.height, r.depth, r.blockSize), std::make_tuple(24u, 24u, 4u, 488u));
  EXPECT_EQ(grid.CountPresent(), 2);

  grid.Clear();
  EXPECT_EQ(grid.CountPresent(), 0);
  EXPECT_EQ(grid.AnyModified(), 0);
  for (const IconResource& res : grid.resources) EXPECT_TRUE(res.block.empty());
}

TEST(ResourceGridTest, GetBuffersForAbsentAndUnknownResources) {
  ResourceGrid grid;
  static std::uint8_t dummy[4];
  // Whatever the caller had in its variables before.
  const ResourceBuffers scribbled{dummy, 77, dummy + 1, 78, dummy + 2, 79};

  ResourceBuffers buffers = scribbled;
  EXPECT_FALSE(grid.GetBuffers(k256By256At4Bits, buffers));
  EXPECT_EQ(Tie(buffers), Tie(scribbled));

  grid.PrepareResource(k16By16At8Bits);
  grid.ClearResource(k16By16At8Bits);
  for (const GridSlot& slot : {k24By24At4Bits, k16By16At8Bits}) {  // never present; cleared
    buffers = scribbled;
    ASSERT_TRUE(grid.GetBuffers(slot, buffers));
    EXPECT_EQ(Tie(buffers), Tie(ResourceBuffers{}));
  }
}

}  // namespace
}  // namespace pictaro
