// The whole road from layer to file: the sample layer built into an icon as the Build button
// does, written, read back, and every resource compared with the artwork under its position.
#include <gtest/gtest.h>

#include <string>

#include "host/LayerWindow.h"
#include "model/ColorTable.h"
#include "model/ResourcePixels.h"
#include "substitute/SubstituteHost.h"
#include "support/FakePluginUi.h"
#include "support/IcoFixtures.h"
#include "support/TempFolder.h"

namespace pictaro {
namespace {

using namespace testing;

// Each resource against the layer pixels of its standard position: 32-bit images exactly, with
// their alpha; 4- and 8-bit ones as the nearest table colour, black where transparent.
void ExpectArtwork(const ResourceGrid& grid, const Layer& layer, const LayerWindow& window,
                   bool customTable, bool png) {
  for (int index = 0; index < ResourceGrid::kResourceCount; ++index) {
    SCOPED_TRACE("resource " + std::to_string(index));
    const GridSlot slot = SlotOf(index);
    const IconResource& r = grid.resources[index];
    ASSERT_TRUE(r.present);
    ASSERT_EQ(r.width, slot.PixelSize());
    const Rect& p = window.gridPositions[LayerWindow::PositionEntry(slot, false)];
    ColorTable table;
    const int entries = r.depth == 4 ? 16 : 256;
    if (r.depth != 32) {
      if (r.depth == 8 && customTable) {
        // The table the capture used is the one stored in the resource.
        for (int i = 0; i < entries; ++i) {
          const std::uint8_t* entry = r.colorBits - 4 * 256 + 4 * i;
          table[3 * i] = entry[2];
          table[3 * i + 1] = entry[1];
          table[3 * i + 2] = entry[0];
        }
      } else {
        ASSERT_TRUE(LoadDefaultColorTable(r.depth == 4 ? kColorTable16 : kColorTable256, table));
      }
    }
    int wrong = 0;
    for (std::uint32_t y = 0; y < r.height; ++y) {
      for (std::uint32_t x = 0; x < r.width; ++x) {
        const std::uint8_t* art =
            layer.At(p.left + static_cast<int>(x), p.top + static_cast<int>(y));
        const ResourcePixel got = PixelAt(r, x, y);
        // A PNG stream stores no 1-bit mask: the 256 px image comes back opaque in it.
        const bool maskKept = !(png && index == 8);
        bool same = !maskKept || got.masked == (art[3] == 0);
        if (r.depth == 32) {
          same = same && got.red == art[0] && got.green == art[1] && got.blue == art[2] &&
                 got.alpha == art[3];
        } else {
          const bool clear = art[3] == 0;
          const int i = NearestColorIndex(table, entries, clear ? 0 : art[0], clear ? 0 : art[1],
                                          clear ? 0 : art[2]);
          same = same && got.red == table[3 * i] && got.green == table[3 * i + 1] &&
                 got.blue == table[3 * i + 2];
        }
        wrong += same ? 0 : 1;
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(SampleBuildTest, TheSampleBuildsIntoAnIconThatShowsItsArtwork) {
  std::string error;
  const std::optional<Layer> layer =
      LoadLayerImage(PICTARO_SOURCE_DIR "/samples/sample-layer.png", false, error);
  ASSERT_TRUE(layer) << error;
  TempFolder folder;
  for (const bool automatic : {false, true}) {
    SCOPED_TRACE(automatic ? "automatic table" : "default table");
    SubstituteHost host(*layer);
    RecordingDesktop desktop;
    LayerWindow window;
    window.useCustomTable = automatic;
    window.autoTable = automatic;
    ResourceGrid built;
    host.RunInside([&](HostContext& context) {
      GridSlot current;
      window.Build(context, current, BuildSlots(current, false, false), built, desktop);
    });
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(built.CountPresent(), 13);

    const std::string path = (folder.Path() / "sample.ico").string();
    built.SetPngCompression(automatic ? 0 : 1);
    ASSERT_EQ(built.WriteIco(path, desktop), 1);
    ResourceGrid read;
    ASSERT_EQ(read.ReadIco(path, desktop), 1);
    ExpectArtwork(read, *layer, window, automatic, !automatic);
  }
}

}  // namespace
}  // namespace pictaro
