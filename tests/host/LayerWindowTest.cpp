#include "host/LayerWindow.h"

#include <gtest/gtest.h>

#include <vector>

#include "host/LayerAccess.h"
#include "substitute/SubstituteHost.h"
#include "support/FakePluginUi.h"

namespace pictaro {
namespace {

using testing::RecordingDesktop;

TEST(LayerWindowTest, PositionEntriesAndStandardLocations) {
  LayerWindow window;
  // Entries: 3 x size + (2 - depth); with the same position all depths use the 32-bit one.
  EXPECT_EQ(LayerWindow::PositionEntry(GridSlot(0, 0, 0), false), 2);
  EXPECT_EQ(LayerWindow::PositionEntry(GridSlot(3, 1, 0), false), 10);
  EXPECT_EQ(LayerWindow::PositionEntry(GridSlot(4, 2, 1), false), 12);
  EXPECT_EQ(LayerWindow::PositionEntry(GridSlot(4, 0, 0), false), -1);
  EXPECT_EQ(LayerWindow::PositionEntry(GridSlot(1, 3, 0), false), -1);
  EXPECT_EQ(LayerWindow::PositionEntry(GridSlot(7, 1, 0), false), 1);
  EXPECT_EQ(LayerWindow::PositionEntry(GridSlot(0, 1, 0), true), 0);
  EXPECT_EQ(LayerWindow::PositionEntry(GridSlot(2, 0, 0), true), 6);
  EXPECT_EQ(LayerWindow::PositionEntry(GridSlot(4, 0, 0), true), 12);

  window.gridPositions[2] = Rect{1, 2, 3, 4};
  window.ResetPositions();
  EXPECT_EQ(window.gridPositions[2], (Rect{256, 152, 272, 168}));
  EXPECT_EQ(window.gridPositions[12], (Rect{101, 230, 357, 486}));
  EXPECT_EQ(window.gridPositions[4], (Rect{215, 87, 239, 111}));

  // The view is centred on the position and reaches beyond the layer's corner.
  EXPECT_EQ(window.ViewRect(GridSlot(3, 2, 1)), (Rect{-3, -82, 253, 174}));
  EXPECT_EQ(window.ViewRect(GridSlot(4, 2, 1)), (Rect{101, 230, 357, 486}));
  EXPECT_EQ(window.ViewRect(GridSlot(0, 0, 0)), (Rect{136, 32, 392, 288}));
}

TEST(LayerWindowTest, BuildSlotListsForPlainShiftAndCtrl) {
  const auto sizes = [](const std::vector<GridSlot>& slots) {
    std::vector<std::uint32_t> v;
    for (const GridSlot& s : slots) v.push_back(s.sizeIndex * 10 + s.depthIndex);
    return v;
  };
  const std::vector<GridSlot> all = BuildSlots(GridSlot(), false, false);
  EXPECT_EQ(sizes(all),
            (std::vector<std::uint32_t>{0, 1, 2, 10, 11, 12, 20, 21, 22, 30, 31, 32, 42}));
  for (const GridSlot& s : all) {
    EXPECT_EQ(s.maskIndex, s.depthIndex == 2 ? 1u : 0u);
    EXPECT_EQ(s.viewMode, 0u);
  }
  EXPECT_EQ(sizes(BuildSlots(GridSlot(4, 2, 1, 2), true, false)), (std::vector<std::uint32_t>{42}));
  EXPECT_EQ(sizes(BuildSlots(GridSlot(1, 0, 0), true, true)),
            (std::vector<std::uint32_t>{10, 11, 12}));
  EXPECT_EQ(sizes(BuildSlots(GridSlot(2, 1, 0), false, true)),
            (std::vector<std::uint32_t>{1, 11, 21, 31}));
  EXPECT_EQ(sizes(BuildSlots(GridSlot(2, 2, 1), false, true)),
            (std::vector<std::uint32_t>{2, 12, 22, 32, 42}));
}

// A 300 x 200 layer whose pixel (x, y) is (x, y, x + y) and opaque.
Layer Gradient() {
  Layer layer{300, 200, 4, {}};
  layer.pixels.resize(300 * 200 * 4);
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 300; ++x) {
      std::uint8_t* p = layer.At(x, y);
      p[0] = static_cast<std::uint8_t>(x);
      p[1] = static_cast<std::uint8_t>(y);
      p[2] = static_cast<std::uint8_t>(x + y);
      p[3] = 255;
    }
  }
  return layer;
}

TEST(LayerWindowTest, MoveViewFollowsTheSamePositionRuleAndTheLock) {
  SubstituteHost host(Gradient());
  RecordingDesktop desktop;
  LayerWindow window;
  const GridSlot slot(0, 1, 0);  // 16 x 16, 8-bit
  host.RunInside([&](HostContext& context) {
    window.Relayout(context, slot, desktop);
    window.MoveView(context, slot, 5, -7);  // locked: nothing moves
    EXPECT_EQ(window.gridPositions[1], (Rect{256, 87, 272, 103}));

    window.locked = false;
    window.samePosition = true;
    window.MoveView(context, slot, 5, -7);
    EXPECT_EQ(context.record->inRect, (Rect{141, -40, 397, 216}));
    // The 32-bit entry moved, and the 4- and 8-bit selections now show its square.
    EXPECT_EQ(window.gridPositions[0], (Rect{261, 80, 277, 96}));
    EXPECT_EQ(window.gridPositions[1], (Rect{256, 87, 272, 103}));
    EXPECT_EQ(window.ViewRect(GridSlot(0, 0, 0)), window.ViewRect(GridSlot(0, 2, 1)));
  });
  EXPECT_TRUE(desktop.messages.empty());
}

TEST(LayerWindowTest, BuildCapturesEverySlotFromItsOwnPositionAndRestoresTheSelection) {
  SubstituteHost host(Gradient());
  RecordingDesktop desktop;
  LayerWindow window;
  // Positions inside the 300 x 200 layer for the 32-bit 16, 24 and 32 px slots.
  window.gridPositions[0] = Rect{10, 20, 26, 36};
  window.gridPositions[3] = Rect{40, 50, 64, 74};
  window.gridPositions[6] = Rect{100, 200, 132, 232};
  ResourceGrid grid;
  GridSlot current(3, 0, 0, 2);
  host.RunInside([&](HostContext& context) {
    window.Build(context, current, BuildSlots(GridSlot(1, 2, 1), false, true), grid, desktop);
  });
  EXPECT_EQ(current, GridSlot(3, 0, 0, 2));
  for (const auto& [index, left, top] : {std::tuple{12, 20, 10}, {11, 50, 40}, {10, 200, 100}}) {
    const IconResource& r = grid.resources[index];
    ASSERT_TRUE(r.present) << index;
    // Bottom row first: the last row stored is the position's top row.
    const std::uint8_t* topLeft = r.colorBits + (r.height - 1) * r.width * 4;
    EXPECT_EQ(topLeft[2], left) << index;
    EXPECT_EQ(topLeft[1], top) << index;
  }
  // The 48 px position lies partly outside the layer, where the host pads with transparency:
  // what lies inside is still taken.
  EXPECT_TRUE(grid.resources[9].present);
  EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace pictaro
