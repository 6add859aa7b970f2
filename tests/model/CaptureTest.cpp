#include "model/Capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "model/BitmapInfoHeader.h"
#include "model/ResourcePixels.h"
#include "resources/ResourceRegistry.h"
#include "support/FakePluginUi.h"

namespace pictaro {
namespace {

using V = std::vector<int>;

// A delivered layer region of our own bytes: red, green, blue and, with 4 planes, transparency.
struct Region {
  Region(int width, int height, int planes, std::vector<std::uint8_t> fill)
      : width(width), height(height), planes(planes) {
    for (int i = 0; i < width * height; ++i) bytes.insert(bytes.end(), fill.begin(), fill.end());
  }
  Region& Set(int x, int y, std::vector<std::uint8_t> pixel) {
    std::copy(pixel.begin(), pixel.end(), bytes.begin() + (y * width + x) * planes);
    return *this;
  }
  // Placed anywhere on the layer: only the rectangle's size matters.
  LayerImage Image() const {
    const Rect rect{10, 20, static_cast<int16>(10 + height), static_cast<int16>(20 + width)};
    return {rect, bytes.data(), width * planes, planes};
  }
  int width, height, planes;
  std::vector<std::uint8_t> bytes;
};

const GridSlot k16At4(0, 0, 0), k16At8(0, 1, 0), k16At32(0, 2, 1);

struct CaptureTest : ::testing::Test {
  int Capture(const Region& region, const GridSlot& slot, const CaptureTables& tables = {}) {
    return CaptureResource(region.Image(), slot, grid, tables, desktop);
  }
  const IconResource& Of(const GridSlot& slot) {
    return grid.resources[ResourceGrid::IndexOf(slot)];
  }
  // Pixel (x, y), y from the top: colour index (-1 at 32 bits), red, green, blue, alpha, mask bit.
  V At(const GridSlot& slot, int x, int y) {
    const IconResource& r = Of(slot);
    const ResourcePixel p = PixelAt(r, x, y);
    const std::uint8_t* row = r.colorBits + (r.height - 1 - y) * RowBytes(r.width, r.depth);
    const int index = r.depth == 8   ? row[x]
                      : r.depth == 4 ? row[x / 2] >> (x % 2 ? 0 : 4) & 15
                                     : -1;
    return {index, p.red, p.green, p.blue, p.alpha, p.masked};
  }
  ResourceGrid grid;
  testing::RecordingDesktop desktop;
};

TEST_F(CaptureTest, EachDepthTakesItsTableAlphaAndMask) {
  Region region(16, 16, 4, {10, 20, 30, 0});
  region.Set(0, 0, {255, 0, 0, 128}).Set(1, 0, {255, 255, 255, 255});
  region.Set(2, 15, {255, 255, 255, 0}).Set(1, 2, {40, 50, 60, 1});

  // Table 1009 travels along; transparent pixels are black underneath, alpha 1 is opaque.
  ASSERT_EQ(Capture(region, k16At8), 1);
  EXPECT_EQ(At(k16At8, 0, 0), (V{35, 255, 0, 0, 255, 0}));
  EXPECT_EQ(At(k16At8, 1, 0), (V{0, 255, 255, 255, 255, 0}));
  EXPECT_EQ(At(k16At8, 2, 15), (V{255, 0, 0, 0, 255, 1}));
  EXPECT_EQ(At(k16At8, 1, 2), (V{172, 0x33, 0x33, 0x33, 255, 0}));
  EXPECT_EQ(Of(k16At8).colorCount, 256u);

  ASSERT_EQ(Capture(region, k16At4), 1);
  EXPECT_EQ(At(k16At4, 0, 0), (V{10, 255, 0, 0, 255, 0}));
  EXPECT_EQ(At(k16At4, 1, 0), (V{12, 255, 255, 255, 255, 0}));
  EXPECT_EQ(At(k16At4, 2, 15), (V{15, 0, 0, 0, 255, 1}));
  EXPECT_EQ(Of(k16At4).colorCount, 16u);

  // Colour and alpha stay straight, also under transparent pixels.
  ASSERT_EQ(Capture(region, k16At32), 1);
  EXPECT_EQ(At(k16At32, 5, 5), (V{-1, 10, 20, 30, 0, 1}));
  EXPECT_EQ(At(k16At32, 0, 0), (V{-1, 255, 0, 0, 128, 0}));
  EXPECT_EQ(At(k16At32, 1, 2), (V{-1, 40, 50, 60, 1, 0}));
  EXPECT_TRUE(desktop.messages.empty());

  // Without transparency every pixel is visible and opaque, even a black one.
  ASSERT_EQ(Capture(Region(16, 16, 3, {0, 0, 0}), k16At32), 1);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(At(k16At32, i % 16, i / 16), (V{-1, 0, 0, 0, 255, 0}));
}

TEST_F(CaptureTest, CustomTableServesEightBitOnly) {
  Region region(16, 16, 4, {255, 255, 255, 255});
  region.Set(3, 4, {255, 0, 0, 255}).Set(5, 6, {9, 9, 9, 0});
  ColorTable custom = GreyRampTable();
  const CaptureTables tables{.useCustomTable = true, .customTable = &custom};

  ASSERT_EQ(Capture(region, k16At8, tables), 1);
  EXPECT_EQ(At(k16At8, 0, 0)[0], 255);
  EXPECT_EQ(At(k16At8, 3, 4), (V{85, 85, 85, 85, 255, 0}));  // the grey nearest to pure red
  EXPECT_EQ(At(k16At8, 5, 6)[0], 0);

  // Equally near entries: the lowest index wins, (2, 0, 0) over (0, 2, 0) for black, and for
  // white the first of many.
  custom.fill(255);
  custom[0] = custom[4] = 2;
  custom[1] = custom[2] = custom[3] = custom[5] = 0;
  ASSERT_EQ(Capture(region, k16At8, tables), 1);
  EXPECT_EQ((V{At(k16At8, 5, 6)[0], At(k16At8, 0, 0)[0]}), (V{0, 2}));

  // Switched on without a table, the default one serves; 4 bits always use 1015.
  ASSERT_EQ(Capture(region, k16At8, {true, nullptr}), 1);
  EXPECT_EQ(At(k16At8, 0, 0)[0], 0);
  ASSERT_EQ(Capture(region, k16At4, tables), 1);
  EXPECT_EQ((V{At(k16At4, 0, 0)[0], At(k16At4, 3, 4)[0]}), (V{12, 10}));
}

TEST_F(CaptureTest, EveryPixelTakesItsNearestTableColor) {
  // Many distinct colours against a scattered table with repeated entries.
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    return static_cast<std::uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
  };
  Region region(48, 48, 3, {0, 0, 0});
  for (std::uint8_t& byte : region.bytes) byte = next();
  ColorTable custom{}, table16{};
  for (std::size_t i = 0; i < custom.size(); ++i) custom[i] = i < 384 ? next() : custom[i - 384];
  ASSERT_TRUE(LoadDefaultColorTable(kColorTable16, table16));
  const GridSlot k48At8(3, 1, 0), k48At4(3, 0, 0);
  ASSERT_EQ(Capture(region, k48At8, {true, &custom}), 1);
  ASSERT_EQ(Capture(region, k48At4), 1);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      const std::uint8_t* p = region.bytes.data() + (y * 48 + x) * 3;
      ASSERT_EQ(At(k48At8, x, y)[0], NearestColorIndex(custom, 256, p[0], p[1], p[2]));
      ASSERT_EQ(At(k48At4, x, y)[0], NearestColorIndex(table16, 16, p[0], p[1], p[2]));
    }
  }
}

