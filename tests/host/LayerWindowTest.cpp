#include "host/LayerWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "host/LayerAccess.h"
#include "hostengine/HostEngine.h"
#include "support/FakePluginUi.h"
#include "support/ReferenceText.h"
#include "support/SampleLayer.h"

namespace pictaro {
namespace {

TEST(LayerWindowTest, PositionEntriesStandardLocationsAndViews) {
  // A moved position goes back to its standard location as well.
  LayerWindow window;
  window.gridPositions[2] = Rect{1, 2, 3, 4};
  window.ResetPositions();
  for (const auto& [n, what] : testing::NumberRows("host/position-entries.txt")) {
    const int entry = LayerWindow::PositionEntry(GridSlot(n[0], n[1], n[2]), n[3]);
    const Rect p = entry < 0 ? Rect{} : window.gridPositions[entry];
    window.samePosition = n[3];
    const Rect v = window.ViewRect(GridSlot(n[0], n[1], n[2]));
    EXPECT_EQ((std::vector<long long>{n[0], n[1], n[2], n[3], entry, p.top, p.left, p.bottom,
                                      p.right, v.top, v.left, v.bottom, v.right}),
              n);
  }
}

TEST(LayerWindowTest, BuildSlotListsForPlainShiftAndCtrl) {
  for (const auto& [n, what] : testing::NumberRows("host/build-slots.txt")) {
    std::vector<long long> got(n.begin(), n.begin() + 6);
    for (const GridSlot& s : BuildSlots(GridSlot(n[0], n[1], n[2], n[3]), n[4], n[5])) {
      got.push_back(s.sizeIndex * 10 + s.depthIndex);
      EXPECT_EQ(GridSlot(s.sizeIndex, s.depthIndex, s.depthIndex == 2 ? 1 : 0, 0), s);
    }
    EXPECT_EQ(got, n) << what;
  }
}

TEST(LayerWindowTest, MovingTheViewMovesThePositionUnlessLocked) {
  HostEngine host(Layer{300, 200, 4, std::vector<std::uint8_t>(300 * 200 * 4)});
  testing::RecordingDesktop desktop;
  LayerWindow window;
  const GridSlot slot(0, 1, 0);  // 16 x 16, 8-bit
  host.RunInside([&](HostContext& context) {
    window.Relayout(context, slot, desktop);
    window.MoveView(context, slot, 5, -7);  // locked: nothing moves (as checked below)
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

TEST(LayerWindowTest, BuildOnALargeLayerReadsTheViewsAlone) {
  // The host's own 30000 x 30000 layer: every request, the automatic table's scans included, and
  // every read of the layer lies in the view of one of the positions; nothing is written.
  testing::PatternedPixels layer(30000, 30000, 4);
  HostEngine host(layer);
  testing::RecordingDesktop desktop;
  LayerWindow window;
  window.useCustomTable = window.autoTable = true;
  ResourceGrid grid;
  const std::vector<GridSlot> slots = BuildSlots(GridSlot(), false, false);
  host.RunInside([&](HostContext& context) {
    GridSlot current;
    window.Build(context, current, slots, grid, desktop);
  });
  const auto inView = [&](const Rect& rect) {
    return rect.Empty() || std::any_of(slots.begin(), slots.end(), [&](const GridSlot& slot) {
             return Intersection(rect, window.ViewRect(slot)) == rect;
           });
  };
  for (const HostRequest& q : host.Requests()) EXPECT_TRUE(inView(q.inRect) && inView(q.outRect));
  EXPECT_TRUE(std::all_of(layer.reads.begin(), layer.reads.end(), inView));
  EXPECT_TRUE(layer.writes.empty());
  EXPECT_EQ(grid.CountPresent(), 13);
}

}  // namespace
}  // namespace pictaro
