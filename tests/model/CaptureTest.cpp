#include "model/Capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "resources/ResourceRegistry.h"
#include "support/FakePluginUi.h"
#include "support/ReferenceText.h"

namespace pictaro {
namespace {

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
  int width, height, planes;
  std::vector<std::uint8_t> bytes;
};

const GridSlot k16At4(0, 0, 0), k16At8(0, 1, 0), k16At32(0, 2, 1);

struct CaptureTest : ::testing::Test {
  // Captures the region, placed anywhere on the layer (only the rectangle's size matters), and
  // reads back the resource's pixels at `points` as PixelText gives them.
  std::string Capture(const Region& region, const GridSlot& slot,
                      std::vector<std::pair<int, int>> points, const CaptureTables& tables = {}) {
    const Rect rect{10, 20, int16(10 + region.height), int16(20 + region.width)};
    const LayerImage image{rect, region.bytes.data(), region.width * region.planes, region.planes};
    if (CaptureResource(image, slot, grid, tables, desktop) != 1) return "not captured";
    return Of(slot).present ? testing::PixelText(Of(slot), points) : "empty";
  }
  const IconResource& Of(const GridSlot& slot) {
    return grid.resources[ResourceGrid::IndexOf(slot)];
  }
  ResourceGrid grid;
  testing::RecordingDesktop desktop;
};

TEST_F(CaptureTest, EachDepthTakesItsTableAlphaAndMask) {
  Region region(16, 16, 4, {10, 20, 30, 0});
  region.Set(0, 0, {255, 0, 0, 128}).Set(1, 0, {255, 255, 255, 255});
  region.Set(2, 15, {255, 255, 255, 0}).Set(1, 2, {40, 50, 60, 1});
  const std::vector<std::pair<int, int>> points = {{0, 0}, {1, 0}, {2, 15}, {1, 2}};
  // The slot's table travels along; transparent pixels are black underneath, alpha 1 is opaque.
  EXPECT_EQ(Capture(region, k16At8, points),
            "35:ff0000ff0 0:ffffffff0 255:000000ff1 172:333333ff0");
  EXPECT_EQ(Capture(region, k16At4, points), "10:ff0000ff0 12:ffffffff0 15:000000ff1 15:000000ff0");
  // Colour and alpha stay straight, also under transparent pixels.
  EXPECT_EQ(Capture(region, k16At32, {{5, 5}, {0, 0}, {1, 2}}), "0a141e001 ff0000800 28323c010");
  EXPECT_TRUE(desktop.messages.empty());

  // Without transparency every pixel is visible and opaque, even a black one.
  EXPECT_EQ(
      Capture(Region(16, 16, 3, {0, 0, 0}), k16At32, {{0, 0}, {15, 0}, {7, 8}, {0, 15}, {15, 15}}),
      "000000ff0 000000ff0 000000ff0 000000ff0 000000ff0");
}

TEST_F(CaptureTest, TablesByDepthAndEveryPixelItsNearestColor) {
  Region region(16, 16, 4, {255, 255, 255, 255});
  region.Set(3, 4, {255, 0, 0, 255}).Set(5, 6, {9, 9, 9, 0});
  ColorTable custom = GreyRampTable();
  const CaptureTables tables{.useCustomTable = true, .customTable = &custom};
  // Pure red takes the nearest grey; the transparent pixel the table's black.
  EXPECT_EQ(Capture(region, k16At8, {{0, 0}, {3, 4}, {5, 6}}, tables),
            "255:ffffffff0 85:555555ff0 0:000000ff1");
  // Equally near entries: the lowest index wins, (2, 0, 0) over (0, 2, 0) for black, and for
  // white the first of many.
  custom.fill(255);
  custom[0] = custom[4] = 2;
  custom[1] = custom[2] = custom[3] = custom[5] = 0;
  EXPECT_EQ(Capture(region, k16At8, {{5, 6}, {0, 0}}, tables), "0:020000ff1 2:ffffffff0");
  // Switched on without a table, the default one serves; 4 bits always use 1015.
  EXPECT_EQ(Capture(region, k16At8, {{0, 0}}, {true, nullptr}), "0:ffffffff0");
  EXPECT_EQ(Capture(region, k16At4, {{0, 0}, {3, 4}}, tables), "12:ffffffff0 10:ff0000ff0");

  // A default table that does not load leaves colour index 0 but builds the mask. Hidden: the
  // custom table would have served, but the default must load.
  {
    ResourceOverride hidden(kColorTableType, kColorTable256, std::nullopt);
    ResourceOverride shortened(kColorTableType, kColorTable16, std::vector<std::uint8_t>(767, 9));
    EXPECT_EQ(Capture(region, k16At8, {{0, 0}, {5, 6}}, tables), "0:000000ff0 0:000000ff1");
    EXPECT_EQ(Capture(region, k16At4, {{0, 0}, {5, 6}}), "0:000000ff0 0:000000ff1");
  }
  EXPECT_EQ(desktop.messages,
            std::vector<testing::ShownMessage>(2, {"Cannot load default color table", "Pictaro",
                                                   MessageIcon::Exclamation, MessageButtons::Ok}));
  for (const GridSlot& slot : {k16At8, k16At4})
    EXPECT_TRUE(std::all_of(Of(slot).header + 40, Of(slot).maskBits, [](auto b) { return !b; }));

  // Every pixel takes its nearest table colour: many distinct colours against a scattered table
  // with repeated entries.
  std::uint32_t seed = 12345;
  auto next = [&seed] { return std::uint8_t((seed = seed * 1103515245 + 12345) >> 16); };
  Region many(48, 48, 3, {0, 0, 0});
  for (std::uint8_t& byte : many.bytes) byte = next();
  for (std::size_t i = 0; i < custom.size(); ++i) custom[i] = i < 384 ? next() : custom[i - 384];
  const GridSlot slot(3, 1, 0);
  ASSERT_EQ(Capture(many, slot, {}, tables), "");
  for (int i = 0; i < 48 * 48; ++i) {
    const std::uint8_t* p = &many.bytes[3 * i];
    ASSERT_EQ(Of(slot).colorBits[(47 - i / 48) * 48 + i % 48],
              NearestColorIndex(custom, 256, p[0], p[1], p[2]))
        << i;
  }
}

TEST_F(CaptureTest, OnlyTheDeliveredSquareDecidesTheResource) {
  EXPECT_EQ(Capture(Region(16, 16, 4, {255, 0, 0, 255}), k16At32, {{0, 0}}), "ff0000ff0");
  grid.resources[ResourceGrid::IndexOf(k16At32)].modified = 0;
  // Nothing delivered: no change at all.
  ASSERT_EQ(CaptureResource(LayerImage{}, k16At32, grid, {}, desktop), 0);
  EXPECT_EQ(std::make_tuple(Of(k16At32).present, Of(k16At32).modified), std::make_tuple(1, 0));
  // Visible pixels outside the 16 x 16 square do not count: emptied and marked.
  Region wide(40, 40, 4, {255, 0, 0, 0});
  wide.Set(11, 20, {255, 0, 0, 255}).Set(20, 28, {255, 0, 0, 255});
  EXPECT_EQ(Capture(wide, k16At32, {}), "empty");
  EXPECT_EQ(Of(k16At32).modified, 1);

  // 101 wide and high: the square starts at 50 - 8 = 42.
  Region odd(101, 101, 3, {1, 1, 1});
  odd.Set(42, 42, {200, 0, 0}).Set(57, 57, {0, 200, 0}).Set(41, 42, {0, 0, 200});
  EXPECT_EQ(Capture(odd, k16At32, {{0, 0}, {15, 15}, {1, 0}}), "c80000ff0 00c800ff0 010101ff0");
  // 10 x 6 for a 16 x 16 square: only columns 3 to 12 and rows 5 to 10 are read, the rest is
  // transparent black.
  const Region small(10, 6, 3, {7, 8, 9});
  EXPECT_EQ(Capture(small, k16At32, {{3, 5}, {12, 10}, {2, 5}, {13, 10}, {3, 4}, {12, 11}, {0, 0}}),
            "070809ff0 070809ff0 000000001 000000001 000000001 000000001 000000001");
  EXPECT_EQ(Capture(small, k16At8, {{0, 0}}), "255:000000ff1");
  // A single pixel lands in the middle of a 24 x 24 square: x0 = y0 = 0 - 12.
  EXPECT_EQ(Capture(Region(1, 1, 3, {7, 8, 9}), GridSlot(1, 2, 1), {{12, 12}, {11, 12}}),
            "070809ff0 000000001");
}

}  // namespace
}  // namespace pictaro