TEST_F(CaptureTest, MissingDefaultTableLeavesColorZeroButBuildsMask) {
  const Region region = Region(16, 16, 4, {255, 255, 255, 255}).Set(0, 0, {255, 255, 255, 0});
  ColorTable custom = GreyRampTable();
  {
    // Hidden: the custom table would have served, but the default must load.
    ResourceOverride hidden(kColorTableType, kColorTable256, std::nullopt);
    ASSERT_EQ(Capture(region, k16At8, {true, &custom}), 1);
  }
  {
    ResourceOverride shortened(kColorTableType, kColorTable16, std::vector<std::uint8_t>(767, 9));
    ASSERT_EQ(Capture(region, k16At4), 1);
  }
  ASSERT_EQ(desktop.messages.size(), 2u);
  for (const auto& m : desktop.messages) {
    EXPECT_EQ(std::tie(m.text, m.caption, m.icon, m.buttons),
              std::make_tuple("Cannot load default color table", "Pictaro",
                              MessageIcon::Exclamation, MessageButtons::Ok));
  }
  for (const GridSlot& slot : {k16At8, k16At4}) {
    ASSERT_TRUE(Of(slot).present);
    EXPECT_TRUE(
        std::all_of(Of(slot).header + 40, Of(slot).maskBits, [](auto b) { return b == 0; }));
    EXPECT_EQ((V{At(slot, 0, 0)[5], At(slot, 1, 0)[5]}), (V{1, 0}));
  }
}

