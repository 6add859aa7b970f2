#include "model/CellPicture.h"

#include <gtest/gtest.h>

namespace pictaro {
namespace {

std::uint32_t ColorAt(const Raster& raster, int x, int y) {
  const std::uint8_t* p = raster.At(x, y);
  return p[0] | (p[1] << 8) | (p[2] << 16);
}

TEST(CellPictureTest, ShadesFollowTheirOwnRules) {
  EXPECT_EQ(ShadeOf(0xFFFFFF), 0xBFBFBFu);
  EXPECT_EQ(ShadeOf(0x000000), 0x7F7F7Fu);
  EXPECT_EQ(FrameShadeOf(0x808080), 0x606060u);
  EXPECT_EQ(FrameShadeOf(0xFFFFFF), 0xBFBFBFu);
  EXPECT_EQ(FrameShadeOf(0xF0F0F0), 0xB3B3B3u);
  EXPECT_EQ(FrameShadeOf(0x000000), 0x000000u);
  // Double precision and truncation: 44 gives 32 and 120 gives 89, one less than 3c / 4.
  EXPECT_EQ(FrameShadeOf(0x2C0078), 0x200059u);
}

TEST(CellPictureTest, RingsAroundTheImage) {
  ResourceGrid grid;
  const GridSlot slot(0, 2, 1);  // 16 x 16 in a 22 x 22 cell
  grid.PrepareResource(slot);
  const std::uint32_t background = 0x808080;
  struct Case {
    CellLook look;
    std::uint32_t rings[3];
  };
  const Case cases[] = {
      {{background, false, false, false}, {background, background, 0x606060}},
      {{background, true, false, false}, {0x606060, 0xFFFFFF, 0x606060}},
      {{background, false, true, true}, {0x606060, 0x5C5C5C, 0x606060}},
      {{background, false, true, false}, {0x606060, 0x000000, 0x606060}},
      {{background, true, true, false}, {0x606060, 0xFFFFFF, 0x606060}},
  };
  for (const Case& c : cases) {
    Raster cell(22, 22);
    PaintCell(cell, &grid, slot, c.look);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(ColorAt(cell, i, 10), c.rings[i]) << i;
      EXPECT_EQ(ColorAt(cell, 21 - i, 21 - i), c.rings[i]) << i;
    }
    // The prepared resource is fully transparent: the background shows inside the frame.
    EXPECT_EQ(ColorAt(cell, 3, 3), background);
  }

  // Without a grid only the background and the frame are painted.
  Raster bare(22, 22);
  PaintCell(bare, nullptr, slot, CellLook{0xFFFFFF, false, false, false});
  EXPECT_EQ(ColorAt(bare, 10, 10), 0xFFFFFFu);
  EXPECT_EQ(ColorAt(bare, 2, 10), 0xBFBFBFu);
}

}  // namespace
}  // namespace pictaro
