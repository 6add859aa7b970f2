#include "model/ResourceGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pictaro {
namespace {

// The thirteen grid positions in resource-index order, with the block each one gets.
struct Kind {
  GridSlot slot;
  std::uint32_t pixels;
  std::uint32_t depth;
  std::size_t blockSize;
};

const Kind kKinds[ResourceGrid::kResourceCount] = {
    {GridSlot(3, 0, 0), 48, 4, 1640},     {GridSlot(2, 0, 0), 32, 4, 744},
    {GridSlot(1, 0, 0), 24, 4, 488},      {GridSlot(0, 0, 0), 16, 4, 296},
    {GridSlot(3, 1, 0), 48, 8, 3752},     {GridSlot(2, 1, 0), 32, 8, 2216},
    {GridSlot(1, 1, 0), 24, 8, 1736},     {GridSlot(0, 1, 0), 16, 8, 1384},
    {GridSlot(4, 2, 1), 256, 32, 270376}, {GridSlot(3, 2, 1), 48, 32, 9640},
    {GridSlot(2, 2, 1), 32, 32, 4264},    {GridSlot(1, 2, 1), 24, 32, 2440},
    {GridSlot(0, 2, 1), 16, 32, 1128},
};

const GridSlot k24By24At4Bits(1, 0, 0);
const GridSlot k16By16At8Bits(0, 1, 0);
const GridSlot k256By256(4, 2, 1);
const GridSlot k256By256At4Bits(4, 0, 0);  // no such resource

bool Inside(const IconResource& resource, const std::uint8_t* p, std::size_t length) {
  const std::uint8_t* begin = resource.block.data();
  const std::uint8_t* end = begin + resource.block.size();
  return p >= begin && p <= end && length <= static_cast<std::size_t>(end - p);
}

// ---- Resource index ---------------------------------------------------------------------

TEST(ResourceIndexTest, EveryGridPositionHasItsIndex) {
  for (int index = 0; index < ResourceGrid::kResourceCount; ++index) {
    const Kind& kind = kKinds[index];
    EXPECT_EQ(ResourceGrid::IndexOf(kind.pixels, kind.pixels, kind.depth), index);
    EXPECT_EQ(ResourceGrid::IndexOf(kind.slot), index);
  }
}

TEST(ResourceIndexTest, OtherSizesAndDepthsHaveNone) {
  EXPECT_EQ(ResourceGrid::IndexOf(256, 256, 4), -1);
  EXPECT_EQ(ResourceGrid::IndexOf(256, 256, 8), -1);
  EXPECT_EQ(ResourceGrid::IndexOf(16, 16, 16), -1);
  EXPECT_EQ(ResourceGrid::IndexOf(16, 16, 24), -1);
  EXPECT_EQ(ResourceGrid::IndexOf(16, 16, 1), -1);
  EXPECT_EQ(ResourceGrid::IndexOf(24, 16, 4), -1);
  EXPECT_EQ(ResourceGrid::IndexOf(64, 64, 32), -1);
  EXPECT_EQ(ResourceGrid::IndexOf(0, 0, 32), -1);
  EXPECT_EQ(ResourceGrid::IndexOf(256, 256, 32), 8);
}

TEST(ResourceIndexTest, SlotsMapUnknownSizesAs16AndUnknownDepthsAs4Bits) {
  EXPECT_EQ(ResourceGrid::IndexOf(GridSlot(5, 2, 1)), 12);
  EXPECT_EQ(ResourceGrid::IndexOf(GridSlot(2, 7, 0)), 1);
  EXPECT_EQ(ResourceGrid::IndexOf(k256By256At4Bits), -1);
  EXPECT_EQ(ResourceGrid::IndexOf(GridSlot(4, 1, 0)), -1);
}

// ---- Preparing a resource -------------------------------------------------------------------

class PrepareResourceTest : public ::testing::Test {
 protected:
  ResourceGrid grid;
};

TEST_F(PrepareResourceTest, BlockSizeAndViewsForEveryGridPosition) {
  for (int index = 0; index < ResourceGrid::kResourceCount; ++index) {
    SCOPED_TRACE(index);
    const Kind& kind = kKinds[index];
    grid.PrepareResource(kind.slot);
    const IconResource& r = grid.resources[index];
    ASSERT_EQ(r.present, 1);
    EXPECT_EQ(r.modified, 1);
    EXPECT_EQ(r.width, kind.pixels);
    EXPECT_EQ(r.height, kind.pixels);
    EXPECT_EQ(r.depth, kind.depth);
    EXPECT_EQ(r.blockSize, kind.blockSize);
    ASSERT_EQ(r.block.size(), kind.blockSize);

    const std::size_t table = kind.depth <= 8 ? 4u << kind.depth : 0;
    const std::size_t colorRow = (kind.pixels * kind.depth + 31) / 32 * 4;
    const std::size_t maskRow = (kind.pixels + 31) / 32 * 4;
    EXPECT_EQ(r.header, r.block.data());
    EXPECT_EQ(r.colorBits, r.block.data() + 40 + table);
    EXPECT_EQ(r.maskBits, r.colorBits + kind.pixels * colorRow);
    EXPECT_EQ(r.maskBits + kind.pixels * maskRow, r.block.data() + r.block.size());
  }
  EXPECT_EQ(grid.CountPresent(), 13);
}

TEST_F(PrepareResourceTest, WritesTheIconHeader) {
  grid.PrepareResource(k24By24At4Bits);
  const std::vector<std::uint8_t> expected = {
      40, 0, 0, 0,  // biSize
      24, 0, 0, 0,  // biWidth
      48, 0, 0, 0,  // biHeight: colour bitmap and mask
      1,  0,        // biPlanes
      4,  0,        // biBitCount
      0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
  };
  const IconResource& r = grid.resources[2];
  EXPECT_EQ(std::vector<std::uint8_t>(r.block.begin(), r.block.begin() + 40), expected);
}

TEST_F(PrepareResourceTest, WritesTheLargeImageSizesLittleEndian) {
  grid.PrepareResource(k256By256);
  const IconResource& r = grid.resources[8];
  EXPECT_EQ(std::vector<std::uint8_t>(r.block.begin() + 4, r.block.begin() + 16),
            (std::vector<std::uint8_t>{0x00, 0x01, 0, 0, 0x00, 0x02, 0, 0, 1, 0, 32, 0}));
}

TEST_F(PrepareResourceTest, AnEmptyResourceIsZeroBehindTheHeader) {
  for (int index = 0; index < ResourceGrid::kResourceCount; ++index) {
    SCOPED_TRACE(index);
    grid.PrepareResource(kKinds[index].slot);
    const std::vector<std::uint8_t>& block = grid.resources[index].block;
    EXPECT_TRUE(
        std::all_of(block.begin() + 40, block.end(), [](std::uint8_t b) { return b == 0; }));
  }
}

TEST_F(PrepareResourceTest, APresentResourceKeepsItsPixelsAndMask) {
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
}

TEST_F(PrepareResourceTest, AForeignBlockOfAnotherLayoutIsReplaced) {
  // A 16 x 16 8-bit image from a file whose table has only 5 entries: 40 + 20 + 256 + 64 bytes.
  std::vector<std::uint8_t> bytes(380, 0xAB);
  const std::uint8_t header[16] = {40, 0, 0, 0, 16, 0, 0, 0, 32, 0, 0, 0, 1, 0, 8, 0};
  std::copy(std::begin(header), std::end(header), bytes.begin());
  std::fill(bytes.begin() + 16, bytes.begin() + 40, 0);
  bytes[32] = 5;  // biClrUsed
  IconResource& r = grid.resources[7];
  ASSERT_EQ(r.AdoptBlock(bytes), 1);
  ASSERT_EQ(ResourceGrid::ParseResource(&r), 1);
  r.present = 1;

  grid.PrepareResource(k16By16At8Bits);

  ASSERT_EQ(r.present, 1);
  ASSERT_EQ(r.block.size(), 1384u);
  EXPECT_EQ(r.blockSize, 1384u);
  EXPECT_EQ(r.colorBits, r.block.data() + 40 + 1024);
  EXPECT_TRUE(Inside(r, r.maskBits, 16 * 4));
  EXPECT_TRUE(
      std::all_of(r.block.begin() + 40, r.block.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(PrepareResourceTest, AnUnknownSlotChangesNothing) {
  grid.PrepareResource(k256By256At4Bits);
  EXPECT_EQ(grid.CountPresent(), 0);
  EXPECT_EQ(grid.AnyModified(), 0);
}

// ---- Buffers ---------------------------------------------------------------------------------

class GetBuffersTest : public ::testing::Test {
 protected:
  // Stands for whatever the caller had in its variables before.
  static ResourceBuffers Scribbled() {
    static std::uint8_t dummy[4];
    return ResourceBuffers{dummy, 77, dummy + 1, 78, dummy + 2, 79};
  }

  ResourceGrid grid;
};

TEST_F(GetBuffersTest, RowBytesArePaddedTo4Bytes) {
  struct {
    GridSlot slot;
    std::uint32_t colorRow;
    std::uint32_t maskRow;
  } const cases[] = {
      {k24By24At4Bits, 12, 4},     {GridSlot(0, 0, 0), 8, 4}, {k16By16At8Bits, 16, 4},
      {GridSlot(3, 2, 1), 192, 8}, {k256By256, 1024, 32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.slot.sizeIndex * 10 + c.slot.depthIndex);
    grid.PrepareResource(c.slot);
    ResourceBuffers buffers;
    ASSERT_TRUE(grid.GetBuffers(c.slot, buffers));
    EXPECT_EQ(buffers.colorRowBytes, c.colorRow);
    EXPECT_EQ(buffers.maskRowBytes, c.maskRow);
  }
}

TEST_F(GetBuffersTest, APresentResourceGivesItsViews) {
  grid.PrepareResource(k24By24At4Bits);
  const IconResource& r = grid.resources[2];
  ResourceBuffers buffers;
  ASSERT_TRUE(grid.GetBuffers(k24By24At4Bits, buffers));
  EXPECT_EQ(buffers.colorBits, r.colorBits);
  EXPECT_EQ(buffers.maskBits, r.maskBits);
  EXPECT_EQ(buffers.colorTable, r.header + 40);
  EXPECT_EQ(buffers.colorCount, 16u);
}

TEST_F(GetBuffersTest, TheLargeImageHasNoTable) {
  grid.PrepareResource(k256By256);
  ResourceBuffers buffers;
  ASSERT_TRUE(grid.GetBuffers(k256By256, buffers));
  EXPECT_EQ(buffers.colorTable, grid.resources[8].header + 40);
  EXPECT_EQ(buffers.colorCount, 0u);
}

TEST_F(GetBuffersTest, AnAbsentResourceGivesNothing) {
  ResourceBuffers buffers = Scribbled();
  ASSERT_TRUE(grid.GetBuffers(k24By24At4Bits, buffers));
  EXPECT_EQ(buffers.colorBits, nullptr);
  EXPECT_EQ(buffers.colorRowBytes, 0u);
  EXPECT_EQ(buffers.maskBits, nullptr);
  EXPECT_EQ(buffers.maskRowBytes, 0u);
  EXPECT_EQ(buffers.colorTable, nullptr);
}

TEST_F(GetBuffersTest, AClearedResourceGivesNothing) {
  grid.PrepareResource(k24By24At4Bits);
  grid.ClearResource(k24By24At4Bits);
  ResourceBuffers buffers = Scribbled();
  ASSERT_TRUE(grid.GetBuffers(k24By24At4Bits, buffers));
  EXPECT_EQ(buffers.colorBits, nullptr);
  EXPECT_EQ(buffers.maskBits, nullptr);
}

TEST_F(GetBuffersTest, AnUnknownSlotLeavesTheOutputsAlone) {
  ResourceBuffers buffers = Scribbled();
  const ResourceBuffers before = buffers;
  EXPECT_FALSE(grid.GetBuffers(k256By256At4Bits, buffers));
  EXPECT_EQ(buffers.colorBits, before.colorBits);
  EXPECT_EQ(buffers.colorRowBytes, before.colorRowBytes);
  EXPECT_EQ(buffers.maskBits, before.maskBits);
  EXPECT_EQ(buffers.maskRowBytes, before.maskRowBytes);
  EXPECT_EQ(buffers.colorTable, before.colorTable);
  EXPECT_EQ(buffers.colorCount, before.colorCount);
}

// ---- Emptying and the modified flags --------------------------------------------------------

class ClearResourceTest : public ::testing::Test {
 protected:
  ResourceGrid grid;
};

TEST_F(ClearResourceTest, ANewGridIsEmptyAndUnmodified) {
  EXPECT_EQ(grid.CountPresent(), 0);
  EXPECT_EQ(grid.AnyModified(), 0);
  EXPECT_EQ(grid.pngCompress, 0);
}

TEST_F(ClearResourceTest, ClearingAnEmptyResourceStillMarksItModified) {
  grid.ClearResource(5);
  EXPECT_EQ(grid.resources[5].modified, 1);
  EXPECT_EQ(grid.resources[5].present, 0);
  EXPECT_EQ(grid.AnyModified(), 1);
}

TEST_F(ClearResourceTest, ClearingASlotClearsItsResource) {
  grid.ClearResource(k256By256);
  EXPECT_EQ(grid.resources[8].modified, 1);
}

TEST_F(ClearResourceTest, AnUnknownSlotOrIndexIsIgnored) {
  grid.ClearResource(k256By256At4Bits);
  grid.ClearResource(-1);
  grid.ClearResource(13);
  EXPECT_EQ(grid.AnyModified(), 0);
}

TEST_F(ClearResourceTest, ClearingAPresentResourceFreesItsBlockAndKeepsItsSizes) {
  grid.PrepareResource(k24By24At4Bits);
  grid.ClearResource(k24By24At4Bits);
  const IconResource& r = grid.resources[2];
  EXPECT_EQ(r.present, 0);
  EXPECT_EQ(r.modified, 1);
  EXPECT_TRUE(r.block.empty());
  EXPECT_EQ(r.header, nullptr);
  EXPECT_EQ(r.colorBits, nullptr);
  EXPECT_EQ(r.maskBits, nullptr);
  EXPECT_EQ(r.width, 24u);
  EXPECT_EQ(r.height, 24u);
  EXPECT_EQ(r.depth, 4u);
  EXPECT_EQ(r.blockSize, 488u);
}

TEST_F(ClearResourceTest, ResetCanLeaveAResourceUnmodified) {
  grid.PrepareResource(k16By16At8Bits);
  grid.ResetResource(7, 0);
  EXPECT_EQ(grid.resources[7].present, 0);
  EXPECT_EQ(grid.AnyModified(), 0);
}

TEST_F(ClearResourceTest, ClearEmptiesEverythingAndForgetsModifications) {
  for (const Kind& kind : kKinds) grid.PrepareResource(kind.slot);
  grid.ClearResource(3);
  ASSERT_EQ(grid.AnyModified(), 1);

  grid.Clear();

  EXPECT_EQ(grid.CountPresent(), 0);
  EXPECT_EQ(grid.AnyModified(), 0);
  for (const IconResource& r : grid.resources) EXPECT_TRUE(r.block.empty());
}

TEST_F(ClearResourceTest, CountPresentCountsEachResourceOnce) {
  grid.PrepareResource(k24By24At4Bits);
  grid.PrepareResource(k24By24At4Bits);
  grid.PrepareResource(k256By256);
  grid.PrepareResource(GridSlot(5, 0, 0));  // counts as 16 x 16
  EXPECT_EQ(grid.CountPresent(), 3);
  EXPECT_EQ(grid.resources[3].present, 1);
  grid.ClearResource(k256By256);
  EXPECT_EQ(grid.CountPresent(), 2);
}

TEST(ResourceGridTest, SetPngCompressionStoresTheFlag) {
  ResourceGrid grid;
  grid.SetPngCompression(1);
  EXPECT_EQ(grid.pngCompress, 1);
  grid.SetPngCompression(0);
  EXPECT_EQ(grid.pngCompress, 0);
}

}  // namespace
}  // namespace pictaro
