// The sample layer built into an icon as the Build button does, every resource compared with the
// artwork under its position. (The bytes of the files it makes are the command line's to check.)
#include <gtest/gtest.h>

#include <array>

#include "host/LayerWindow.h"
#include "hostengine/HostEngine.h"
#include "model/ColorTable.h"
#include "model/ResourcePixels.h"
#include "support/FakePluginUi.h"
#include "support/IcoFixtures.h"
#include "support/SampleLayer.h"

namespace pictaro {
namespace {

using namespace testing;

TEST(SampleBuildTest, TheSampleBuildsIntoAnIconThatShowsItsArtwork) {
  const Layer layer = SampleLayer();
  for (const bool automatic : {false, true}) {
    SCOPED_TRACE(automatic ? "automatic table" : "default table");
    HostEngine host(layer);
    RecordingDesktop desktop;
    LayerWindow window;
    window.useCustomTable = window.autoTable = automatic;
    ResourceGrid built;
    GridSlot current(1, 0, 0, 2);
    host.RunInside([&](HostContext& context) {
      window.Build(context, current, BuildSlots(current, false, false), built, desktop);
    });
    EXPECT_EQ(current, GridSlot(1, 0, 0, 2));  // the selection as before
    EXPECT_TRUE(desktop.messages.empty());

    // 32-bit images exactly, with their alpha; 4- and 8-bit ones as the nearest table colour,
    // black where transparent.
    for (int index = 0; index < ResourceGrid::kResourceCount; ++index) {
      const IconResource& r = built.resources[index];
      ASSERT_TRUE(r.present && r.width == SlotOf(index).PixelSize()) << index;
      const Rect& p = window.gridPositions[LayerWindow::PositionEntry(SlotOf(index), false)];
      const int entries = r.depth == 4 ? 16 : 256;
      ColorTable table{};
      if (r.depth == 8 && automatic) {
        // The table the capture used is the one stored in the resource, blue first.
        for (int i = 0; i < 3 * entries; ++i) table[i] = r.colorBits[4 * (i / 3 - 256) + 2 - i % 3];
      } else if (r.depth != 32) {
        ASSERT_TRUE(LoadDefaultColorTable(r.depth == 4 ? kColorTable16 : kColorTable256, table));
      }
      int wrong = 0;
      for (std::uint32_t xy = 0; xy < r.width * r.height; ++xy) {
        const std::uint32_t x = xy % r.width, y = xy / r.width;
        const std::uint8_t* art = layer.At(p.left + int(x), p.top + int(y));
        const ResourcePixel got = PixelAt(r, x, y);
        const bool clear = art[3] == 0;
        std::array<int, 4> want{art[0], art[1], art[2], art[3]};
        if (r.depth != 32) {
          const int i = NearestColorIndex(table, entries, clear ? 0 : art[0], clear ? 0 : art[1],
                                          clear ? 0 : art[2]);
          want = {table[3 * i], table[3 * i + 1], table[3 * i + 2], 255};
        }
        wrong += std::array<int, 4>{got.red, got.green, got.blue, got.alpha} != want ||
                 got.masked != clear;
      }
      EXPECT_EQ(wrong, 0) << index;
    }
  }
}

}  // namespace
}  // namespace pictaro
