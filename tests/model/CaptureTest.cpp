#include "model/Capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "model/ResourcePixels.h"
#include "resources/ResourceRegistry.h"
#include "support/FakePluginUi.h"

namespace pictaro {
namespace {

using testing::RecordingDesktop;

// A delivered layer region of our own bytes: red, green, blue and, with 4 planes, transparency.
struct Region {
  Region(int width, int height, int planes, std::vector<std::uint8_t> fill)
      : width(width), height(height), planes(planes) {
    for (int i = 0; i < width * height; ++i) bytes.insert(bytes.end(), fill.begin(), fill.end());
  }
  void Set(int x, int y, std::vector<std::uint8_t> pixel) {
    std::copy(pixel.begin(), pixel.end(), bytes.begin() + (y * width + x) * planes);
  }
  // Placed anywhere on the layer: only the rectangle's size matters.
  LayerImage Image() const {
    const Rect rect{10, 20, static_cast<int16>(10 + height), static_cast<int16>(20 + width)};
    return {rect, bytes.data(), width * planes, planes};
  }
  int width, height, planes;
  std::vector<std::uint8_t> bytes;
};

const GridSlot k16Bits4(0, 0, 0);
const GridSlot k16Bits8(0, 1, 0);
const GridSlot k16Bits32(0, 2, 1);

// The colour index of pixel (x, y), y from the top, of a 4- or 8-bit resource.
int IndexAt(ResourceGrid& grid, const GridSlot& slot, int x, int y) {
  ResourceBuffers b;
  grid.GetBuffers(slot, b);
  const std::uint8_t* row = b.colorBits + (slot.PixelSize() - 1 - y) * b.colorRowBytes;
  return slot.BitsPerPixel() == 8 ? row[x] : (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F;
}

const IconResource& ResourceOf(const ResourceGrid& grid, const GridSlot& slot) {
  return grid.resources[ResourceGrid::IndexOf(slot)];
}

int Capture(const Region& region, const GridSlot& slot, ResourceGrid& grid,
            RecordingDesktop& desktop, const CaptureTables& tables = {}) {
  return CaptureResource(region.Image(), slot, grid, tables, desktop);
}

TEST(CaptureTest, ReducesToTheSlotsTableWithTransparentPixelsBlack) {
  Region region(16, 16, 4, {0, 0, 0, 0});
  region.Set(0, 0, {255, 0, 0, 128});  // half-transparent red
  region.Set(1, 0, {255, 255, 255, 255});
  region.Set(2, 15, {255, 255, 255, 0});  // transparent white: black underneath
  ResourceGrid grid;
  RecordingDesktop desktop;

  ASSERT_EQ(Capture(region, k16Bits8, grid, desktop), 1);
  EXPECT_EQ(IndexAt(grid, k16Bits8, 0, 0), 35);
  EXPECT_FALSE(PixelAt(ResourceOf(grid, k16Bits8), 0, 0).masked);
  EXPECT_EQ(IndexAt(grid, k16Bits8, 1, 0), 0);
  EXPECT_EQ(IndexAt(grid, k16Bits8, 2, 15), 255);
  EXPECT_TRUE(PixelAt(ResourceOf(grid, k16Bits8), 2, 15).masked);
  EXPECT_EQ(PixelAt(ResourceOf(grid, k16Bits8), 0, 0).red, 255);  // the table travels along

  ASSERT_EQ(Capture(region, k16Bits4, grid, desktop), 1);
  EXPECT_EQ(IndexAt(grid, k16Bits4, 0, 0), 10);
  EXPECT_EQ(IndexAt(grid, k16Bits4, 1, 0), 12);
  EXPECT_EQ(IndexAt(grid, k16Bits4, 2, 15), 15);
  EXPECT_TRUE(PixelAt(ResourceOf(grid, k16Bits4), 2, 15).masked);
  EXPECT_FALSE(PixelAt(ResourceOf(grid, k16Bits4), 1, 0).masked);
  EXPECT_EQ(ResourceOf(grid, k16Bits4).colorCount, 16u);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST(CaptureTest, CustomTableServesEightBitOnly) {
  Region region(16, 16, 4, {255, 255, 255, 255});
  region.Set(3, 4, {255, 0, 0, 255});
  region.Set(5, 6, {9, 9, 9, 0});
  ColorTable custom = GreyRampTable();
  const CaptureTables tables{.useCustomTable = true, .customTable = &custom};
  ResourceGrid grid;
  RecordingDesktop desktop;

  ASSERT_EQ(Capture(region, k16Bits8, grid, desktop, tables), 1);
  EXPECT_EQ(IndexAt(grid, k16Bits8, 0, 0), 255);
  EXPECT_EQ(IndexAt(grid, k16Bits8, 3, 4), 85);  // the grey nearest to pure red
  EXPECT_EQ(IndexAt(grid, k16Bits8, 5, 6), 0);
  EXPECT_EQ(PixelAt(ResourceOf(grid, k16Bits8), 3, 4).green, 85);

  // Equally near entries: the lowest index wins, for black (2, 0, 0) over (0, 2, 0) and for
  // white the first of many.
  custom.fill(255);
  custom[0] = custom[4] = 2;
  custom[1] = custom[2] = custom[3] = custom[5] = 0;
  ASSERT_EQ(Capture(region, k16Bits8, grid, desktop, tables), 1);
  EXPECT_EQ(IndexAt(grid, k16Bits8, 5, 6), 0);
  EXPECT_EQ(IndexAt(grid, k16Bits8, 0, 0), 2);

  // Switched on without a table, the default one serves.
  ASSERT_EQ(Capture(region, k16Bits8, grid, desktop, {true, nullptr}), 1);
  EXPECT_EQ(IndexAt(grid, k16Bits8, 0, 0), 0);

  ASSERT_EQ(Capture(region, k16Bits4, grid, desktop, tables), 1);
  EXPECT_EQ(IndexAt(grid, k16Bits4, 0, 0), 12);
  EXPECT_EQ(IndexAt(grid, k16Bits4, 3, 4), 10);
}

TEST(CaptureTest, EveryPixelTakesItsNearestTableColor) {
  // Many distinct colours against a scattered table with repeated entries.
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    return static_cast<std::uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
  };
  Region region(48, 48, 3, {0, 0, 0});
  for (std::uint8_t& byte : region.bytes) byte = next();
  ColorTable custom{};
  for (std::size_t i = 0; i < custom.size(); ++i) custom[i] = i < 384 ? next() : custom[i - 384];
  ResourceGrid grid;
  RecordingDesktop desktop;
  ColorTable table16{};
  ASSERT_TRUE(LoadDefaultColorTable(kColorTable16, table16));

  const GridSlot k48Bits8(3, 1, 0);
  const GridSlot k48Bits4(3, 0, 0);
  ASSERT_EQ(Capture(region, k48Bits8, grid, desktop, {true, &custom}), 1);
  ASSERT_EQ(Capture(region, k48Bits4, grid, desktop), 1);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      const std::uint8_t* p = region.bytes.data() + (y * 48 + x) * 3;
      ASSERT_EQ(IndexAt(grid, k48Bits8, x, y), NearestColorIndex(custom, 256, p[0], p[1], p[2]));
      ASSERT_EQ(IndexAt(grid, k48Bits4, x, y), NearestColorIndex(table16, 16, p[0], p[1], p[2]));
    }
  }
}

TEST(CaptureTest, TrueColorKeepsColorAndAlphaStraight) {
  Region region(16, 16, 4, {10, 20, 30, 0});
  region.Set(1, 2, {40, 50, 60, 1});
  ResourceGrid grid;
  RecordingDesktop desktop;

  ASSERT_EQ(Capture(region, k16Bits32, grid, desktop), 1);
  const ResourcePixel hidden = PixelAt(ResourceOf(grid, k16Bits32), 0, 0);
  EXPECT_EQ(hidden.red, 10);
  EXPECT_EQ(hidden.green, 20);
  EXPECT_EQ(hidden.blue, 30);
  EXPECT_EQ(hidden.alpha, 0);
  EXPECT_TRUE(hidden.masked);
  const ResourcePixel faint = PixelAt(ResourceOf(grid, k16Bits32), 1, 2);
  EXPECT_EQ(faint.red, 40);
  EXPECT_EQ(faint.alpha, 1);
  EXPECT_FALSE(faint.masked);

  // Without transparency every pixel is visible and opaque, even a black one.
  const Region opaque(16, 16, 3, {0, 0, 0});
  ASSERT_EQ(Capture(opaque, k16Bits32, grid, desktop), 1);
  ASSERT_TRUE(ResourceOf(grid, k16Bits32).present);
  for (std::uint32_t y = 0; y < 16; ++y) {
    for (std::uint32_t x = 0; x < 16; ++x) {
      EXPECT_EQ(PixelAt(ResourceOf(grid, k16Bits32), x, y).alpha, 255);
      EXPECT_FALSE(PixelAt(ResourceOf(grid, k16Bits32), x, y).masked);
    }
  }
}

TEST(CaptureTest, MissingDefaultTableLeavesColorZeroButBuildsMask) {
  Region region(16, 16, 4, {255, 255, 255, 255});
  region.Set(0, 0, {255, 255, 255, 0});
  ColorTable custom = GreyRampTable();
  ResourceGrid grid;
  RecordingDesktop desktop;
  {
    // Hidden: the custom table would have served, but the default must load.
    ResourceOverride hidden(kColorTableType, kColorTable256, std::nullopt);
    ASSERT_EQ(Capture(region, k16Bits8, grid, desktop, {true, &custom}), 1);
  }
  {
    ResourceOverride shortened(kColorTableType, kColorTable16, std::vector<std::uint8_t>(767, 9));
    ASSERT_EQ(Capture(region, k16Bits4, grid, desktop), 1);
  }
  ASSERT_EQ(desktop.messages.size(), 2u);
  for (const auto& message : desktop.messages) {
    EXPECT_EQ(message.text, "Cannot load default color table");
    EXPECT_EQ(message.caption, "Pictaro");
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
  }
  for (const GridSlot& slot : {k16Bits8, k16Bits4}) {
    const IconResource& resource = ResourceOf(grid, slot);
    ASSERT_TRUE(resource.present);
    EXPECT_TRUE(
        std::all_of(resource.header + 40, resource.maskBits, [](auto b) { return b == 0; }));
    EXPECT_TRUE(PixelAt(resource, 0, 0).masked);
    EXPECT_FALSE(PixelAt(resource, 1, 0).masked);
  }
}

TEST(CaptureTest, WhatTheSquareShowsDecidesTheResource) {
  Region region(16, 16, 4, {255, 0, 0, 255});
  ResourceGrid grid;
  RecordingDesktop desktop;
  ASSERT_EQ(Capture(region, k16Bits32, grid, desktop), 1);
  grid.resources[ResourceGrid::IndexOf(k16Bits32)].modified = 0;

  // Nothing delivered: no change at all.
  ASSERT_EQ(CaptureResource(LayerImage{}, k16Bits32, grid, {}, desktop), 0);
  EXPECT_TRUE(ResourceOf(grid, k16Bits32).present);
  EXPECT_EQ(ResourceOf(grid, k16Bits32).modified, 0);

  // Visible pixels outside the 16 x 16 square do not count.
  Region wide(40, 40, 4, {255, 0, 0, 0});
  wide.Set(11, 20, {255, 0, 0, 255});
  wide.Set(20, 28, {255, 0, 0, 255});
  ASSERT_EQ(Capture(wide, k16Bits32, grid, desktop), 1);
  EXPECT_FALSE(ResourceOf(grid, k16Bits32).present);
  EXPECT_EQ(ResourceOf(grid, k16Bits32).modified, 1);
}

TEST(CaptureTest, SquareIsCentredInTheDeliveredRectangle) {
  // 101 wide and high: x0 = y0 = 50 - 8 = 42.
  Region region(101, 101, 3, {1, 1, 1});
  region.Set(42, 42, {200, 0, 0});
  region.Set(57, 57, {0, 200, 0});
  region.Set(41, 42, {0, 0, 200});
  ResourceGrid grid;
  RecordingDesktop desktop;
  ASSERT_EQ(Capture(region, k16Bits32, grid, desktop), 1);
  EXPECT_EQ(PixelAt(ResourceOf(grid, k16Bits32), 0, 0).red, 200);
  EXPECT_EQ(PixelAt(ResourceOf(grid, k16Bits32), 15, 15).green, 200);
  EXPECT_EQ(PixelAt(ResourceOf(grid, k16Bits32), 1, 0).red, 1);
}

TEST(CaptureTest, SmallerRectangleIsReadOnlyWhereItLies) {
  // 10 x 6 for a 16 x 16 square: columns 3 to 12 and rows 5 to 10 of the square lie inside.
  const Region region(10, 6, 3, {7, 8, 9});
  ResourceGrid grid;
  RecordingDesktop desktop;
  ASSERT_EQ(Capture(region, k16Bits32, grid, desktop), 1);
  const IconResource& resource = ResourceOf(grid, k16Bits32);
  EXPECT_EQ(PixelAt(resource, 3, 5).red, 7);
  EXPECT_EQ(PixelAt(resource, 12, 10).alpha, 255);
  EXPECT_FALSE(PixelAt(resource, 12, 10).masked);
  for (auto [x, y] : {std::pair{2, 5}, {13, 10}, {3, 4}, {12, 11}, {0, 0}, {15, 15}}) {
    EXPECT_TRUE(PixelAt(resource, x, y).masked) << x << "," << y;
    EXPECT_EQ(PixelAt(resource, x, y).alpha, 0);
    EXPECT_EQ(PixelAt(resource, x, y).red, 0);
  }
  ASSERT_EQ(Capture(region, k16Bits8, grid, desktop), 1);
  EXPECT_EQ(IndexAt(grid, k16Bits8, 0, 0), 255);
  EXPECT_TRUE(PixelAt(ResourceOf(grid, k16Bits8), 0, 0).masked);

  // A single pixel lands in the middle of a 24 x 24 square: x0 = y0 = 0 - 12.
  const Region dot(1, 1, 3, {7, 8, 9});
  const GridSlot k24Bits32(1, 2, 1);
  ASSERT_EQ(Capture(dot, k24Bits32, grid, desktop), 1);
  EXPECT_EQ(PixelAt(ResourceOf(grid, k24Bits32), 12, 12).blue, 9);
  EXPECT_FALSE(PixelAt(ResourceOf(grid, k24Bits32), 12, 12).masked);
  EXPECT_TRUE(PixelAt(ResourceOf(grid, k24Bits32), 11, 12).masked);
}

}  // namespace
}  // namespace pictaro