TEST_F(CaptureTest, OnlyTheDeliveredSquareDecidesTheResource) {
  ASSERT_EQ(Capture(Region(16, 16, 4, {255, 0, 0, 255}), k16At32), 1);
  grid.resources[ResourceGrid::IndexOf(k16At32)].modified = 0;
  // Nothing delivered: no change at all.
  ASSERT_EQ(CaptureResource(LayerImage{}, k16At32, grid, {}, desktop), 0);
  EXPECT_EQ(std::make_tuple(Of(k16At32).present, Of(k16At32).modified), std::make_tuple(1, 0));

  // Visible pixels outside the 16 x 16 square do not count: emptied and marked.
  Region wide(40, 40, 4, {255, 0, 0, 0});
  wide.Set(11, 20, {255, 0, 0, 255}).Set(20, 28, {255, 0, 0, 255});
  ASSERT_EQ(Capture(wide, k16At32), 1);
  EXPECT_EQ(std::make_tuple(Of(k16At32).present, Of(k16At32).modified), std::make_tuple(0, 1));

  // 101 wide and high: the square starts at 50 - 8 = 42.
  Region odd(101, 101, 3, {1, 1, 1});
  odd.Set(42, 42, {200, 0, 0}).Set(57, 57, {0, 200, 0}).Set(41, 42, {0, 0, 200});
  ASSERT_EQ(Capture(odd, k16At32), 1);
  EXPECT_EQ(At(k16At32, 0, 0), (V{-1, 200, 0, 0, 255, 0}));
  EXPECT_EQ(At(k16At32, 15, 15), (V{-1, 0, 200, 0, 255, 0}));
  EXPECT_EQ(At(k16At32, 1, 0), (V{-1, 1, 1, 1, 255, 0}));

  // 10 x 6 for a 16 x 16 square: only columns 3 to 12 and rows 5 to 10 are read, the rest is
  // transparent black.
  const Region small(10, 6, 3, {7, 8, 9});
  ASSERT_EQ(Capture(small, k16At32), 1);
  EXPECT_EQ(At(k16At32, 3, 5), (V{-1, 7, 8, 9, 255, 0}));
  EXPECT_EQ(At(k16At32, 12, 10), (V{-1, 7, 8, 9, 255, 0}));
  for (auto [x, y] : {std::pair{2, 5}, {13, 10}, {3, 4}, {12, 11}, {0, 0}, {15, 15}}) {
    EXPECT_EQ(At(k16At32, x, y), (V{-1, 0, 0, 0, 0, 1})) << x << "," << y;
  }
  ASSERT_EQ(Capture(small, k16At8), 1);
  EXPECT_EQ(At(k16At8, 0, 0), (V{255, 0, 0, 0, 255, 1}));
  // A single pixel lands in the middle of a 24 x 24 square: x0 = y0 = 0 - 12.
  const GridSlot k24At32(1, 2, 1);
  ASSERT_EQ(Capture(Region(1, 1, 3, {7, 8, 9}), k24At32), 1);
  EXPECT_EQ(At(k24At32, 12, 12), (V{-1, 7, 8, 9, 255, 0}));
  EXPECT_EQ(At(k24At32, 11, 12)[5], 1);
}

}  // namespace
}  // namespace pictaro
