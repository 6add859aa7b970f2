#include <gtest/gtest.h>

#include "model/ResourceGrid.h"

namespace pictaro {
namespace {

// Sets pixel (x, y), y from the top, of a 32-bit resource.
void SetPixel(ResourceGrid& grid, int index, int x, int y, std::uint8_t red, std::uint8_t green,
              std::uint8_t blue, std::uint8_t alpha) {
  IconResource& r = grid.resources[index];
  std::uint8_t* p = r.colorBits + ((r.height - 1 - y) * r.width + x) * 4;
  p[0] = blue;
  p[1] = green;
  p[2] = red;
  p[3] = alpha;
}

std::vector<int> Rgb(const Raster& raster, int x, int y) {
  const std::uint8_t* p = raster.At(x, y);
  return {p[0], p[1], p[2]};
}

TEST(DrawResourceTest, ThirtyTwoBitPixelsInTheThreeViewModes) {
  ResourceGrid grid;
  const GridSlot slot(0, 2, 1);
  grid.PrepareResource(slot);
  SetPixel(grid, 12, 0, 0, 10, 20, 30, 0);
  SetPixel(grid, 12, 1, 0, 255, 0, 0, 128);
  const std::uint32_t white = 0xFFFFFF;
  const std::uint32_t olive = 0x204080;  // red 0x80, green 0x40, blue 0x20

  Raster raster(22, 22);
  // Centred at its own size: 16 px in a 22 px square starts at (3, 3).
  ASSERT_EQ(grid.Draw(raster, 0, 0, 22, 22, 0, 0, olive, slot), 1);
  EXPECT_EQ(raster.At(2, 2)[3], 0);
  EXPECT_EQ(raster.At(19, 19)[3], 0);
  EXPECT_EQ(Rgb(raster, 3, 3), (std::vector<int>{0x80, 0x40, 0x20}));  // alpha 0: background
  EXPECT_EQ(Rgb(raster, 18, 18), (std::vector<int>{0x80, 0x40, 0x20}));

  grid.Draw(raster, 0, 0, 22, 22, 0, 0, white, slot);
  EXPECT_EQ(Rgb(raster, 4, 3), (std::vector<int>{255, 127, 127}));
  grid.Draw(raster, 0, 0, 22, 22, 1, 0, white, slot);
  EXPECT_EQ(Rgb(raster, 3, 3), (std::vector<int>{10, 20, 30}));  // data ignores alpha
  EXPECT_EQ(Rgb(raster, 4, 3), (std::vector<int>{255, 0, 0}));
  grid.Draw(raster, 0, 0, 22, 22, 2, 0, white, slot);
  EXPECT_EQ(Rgb(raster, 3, 3), (std::vector<int>{255, 255, 255}));  // mask: white = clear
  EXPECT_EQ(Rgb(raster, 4, 3), (std::vector<int>{127, 127, 127}));
  EXPECT_EQ(Rgb(raster, 5, 3), (std::vector<int>{255, 255, 255}));  // prepared: alpha 0

  // An empty resource draws nothing.
  Raster untouched(22, 22);
  EXPECT_EQ(grid.Draw(untouched, 0, 0, 22, 22, 0, 0, white, GridSlot(0, 1, 0)), 0);
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

  Raster raster(64, 64);
  for (std::size_t i = 0; i < raster.rgba.size(); ++i) raster.rgba[i] = 9;
  ASSERT_EQ(grid.Draw(raster, 0, 0, 64, 64, 0, 1, 0, slot), 1);
  // Four screen pixels a resource pixel, no smoothing.
  EXPECT_EQ(Rgb(raster, 0, 0), (std::vector<int>{200, 0, 0}));
  EXPECT_EQ(Rgb(raster, 3, 3), (std::vector<int>{200, 0, 0}));
  EXPECT_EQ(Rgb(raster, 4, 0), (std::vector<int>{9, 9, 9}));  // transparent: untouched
  EXPECT_EQ(Rgb(raster, 8, 0), (std::vector<int>{0, 0, 0}));

  grid.Draw(raster, 0, 0, 64, 64, 1, 1, 0, slot);
  EXPECT_EQ(Rgb(raster, 4, 0), (std::vector<int>{0, 0, 0}));  // data: the stored colour
  grid.Draw(raster, 0, 0, 64, 64, 2, 1, 0, slot);
  EXPECT_EQ(Rgb(raster, 4, 0), (std::vector<int>{255, 255, 255}));
  EXPECT_EQ(Rgb(raster, 0, 0), (std::vector<int>{0, 0, 0}));

  const Raster icon = grid.IconImage(3);
  ASSERT_EQ(icon.width, 16);
  EXPECT_EQ(icon.At(0, 0)[0], 200);
  EXPECT_EQ(icon.At(0, 0)[3], 255);
  EXPECT_EQ(icon.At(1, 0)[3], 0);
  EXPECT_EQ(grid.IconImage(4).width, 0);
}

}  // namespace
}  // namespace pictaro
