#include "host/LayerWindow.h"

#include <gtest/gtest.h>

#include <vector>

#include "host/LayerAccess.h"
#include "substitute/SubstituteHost.h"
#include "support/FakePluginUi.h"

namespace pictaro {
namespace {

TEST(LayerWindowTest, PositionEntriesStandardLocationsAndViews) {
  // size, depth, same position, entry: 3 x size + (2 - depth), with the same position the
  // 32-bit one's; -1 for a slot without a position.
  const int entries[][4] = {{0, 0, 0, 2},  {3, 1, 0, 10}, {4, 2, 0, 12},
                            {4, 0, 0, -1}, {1, 3, 0, -1}, {7, 1, 0, 1},
                            {0, 1, 1, 0},  {2, 0, 1, 6},  {4, 0, 1, 12}};
  for (const auto& [size, depth, same, entry] : entries) {
    EXPECT_EQ(LayerWindow::PositionEntry(GridSlot(size, depth, 0), same), entry) << size << depth;
  }
  LayerWindow window;
  window.gridPositions[2] = Rect{1, 2, 3, 4};
  window.ResetPositions();
  EXPECT_EQ((std::vector<Rect>{window.gridPositions[2], window.gridPositions[4],
                               window.gridPositions[12]}),
            (std::vector<Rect>{{256, 152, 272, 168}, {215, 87, 239, 111}, {101, 230, 357, 486}}));
  // The view is centred on the position and reaches beyond the layer's corner.
  EXPECT_EQ(
      (std::vector<Rect>{window.ViewRect(GridSlot(3, 2, 1)), window.ViewRect(GridSlot(4, 2, 1)),
                         window.ViewRect(GridSlot(0, 0, 0))}),
      (std::vector<Rect>{{-3, -82, 253, 174}, {101, 230, 357, 486}, {136, 32, 392, 288}}));
}

TEST(LayerWindowTest, BuildSlotListsForPlainShiftAndCtrl) {
  // The current slot, Shift, Ctrl, then the slots as 10 x size + depth.
  const std::pair<std::tuple<GridSlot, bool, bool>, std::vector<std::uint32_t>> lists[] = {
      {{GridSlot(), false, false}, {0, 1, 2, 10, 11, 12, 20, 21, 22, 30, 31, 32, 42}},
      {{GridSlot(4, 2, 1, 2), true, false}, {42}},
      {{GridSlot(1, 0, 0), true, true}, {10, 11, 12}},
      {{GridSlot(2, 1, 0), false, true}, {1, 11, 21, 31}},
      {{GridSlot(2, 2, 1), false, true}, {2, 12, 22, 32, 42}},
  };
  for (const auto& [call, want] : lists) {
    std::vector<std::uint32_t> got;
    for (const GridSlot& s : std::apply(BuildSlots, call)) {
      got.push_back(s.sizeIndex * 10 + s.depthIndex);
      // 32-bit slots with their 8-bit mask, all in the default view.
      EXPECT_EQ(GridSlot(s.sizeIndex, s.depthIndex, s.depthIndex == 2 ? 1 : 0, 0), s);
    }
    EXPECT_EQ(got, want);
  }
}

TEST(LayerWindowTest, MovingTheViewMovesThePositionUnlessLocked) {
  SubstituteHost host(Layer{300, 200, 4, std::vector<std::uint8_t>(300 * 200 * 4)});
  testing::RecordingDesktop desktop;
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
  });
  // The 32-bit entry moved, and the 4- and 8-bit selections now show its square.
  EXPECT_EQ((std::vector<Rect>{window.gridPositions[0], window.gridPositions[1]}),
            (std::vector<Rect>{{261, 80, 277, 96}, {256, 87, 272, 103}}));
  EXPECT_EQ(window.ViewRect(GridSlot(0, 0, 0)), window.ViewRect(GridSlot(0, 2, 1)));
  EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace pictaro
