#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/BitmapInfoHeader.h"
#include "model/ResourceGrid.h"

namespace pictaro {
namespace {

BitmapInfoHeader IconHeader(std::int32_t width, std::int32_t doubledHeight,
                            std::uint16_t bitCount) {
  BitmapInfoHeader h;
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = doubledHeight;
  h.biPlanes = 1;
  h.biBitCount = bitCount;
  return h;
}

// The header followed by `size` - 40 bytes of pattern.
std::vector<std::uint8_t> Block(const BitmapInfoHeader& h, std::size_t size) {
  std::vector<std::uint8_t> bytes(std::max<std::size_t>(size, 40));
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
  WriteBitmapInfoHeader(h, bytes.data());
  bytes.resize(size);
  return bytes;
}

TEST(BitmapInfoHeaderTest, ReadsLittleEndianFields) {
  const std::uint8_t bytes[40] = {
      44,   0,    0, 0, 0x00, 0x01, 0, 0, 0xC0, 0xFF, 0xFF, 0xFF, 2, 0, 0x20, 0, 0, 0, 0, 0,
      0x10, 0x27, 0, 0, 0,    0,    0, 0, 0,    0,    0,    0,    5, 0, 1,    0, 0, 0, 0, 0};
  const BitmapInfoHeader h = ReadBitmapInfoHeader(bytes);
  EXPECT_EQ(h.biSize, 44u);
  EXPECT_EQ(h.biWidth, 256);
  EXPECT_EQ(h.biHeight, -64);
  EXPECT_EQ(h.biPlanes, 2u);
  EXPECT_EQ(h.biBitCount, 32u);
  EXPECT_EQ(h.biSizeImage, 10000u);
  EXPECT_EQ(h.biClrUsed, 0x10005u);

  std::uint8_t written[40] = {};
  WriteBitmapInfoHeader(h, written);
  EXPECT_TRUE(std::equal(std::begin(bytes), std::end(bytes), std::begin(written)));
}

// ---- Blocks that fit -------------------------------------------------------------------------

class ParseResourceTest : public ::testing::Test {
 protected:
  // Adopts the bytes and parses them.
  int Parse(std::vector<std::uint8_t> bytes) {
    EXPECT_EQ(resource.AdoptBlock(std::move(bytes)), 1);
    return ResourceGrid::ParseResource(&resource);
  }

  std::ptrdiff_t ColorOffset() const { return resource.colorBits - resource.block.data(); }
  std::ptrdiff_t MaskOffset() const { return resource.maskBits - resource.block.data(); }

