#include <gtest/gtest.h>

#include "model/CellPicture.h"
#include "model/ResourceGrid.h"
#include "support/ReferenceText.h"

namespace pictaro {
namespace {

using testing::Hex;

// A 16 x 16 32-bit resource, transparent black but for the first pixels of the top row.
void Paint32(ResourceGrid& grid, std::initializer_list<std::array<std::uint8_t, 4>> topRow) {
  grid.PrepareResource(GridSlot(0, 2, 1));
  std::uint8_t* p = grid.resources[12].colorBits + 15 * 64;
  for (const auto& [red, green, blue, alpha] : topRow)
    *p++ = blue, *p++ = green, *p++ = red, *p++ = alpha;
}

TEST(DrawResourceTest, EachViewModeCentredOrStretched) {
  ResourceGrid grid;
  Paint32(grid, {{10, 20, 30, 0}, {255, 0, 0, 128}});
  // Centred at its own size: 16 pixels in 22 start at (3, 3). Pixels 2 to 5 of row 3 and 18 to
  // 19 of row 18 in each view mode on a background; truncated blends, data without alpha, alpha
  // as grey in the mask view. An empty resource draws nothing.
  const std::tuple<int, std::uint32_t, GridSlot, std::string> cases[] = {
      {0, 0x204080, GridSlot(0, 2, 1), "1 00000000 804020ff bf1f0fff 804020ff 804020ff 00000000"},
      {0, 0xFFFFFF, GridSlot(0, 2, 1), "1 00000000 ffffffff ff7f7fff ffffffff ffffffff 00000000"},
      {1, 0xFFFFFF, GridSlot(0, 2, 1), "1 00000000 0a141eff ff0000ff 000000ff 000000ff 00000000"},
      {2, 0xFFFFFF, GridSlot(0, 2, 1), "1 00000000 ffffffff 7f7f7fff ffffffff ffffffff 00000000"},
      {0, 0xFFFFFF, GridSlot(0, 1, 0), "0 00000000 00000000 00000000 00000000 00000000 00000000"}};
  for (const auto& [mode, background, slot, pixels] : cases) {
    Raster raster(22, 22);
    const int drawn = grid.Draw(raster, 0, 0, 22, 22, mode, 0, background, slot);
    EXPECT_EQ(std::to_string(drawn) + " " + Hex(raster, 2, 3, 4) + " " + Hex(raster, 18, 18, 2),
              pixels)
        << mode;
  }

  // 16 x 16 at 4 bits: the top row starts with entry 1 (red 200) and a transparent pixel.
  const GridSlot slot(0, 0, 0);
  grid.PrepareResource(slot);
  ResourceBuffers b;
  grid.GetBuffers(slot, b);
  b.colorTable[4 * 1 + 2] = 200;
  b.colorBits[15 * b.colorRowBytes] = 0x10;
  b.maskBits[15 * b.maskRowBytes] = 0x40;
  // Four screen pixels a resource pixel, no smoothing; a transparent one leaves the raster as it
  // was in mode 0, shows the stored colour in mode 1 and white in mode 2.
  const char* pixels[] = {"c80000ff 09090909 000000ff", "c80000ff 000000ff 000000ff",
                          "000000ff ffffffff 000000ff"};
  Raster raster(64, 64);
  std::fill(raster.rgba.begin(), raster.rgba.end(), 9);
  for (int mode = 0; mode < 3; ++mode) {
    ASSERT_EQ(grid.Draw(raster, 0, 0, 64, 64, mode, 1, 0, slot), 1);
    EXPECT_EQ(Hex(raster, 3, 3, 2) + " " + Hex(raster, 8, 0), pixels[mode]) << mode;
  }
  // The icon's picture: the colour with the mask as alpha; none for an empty resource.
  EXPECT_EQ(Hex(grid.IconImage(3), 0, 0, 3), "c80000ff 00000000 000000ff");
  EXPECT_EQ(grid.IconImage(4).width, 0);
}

TEST(CellPictureTest, ShadesAndRingsAroundTheImage) {
  // Double precision and truncation for the frame: 44 gives 32 and 120 gives 89.
  EXPECT_EQ(
      (std::vector{ShadeOf(0xFFFFFF), ShadeOf(0), FrameShadeOf(0x808080), FrameShadeOf(0xFFFFFF),
                   FrameShadeOf(0xF0F0F0), FrameShadeOf(0), FrameShadeOf(0x2C0078)}),
      (std::vector<std::uint32_t>{0xBFBFBF, 0x7F7F7F, 0x606060, 0xBFBFBF, 0xB3B3B3, 0, 0x200059}));

  // A red top-left and a blue bottom-right pixel on grey in each look ("s" selected, "S"
  // stretched, "F" focused), then a cell without a grid on white.
  ResourceGrid grid;
  Paint32(grid, {{255, 0, 0, 255}});
  grid.resources[12].colorBits[15 * 4] = grid.resources[12].colorBits[15 * 4 + 3] = 255;
  std::string text;
  std::map<std::uint32_t, char> marks;
  for (const char* look : {"...", "s..", ".SF", ".S.", "sS."}) {
    Raster cell(22, 22);
    PaintCell(cell, &grid, GridSlot(0, 2, 1),
              CellLook{0x808080, look[0] == 's', look[1] == 'S', look[2] == 'F'});
    text += testing::PictureText(cell, marks) + "\n";
  }
  Raster bare(22, 22);
  PaintCell(bare, nullptr, GridSlot(0, 2, 1), CellLook{0xFFFFFF, false, false, false});
  testing::ExpectMatchesReference(text + testing::PictureText(bare, marks), "model/cells.txt");
}

}  // namespace
}  // namespace pictaro
