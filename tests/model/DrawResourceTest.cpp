#include <gtest/gtest.h>

#include "model/CellPicture.h"
#include "model/ResourceGrid.h"
#include "support/ReferenceText.h"

namespace pictaro {
namespace {

using testing::Hex;

// A 16 x 16 32-bit resource, fully transparent black but for the given pixels of the top row.
void Paint32(ResourceGrid& grid, std::initializer_list<std::array<std::uint8_t, 4>> topRow) {
  grid.PrepareResource(GridSlot(0, 2, 1));
  std::uint8_t* p = grid.resources[12].colorBits + 15 * 64;
  for (const auto& [red, green, blue, alpha] : topRow) {
    *p++ = blue, *p++ = green, *p++ = red, *p++ = alpha;
  }
}

TEST(DrawResourceTest, ThirtyTwoBitPixelsInTheThreeViewModes) {
  ResourceGrid grid;
  Paint32(grid, {{10, 20, 30, 0}, {255, 0, 0, 128}});
  const struct {
    int mode;
    std::uint32_t background;
    const char* row3;  // pixels 2 to 5 of row 3
  } cases[] = {
      // Centred at its own size: 16 px in a 22 px square start at (3, 3).
      {0, 0x204080, "00000000 804020ff bf1f0fff 804020ff"},
      {0, 0xFFFFFF, "00000000 ffffffff ff7f7fff ffffffff"},
      {1, 0xFFFFFF, "00000000 0a141eff ff0000ff 000000ff"},  // data ignores alpha
      {2, 0xFFFFFF, "00000000 ffffffff 7f7f7fff ffffffff"},  // mask: white = clear
  };
  for (const auto& c : cases) {
    Raster raster(22, 22);
    ASSERT_EQ(grid.Draw(raster, 0, 0, 22, 22, c.mode, 0, c.background, GridSlot(0, 2, 1)), 1);
    EXPECT_EQ(Hex(raster, 2, 3, 4), c.row3) << c.mode;
    EXPECT_EQ(Hex(raster, 18, 18, 2).substr(8), " 00000000") << c.mode;
  }
  // An empty resource draws nothing.
  Raster untouched(22, 22);
  EXPECT_EQ(grid.Draw(untouched, 0, 0, 22, 22, 0, 0, 0xFFFFFF, GridSlot(0, 1, 0)), 0);
  EXPECT_EQ(untouched.rgba, Raster(22, 22).rgba);
}

TEST(DrawResourceTest, IndexedPixelsStretchAndShowThroughTheirMask) {
  ResourceGrid grid;
  const GridSlot slot(0, 0, 0);  // 16 x 16, 4-bit
  grid.PrepareResource(slot);
  ResourceBuffers b;
  grid.GetBuffers(slot, b);
  b.colorTable[4 * 1 + 2] = 200;             // entry 1: red 200
  b.colorBits[15 * b.colorRowBytes] = 0x10;  // top row: pixel 0 is entry 1
  b.maskBits[15 * b.maskRowBytes] = 0x40;    // top row: pixel 1 is transparent

  // Four screen pixels a resource pixel, no smoothing; transparent ones leave the raster as it
  // was in mode 0, show the stored colour in mode 1 and white in mode 2.
  const char* rows[] = {"c80000ff 09090909 000000ff", "c80000ff 000000ff 000000ff",
                        "000000ff ffffffff 000000ff"};
  Raster raster(64, 64);
  std::fill(raster.rgba.begin(), raster.rgba.end(), 9);
  for (int mode = 0; mode < 3; ++mode) {
    ASSERT_EQ(grid.Draw(raster, 0, 0, 64, 64, mode, 1, 0, slot), 1);
    EXPECT_EQ(Hex(raster, 3, 3, 2) + " " + Hex(raster, 8, 0), rows[mode]) << mode;
  }

  // The icon's picture: the colour with the mask as alpha.
  const Raster icon = grid.IconImage(3);
  ASSERT_EQ(icon.width, 16);
  EXPECT_EQ(Hex(icon, 0, 0, 3), "c80000ff 00000000 000000ff");
  EXPECT_EQ(grid.IconImage(4).width, 0);
}

TEST(CellPictureTest, ShadesFollowTheirOwnRules) {
  EXPECT_EQ(ShadeOf(0xFFFFFF), 0xBFBFBFu);
  EXPECT_EQ(ShadeOf(0x000000), 0x7F7F7Fu);
  const std::uint32_t frames[][2] = {{0x808080, 0x606060},
                                     {0xFFFFFF, 0xBFBFBF},
                                     {0xF0F0F0, 0xB3B3B3},
                                     {0x000000, 0x000000},
                                     // Double precision and truncation: 44 gives 32, 120 gives 89.
                                     {0x2C0078, 0x200059}};
  for (const auto& [color, shade] : frames) EXPECT_EQ(FrameShadeOf(color), shade) << color;
}

// The cell of a 16 x 16 image with a red and a blue corner in each look, and without a grid.
TEST(CellPictureTest, RingsAroundTheImage) {
  ResourceGrid grid;
  Paint32(grid, {{255, 0, 0, 255}});
  grid.resources[12].colorBits[15 * 4 + 0] = 255;  // bottom row's last pixel: blue
  grid.resources[12].colorBits[15 * 4 + 3] = 255;
  const std::uint32_t grey = 0x808080;
  const CellLook looks[] = {{grey, false, false, false},
                            {grey, true, false, false},
                            {grey, false, true, true},
                            {grey, false, true, false},
                            {grey, true, true, false}};
  std::string text;
  for (const CellLook& look : looks) {
    Raster cell(22, 22);
    PaintCell(cell, &grid, GridSlot(0, 2, 1), look);
    text += testing::PictureText(cell, {{0x808080ff, '.'},
                                        {0x606060ff, 's'},
                                        {0xffffffff, 'w'},
                                        {0x5c5c5cff, 'f'},
                                        {0x000000ff, 'k'},
                                        {0xff0000ff, 'r'},
                                        {0x0000ffff, 'b'}}) +
            "\n";
  }
  Raster bare(22, 22);
  PaintCell(bare, nullptr, GridSlot(0, 2, 1), CellLook{0xFFFFFF, false, false, false});
  text += testing::PictureText(bare, {{0xffffffff, 'w'}, {0xbfbfbfff, 'g'}});
  testing::ExpectMatchesReference(text, "model/cells.txt");
}

}  // namespace
}  // namespace pictaro