  IconResource resource;
};

TEST_F(ParseResourceTest, ANullResourceFails) {
  EXPECT_EQ(ResourceGrid::ParseResource(nullptr), 0);
}

TEST_F(ParseResourceTest, AgreesWithEveryBlockTheGridBuilds) {
  ResourceGrid grid;
  const GridSlot slots[] = {
      GridSlot(3, 0, 0), GridSlot(2, 0, 0), GridSlot(1, 0, 0), GridSlot(0, 0, 0), GridSlot(3, 1, 0),
      GridSlot(2, 1, 0), GridSlot(1, 1, 0), GridSlot(0, 1, 0), GridSlot(4, 2, 1), GridSlot(3, 2, 1),
      GridSlot(2, 2, 1), GridSlot(1, 2, 1), GridSlot(0, 2, 1)};
  for (int index = 0; index < ResourceGrid::kResourceCount; ++index) {
    SCOPED_TRACE(index);
    grid.PrepareResource(slots[index]);
    const IconResource& built = grid.resources[index];
    ASSERT_EQ(Parse(built.block), 1);
    EXPECT_EQ(resource.width, built.width);
    EXPECT_EQ(resource.height, built.height);
    EXPECT_EQ(resource.depth, built.depth);
    EXPECT_EQ(resource.header, resource.block.data());
    EXPECT_EQ(ColorOffset(), built.colorBits - built.block.data());
    EXPECT_EQ(MaskOffset(), built.maskBits - built.block.data());
  }
}

TEST_F(ParseResourceTest, UsedColoursSetTheTableLength) {
  BitmapInfoHeader h = IconHeader(16, 32, 8);
  h.biClrUsed = 5;
  ASSERT_EQ(Parse(Block(h, 40 + 5 * 4 + 16 * 16 + 16 * 4)), 1);
  EXPECT_EQ(ColorOffset(), 60);
  EXPECT_EQ(MaskOffset(), 60 + 16 * 16);
  EXPECT_EQ(resource.colorCount, 5u);
}

TEST_F(ParseResourceTest, OnlyTheLowHalfOfUsedColoursCounts) {
  BitmapInfoHeader h = IconHeader(16, 32, 8);
  h.biClrUsed = 0x10005;
  ASSERT_EQ(Parse(Block(h, 2000)), 1);
  EXPECT_EQ(ColorOffset(), 60);

  h.biClrUsed = 0x10000;  // a low half of 0 means no table at all
  ASSERT_EQ(Parse(Block(h, 2000)), 1);
  EXPECT_EQ(ColorOffset(), 40);
}

TEST_F(ParseResourceTest, TheBitCountAloneChoosesTheDefaultTable) {
  BitmapInfoHeader h = IconHeader(16, 32, 1);
  ASSERT_EQ(Parse(Block(h, 40 + 8 + 16 * 4 + 16 * 4)), 1);
  EXPECT_EQ(ColorOffset(), 48);
  EXPECT_EQ(resource.depth, 1u);

  h = IconHeader(16, 32, 4);
  h.biPlanes = 2;  // depth 8, yet 16 entries as for 4 bits
  ASSERT_EQ(Parse(Block(h, 40 + 64 + 16 * 16 + 16 * 4)), 1);
  EXPECT_EQ(resource.depth, 8u);
  EXPECT_EQ(ColorOffset(), 40 + 64);
  EXPECT_EQ(MaskOffset(), 40 + 64 + 16 * 16);

  h = IconHeader(16, 32, 24);
  ASSERT_EQ(Parse(Block(h, 40 + 16 * 48 + 16 * 4)), 1);
  EXPECT_EQ(ColorOffset(), 40);
}

TEST_F(ParseResourceTest, ALongerHeaderMovesTheTable) {
  BitmapInfoHeader h = IconHeader(16, 32, 4);
  h.biSize = 56;
  ASSERT_EQ(Parse(Block(h, 56 + 64 + 16 * 8 + 16 * 4)), 1);
  EXPECT_EQ(ColorOffset(), 56 + 64);
}

TEST_F(ParseResourceTest, TheHeightIsHalfTheHeadersHeight) {
  ASSERT_EQ(Parse(Block(IconHeader(32, 64, 32), 4264)), 1);
  EXPECT_EQ(resource.width, 32u);
  EXPECT_EQ(resource.height, 32u);

  ASSERT_EQ(Parse(Block(IconHeader(16, 33, 32), 1128)), 1);
  EXPECT_EQ(resource.height, 16u);
}

TEST_F(ParseResourceTest, TheBlockMustHoldTheMaskToItsLastByte) {
  ASSERT_EQ(Parse(Block(IconHeader(16, 32, 4), 296)), 1);
  EXPECT_EQ(Parse(Block(IconHeader(16, 32, 4), 295)), 0);
}

TEST_F(ParseResourceTest, DoesNotMarkTheResourcePresent) {
  ASSERT_EQ(Parse(Block(IconHeader(16, 32, 4), 296)), 1);
  EXPECT_EQ(resource.present, 0);
}

// ---- Hostile headers ------------------------------------------------------------------------

// Each of these must be refused without leaving any pointer into the block.
class HostileBlockTest : public ParseResourceTest {
 protected:
  void ExpectRefused(std::vector<std::uint8_t> bytes) {
    EXPECT_EQ(Parse(std::move(bytes)), 0);
    EXPECT_EQ(resource.header, nullptr);
    EXPECT_EQ(resource.colorBits, nullptr);
    EXPECT_EQ(resource.maskBits, nullptr);
  }
};

TEST_F(HostileBlockTest, TooShortForAHeader) {
  ExpectRefused({});
  ExpectRefused(Block(IconHeader(16, 32, 4), 39));
}

TEST_F(HostileBlockTest, HeaderSizeBelow40) {
  BitmapInfoHeader h = IconHeader(16, 32, 32);
  h.biSize = 39;
  ExpectRefused(Block(h, 2000));
  h.biSize = 0;
  ExpectRefused(Block(h, 2000));
}

TEST_F(HostileBlockTest, HeaderSizeBeyondTheBlock) {
  BitmapInfoHeader h = IconHeader(16, 32, 32);
  h.biSize = 2001;
  ExpectRefused(Block(h, 2000));
  h.biSize = std::numeric_limits<std::uint32_t>::max();
  ExpectRefused(Block(h, 2000));
}

TEST_F(HostileBlockTest, TableBeyondTheBlock) {
  BitmapInfoHeader h = IconHeader(16, 32, 8);
  h.biClrUsed = 0xFFFF;
  ExpectRefused(Block(h, 2000));
  ExpectRefused(Block(IconHeader(16, 32, 8), 40 + 1020));
}

TEST_F(HostileBlockTest, ColourBitmapBeyondTheBlock) {
  ExpectRefused(Block(IconHeader(16, 32, 32), 40 + 16 * 64 - 1));
  ExpectRefused(Block(IconHeader(0x7FFFFFFF, 32, 32), 4096));
  ExpectRefused(Block(IconHeader(16, 0x7FFFFFFE, 32), 4096));
  ExpectRefused(Block(IconHeader(0x7FFFFFFF, 0x7FFFFFFF, 32), 4096));
}

TEST_F(HostileBlockTest, MaskBeyondTheBlock) {
  ExpectRefused(Block(IconHeader(16, 32, 32), 40 + 16 * 64));
  ExpectRefused(Block(IconHeader(48, 96, 8), 3752 - 1));
}

TEST_F(HostileBlockTest, NoRows) {
  ExpectRefused(Block(IconHeader(16, -32, 32), 2000));
  ExpectRefused(Block(IconHeader(16, 1, 32), 2000));
  ExpectRefused(Block(IconHeader(16, 0, 32), 2000));
  ExpectRefused(Block(IconHeader(16, std::numeric_limits<std::int32_t>::min(), 32), 2000));
}

TEST_F(HostileBlockTest, NoColumns) {
  ExpectRefused(Block(IconHeader(0, 32, 32), 2000));
  ExpectRefused(Block(IconHeader(-16, 32, 32), 2000));
  ExpectRefused(Block(IconHeader(std::numeric_limits<std::int32_t>::min(), 32, 32), 2000));
}

TEST_F(HostileBlockTest, NoBitsPerPixel) {
  BitmapInfoHeader h = IconHeader(16, 32, 32);
  h.biPlanes = 0;
  ExpectRefused(Block(h, 2000));
  ExpectRefused(Block(IconHeader(16, 32, 0), 2000));
}

TEST_F(HostileBlockTest, PlanesTimesBitsBeyond32Bits) {
  BitmapInfoHeader h = IconHeader(16, 32, 0xFFFF);
  h.biPlanes = 0xFFFF;
  ExpectRefused(Block(h, 4096));
  h.biWidth = 0x7FFFFFFF;
  ExpectRefused(Block(h, 4096));
}

TEST_F(HostileBlockTest, ARefusedBlockDropsTheViewsOfAnEarlierOne) {
  ASSERT_EQ(Parse(Block(IconHeader(16, 32, 4), 296)), 1);
  ExpectRefused(Block(IconHeader(16, 32, 4), 200));
}

TEST_F(HostileBlockTest, TheBlocksOwnLengthCountsNotBlockSize) {
  ASSERT_EQ(Parse(Block(IconHeader(16, 32, 4), 296)), 1);
  resource.block.resize(100);  // shrunk in place, as no caller should
  EXPECT_EQ(ResourceGrid::ParseResource(&resource), 0);
  EXPECT_EQ(resource.colorBits, nullptr);
  EXPECT_EQ(resource.maskBits, nullptr);
}

// ---- Adopting a block -----------------------------------------------------------------------

TEST(AdoptBlockTest, TakesTheBytesWithoutViewsOrPresence) {
  IconResource resource;
  resource.present = 1;
  resource.modified = 1;
  ASSERT_EQ(resource.AdoptBlock(std::vector<std::uint8_t>(296, 1)), 1);
  EXPECT_EQ(resource.present, 0);
  EXPECT_EQ(resource.modified, 1);
  EXPECT_EQ(resource.blockSize, 296u);
  EXPECT_EQ(resource.block.size(), 296u);
  EXPECT_EQ(resource.header, nullptr);
  EXPECT_EQ(resource.colorBits, nullptr);
}

}  // namespace
}  // namespace pictaro
