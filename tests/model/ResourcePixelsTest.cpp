#include "model/ResourcePixels.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/BitmapInfoHeader.h"
#include "model/ResourceGrid.h"

namespace pictaro {
namespace {

// A 2 x 2 image of the given depth as a file would hold it: header, `colors` table entries,
// colour rows (bottom row first) and mask rows, parsed into a resource.
void MakeResource(IconResource& r, std::uint16_t bits, std::uint32_t colors,
                  const std::vector<std::uint8_t>& bottomRow,
                  const std::vector<std::uint8_t>& topRow, std::uint8_t topMask) {
  std::vector<std::uint8_t> block(40 + 4 * colors);
  WriteBitmapInfoHeader({40, 2, 4, 1, bits, 0, 0, 0, 0, colors, 0}, block.data());
  for (std::uint32_t i = 0; i < colors; ++i)
    block[40 + 4 * i + 2] = static_cast<std::uint8_t>(100 + i);
  for (const auto* row : {&bottomRow, &topRow}) {
    std::vector<std::uint8_t> padded = *row;
    padded.resize(RowBytes(2, bits));
    block.insert(block.end(), padded.begin(), padded.end());
  }
  block.insert(block.end(), {0, 0, 0, 0, topMask, 0, 0, 0});
  r.AdoptBlock(block);
  ASSERT_EQ(ResourceGrid::ParseResource(&r), 1);
}

TEST(ResourcePixelsTest, EveryDepthReadsItsOwnLayout) {
  IconResource r;
  // A table of 2 entries: index 1 is red 101, index 3 lies past the table and reads black.
  MakeResource(r, 8, 2, {1, 3}, {0, 1}, 0x40);
  EXPECT_EQ(PixelAt(r, 0, 1).red, 101);
  EXPECT_EQ(PixelAt(r, 1, 1).red, 0);
  EXPECT_EQ(PixelAt(r, 0, 0).red, 100);
  EXPECT_FALSE(PixelAt(r, 0, 0).masked);
  EXPECT_TRUE(PixelAt(r, 1, 0).masked);
  EXPECT_EQ(PixelAt(r, 1, 0).alpha, 255);

  // 1 bit: the leftmost pixel in the highest bit.
  MakeResource(r, 1, 2, {0x40}, {0x80}, 0);
  EXPECT_EQ(PixelAt(r, 0, 0).red, 101);
  EXPECT_EQ(PixelAt(r, 1, 1).red, 101);
  EXPECT_EQ(PixelAt(r, 1, 0).red, 100);

  // 16 bits: 5 bits each of red, green, blue.
  MakeResource(r, 16, 0, {0x1F, 0x00, 0xE0, 0x03}, {0x00, 0x7C, 0, 0}, 0);
  EXPECT_EQ(PixelAt(r, 0, 0).red, 255);
  EXPECT_EQ(PixelAt(r, 0, 1).blue, 255);
  EXPECT_EQ(PixelAt(r, 1, 1).green, 255);
  EXPECT_EQ(PixelAt(r, 1, 1).red, 0);

  // 24 and 32 bits: blue, green, red (and straight alpha).
  MakeResource(r, 24, 0, {}, {1, 2, 3, 4, 5, 6}, 0);
  EXPECT_EQ(PixelAt(r, 1, 0).red, 6);
  EXPECT_EQ(PixelAt(r, 1, 0).blue, 4);
  MakeResource(r, 32, 0, {}, {1, 2, 3, 0, 5, 6, 7, 128}, 0x80);
  EXPECT_EQ(PixelAt(r, 1, 0).alpha, 128);
  EXPECT_EQ(PixelAt(r, 0, 0).alpha, 0);
  EXPECT_TRUE(PixelAt(r, 0, 0).masked);
}

}  // namespace
}  // namespace pictaro
