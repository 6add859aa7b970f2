#include "host/LayerAccess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/FilterParameters.h"
#include "substitute/SubstituteHost.h"
#include "support/FakePluginUi.h"
#include "support/IcoFixtures.h"
#include "support/TempFolder.h"

namespace pictaro {
namespace {

using testing::PaintedColor;
using testing::PaintedTransparent;
using testing::PaintGrid;
using testing::RecordingDesktop;
using testing::Rgba;
using testing::SlotOf;

// A layer whose bytes all differ from their neighbours', so that a stray write shows.
Layer Patterned(int width, int height, int planes) {
  Layer layer{width, height, planes,
              std::vector<std::uint8_t>(std::size_t(width) * height * planes)};
  for (std::size_t i = 0; i < layer.pixels.size(); ++i)
    layer.pixels[i] = static_cast<std::uint8_t>(i * 37 + 11);
  return layer;
}

// What the layer should show at (c, r) of a painted resource: table colours with the 1-bit mask
// as transparency (or white without it) for 4 and 8 bits, colour and alpha for 32 bits.
Rgba Expected(int index, int planes, std::uint32_t c, std::uint32_t r) {
  if (index >= 8) return PaintedColor(index, c, r);
  const bool masked = PaintedTransparent(c, r);
  const std::uint32_t i =
      (c * 3 + r * 5 + static_cast<std::uint32_t>(index)) % (index < 4 ? 16 : 256);
  if (masked && planes == 3) return {255, 255, 255, 0};
  return {static_cast<std::uint8_t>(i * 17), static_cast<std::uint8_t>(255 - i * 13),
          static_cast<std::uint8_t>(i * 7 + 1), static_cast<std::uint8_t>(masked ? 0 : 255)};
}

// The columns x rows block at (left, top) shows the resource; every other byte is as before.
void ExpectWritten(const Layer& before, const Layer& after, int left, int top, int columns,
                   int rows, int index) {
  ASSERT_EQ(after.pixels.size(), before.pixels.size());
  for (int y = 0; y < after.height; ++y) {
    for (int x = 0; x < after.width; ++x) {
      const std::uint8_t* got = after.At(x, y);
      const bool inside = x >= left && x < left + columns && y >= top && y < top + rows;
      if (!inside) {
        ASSERT_TRUE(std::equal(got, got + after.planes, before.At(x, y))) << x << "," << y;
        continue;
      }
      const Rgba want = Expected(index, after.planes, x - left, y - top);
      const Rgba have{got[0], got[1], got[2], after.planes == 4 ? got[3] : std::uint8_t{0}};
      ASSERT_EQ(have, (after.planes == 4 ? want : Rgba{want.red, want.green, want.blue, 0}))
          << "index " << index << " at " << x - left << "," << y - top;
    }
  }
}

// Requests the whole filter area and writes the painted resource into it.
int16 WritePainted(SubstituteHost& host, int index, RecordingDesktop& desktop) {
  ResourceGrid grid;
  PaintGrid(grid, {index});
  return host.RunInside([&](HostContext& context) {
    FilterRecord& record = *context.record;
    RequestLayerRect(record, record.filterRect);
    ASSERT_EQ(record.advanceState(), kNoErr);
    WriteResourceToLayer(record, SlotOf(index), grid, desktop);
  });
}

TEST(LayerAccessTest, ResourceSitsCentredInTheFilterArea) {
  RecordingDesktop desktop;
  // 48 px (32 bits) in a 100 x 60 area that starts at (4, 2) of the layer.
  const Layer wide = Patterned(110, 66, 4);
  SubstituteHost host(wide, Rect{2, 4, 62, 104});
  EXPECT_EQ(WritePainted(host, 9, desktop), kNoErr);
  ExpectWritten(wide, host.GetLayer(), 4 + 26, 2 + 6, 48, 48, 9);

  // 16 px in a 17 x 17 area: the halves round down to the top-left corner.
  const Layer small = Patterned(20, 20, 4);
  SubstituteHost smallHost(small, Rect{0, 0, 17, 17});
  EXPECT_EQ(WritePainted(smallHost, 12, desktop), kNoErr);
  ExpectWritten(small, smallHost.GetLayer(), 0, 0, 16, 16, 12);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST(LayerAccessTest, EachDepthOnLayersWithAndWithoutTransparency) {
  // 48 px 4-bit, 8-bit and 32-bit resources; a 52 x 50 area puts them at (2, 1).
  for (const int index : {0, 4, 9}) {
    for (const int planes : {4, 3}) {
      SCOPED_TRACE(::testing::Message() << "index " << index << ", planes " << planes);
      RecordingDesktop desktop;
      const Layer before = Patterned(52, 50, planes);
      SubstituteHost host(before);
      EXPECT_EQ(WritePainted(host, index, desktop), kNoErr);
      ExpectWritten(before, host.GetLayer(), 2, 1, 48, 48, index);
    }
  }
}

TEST(LayerAccessTest, RowsThatAreNoMultipleOfFourAreAddressedWhole) {
  // 21 pixels of 3 bytes and 3 bytes of padding: 66 bytes a row.
  RecordingDesktop desktop;
  const Layer before = Patterned(21, 19, 3);
  SubstituteHost host(before);
  host.SetRowPadding(3);
  EXPECT_EQ(WritePainted(host, 7, desktop), kNoErr);
  ExpectWritten(before, host.GetLayer(), 2, 1, 16, 16, 7);
}

TEST(LayerAccessTest, FilterAreaSmallerThanTheResourceIsRefused) {
  RecordingDesktop desktop;
  SubstituteHost host(Patterned(255, 300, 4));
  EXPECT_EQ(WritePainted(host, 8, desktop), kNoErr);
  EXPECT_FALSE(host.LayerChanged());
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text,
            "The layer selection is too small for the 256 x 256 pixel icon data.\n\n"
            "Please try running Pictaro again with a larger selection.");
  EXPECT_EQ(desktop.messages[0].caption, "Pictaro");
  EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(desktop.messages[0].buttons, MessageButtons::Ok);
}

TEST(LayerAccessTest, RequestTakesPlaneRangeRatesAndPaddingFromTheRecord) {
  SubstituteHost host(Patterned(8, 8, 4));
  const Rect rect{1, 2, 5, 7};
  host.RunInside([&](HostContext& context) {
    FilterRecord& record = *context.record;
    record.haveMask = true;
    record.inputPadding = record.outputPadding = record.maskPadding = 9;
    // One layer mask in, two out: absolute plane counts decide the upper planes.
    record.absLayerMasks = 1;
    record.outLayerMasks = 2;
    RequestLayerRect(record, rect);
    record.advanceState();

    record.isFloating = true;
    record.wantsAbsolute = false;
    RequestLayerRect(record, rect);
    record.advanceState();
  });
  const auto& requests = host.Requests();
  ASSERT_EQ(requests.size(), 2u);
  const HostRequest& fixed = requests[0];
  EXPECT_EQ(fixed.inRect, rect);
  EXPECT_EQ(fixed.outRect, rect);
  EXPECT_EQ(fixed.maskRect, rect);
  EXPECT_EQ(fixed.inLoPlane, 0);
  EXPECT_EQ(fixed.inHiPlane, 4);
  EXPECT_EQ(fixed.outLoPlane, 0);
  EXPECT_EQ(fixed.outHiPlane, 5);
  EXPECT_TRUE(fixed.wantsAbsolute);
  EXPECT_EQ(fixed.inputRate, kFixedOne);
  EXPECT_EQ(fixed.maskRate, kFixedOne);
  EXPECT_EQ(fixed.inputPadding + fixed.outputPadding + fixed.maskPadding, 0);

  const HostRequest& floating = requests[1];
  EXPECT_EQ(floating.inHiPlane, 3);
  EXPECT_EQ(floating.outHiPlane, 3);
  EXPECT_FALSE(floating.wantsAbsolute);

  // Without transparency the colour planes are all.
  RecordingDesktop desktop;
  SubstituteHost opaque(Patterned(8, 8, 3));
  opaque.RunInside([&](HostContext& context) {
    RequestLayerRect(*context.record, rect);
    EXPECT_EQ(FetchLayer(context, desktop), kNoErr);
  });
  ASSERT_EQ(opaque.Requests().size(), 1u);
  EXPECT_EQ(opaque.Requests()[0].inHiPlane, 2);
  EXPECT_EQ(opaque.Requests()[0].outHiPlane, 2);
  EXPECT_EQ(opaque.Requests()[0].result, kNoErr);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST(LayerAccessTest, FetchFailureIsShownAndKeptInTheResultCell) {
  RecordingDesktop desktop;
  SubstituteHost host(Patterned(8, 8, 4));
  host.FailAdvanceState(-30);
  const int16 result = host.RunInside([&](HostContext& context) {
    RequestLayerRect(*context.record, Rect{0, 0, 4, 4});
    EXPECT_EQ(FetchLayer(context, desktop), -30);
  });
  EXPECT_EQ(result, -30);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Advance state failed!");
  EXPECT_EQ(desktop.messages[0].caption, "Pictaro");
  EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Exclamation);
}

TEST(LayerAccessTest, ScanVisitsEachRowThenRestoresAndFetchesTheRequest) {
  const Layer layer = Patterned(10, 6, 4);
  SubstituteHost host(layer);
  const Rect area{1, 2, 4, 7};
  std::vector<Rect> visited;
  int delivered = 0;
  // The second row's delivery fails: it is visited all the same, and the run's result stays 0.
  const int16 result = host.RunInside([&](HostContext& context) {
    FilterRecord& record = *context.record;
    RequestLayerRect(record, area);
    host.ClearRequests();
    host.FailAdvanceState(-30, 1);
    ScanLayerRows(context, [&](const LayerImage& row) {
      visited.push_back(row.rect);
      if (visited.size() == 2) host.FailAdvanceState(0);
      if (row.base == nullptr) return;
      ++delivered;
      ASSERT_EQ(row.Width(), 5);
      for (int x = 0; x < row.Width(); ++x) {
        EXPECT_TRUE(std::equal(row.Pixel(x, 0), row.Pixel(x, 0) + 4,
                               layer.At(area.left + x, row.rect.top)));
      }
    });
    // The caller's view is valid again.
    const LayerImage image = CurrentLayerImage(record);
    EXPECT_EQ(image.rect, area);
    ASSERT_NE(image.base, nullptr);
    EXPECT_TRUE(std::equal(image.Pixel(4, 2), image.Pixel(4, 2) + 4, layer.At(6, 3)));
  });
  EXPECT_EQ(result, kNoErr);
  EXPECT_EQ(delivered, 2);
  ASSERT_EQ(visited.size(), 3u);
  EXPECT_EQ(visited[1], (Rect{2, 2, 3, 7}));

  const auto& requests = host.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].inRect, (Rect{1, 2, 2, 7}));
  EXPECT_EQ(requests[0].outRect, Rect{});
  EXPECT_EQ(requests[0].inHiPlane, 3);
  EXPECT_FALSE(requests[0].wantsAbsolute);
  EXPECT_EQ(requests[1].result, -30);
  EXPECT_EQ(requests[3].inRect, area);
  EXPECT_EQ(requests[3].outRect, area);
  EXPECT_TRUE(requests[3].wantsAbsolute);
}

TEST(LayerAccessTest, ScanOfAnEmptyAreaVisitsNothingAndFetchesNothing) {
  SubstituteHost host(Patterned(10, 6, 4));
  int visits = 0;
  host.RunInside([&](HostContext& context) {
    RequestLayerRect(*context.record, Rect{3, 2, 3, 7});
    ScanLayerRows(context, [&](const LayerImage&) { ++visits; });
    EXPECT_EQ(context.record->inRect, (Rect{3, 2, 3, 7}));
  });
  EXPECT_EQ(visits, 0);
  EXPECT_TRUE(host.Requests().empty());
}

class DoFilterRectTest : public ::testing::Test {
 protected:
  DoFilterRectTest() : before(Patterned(40, 36, 4)), host(before, Rect{2, 3, 34, 37}) {}

  // Creates the parameter block and stores the selection in it, as Apply does.
  void StoreSelection(int index, const std::string& path) {
    host.RunInside([&](HostContext& context) {
      PrepareParameters(context);
      ASSERT_TRUE(StoreApplySelection(context, SlotOf(index), "work.ico", path));
    });
  }

  // Runs the Apply step with a mask request left over from the layer view.
  int16 Apply() {
    host.ClearRequests();
    host.Record().maskRect = Rect{1, 1, 5, 5};
    host.Record().maskRate = kFixedOne;
    const int16 result = host.RunInside([&](HostContext& c) { DoFilterRect(c, desktop); });
    const FilterRecord& record = host.Record();
    EXPECT_EQ(record.inRect, Rect{});
    EXPECT_EQ(record.outRect, Rect{});
    EXPECT_EQ(record.maskRect, Rect{});
    return result;
  }

  void ExpectFailureMessage() {
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "DoFilterRect failed!");
    EXPECT_EQ(desktop.messages[0].caption, "Pictaro");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Exclamation);
  }

  testing::TempFolder folder;
  RecordingDesktop desktop;
  Layer before;
  SubstituteHost host;
};

TEST_F(DoFilterRectTest, WritesTheSelectedResourceOfTheSavedFile) {
  ResourceGrid grid;
  PaintGrid(grid, {3, 7, 12});
  const std::string path = (folder.Path() / "work.ico").string();
  ASSERT_EQ(grid.WriteIco(path, desktop), 1);
  StoreSelection(7, path);

  host.Record().haveMask = true;
  EXPECT_EQ(Apply(), kNoErr);
  EXPECT_TRUE(desktop.messages.empty());
  ASSERT_EQ(host.Requests().size(), 1u);
  const HostRequest& request = host.Requests()[0];
  EXPECT_EQ(request.inRect, host.Record().filterRect);
  EXPECT_EQ(request.outRect, host.Record().filterRect);
  EXPECT_EQ(request.maskRect, Rect{});
  EXPECT_EQ(request.maskRate, 0);
  // The 34 x 32 area starts at (3, 2) of the layer.
  ExpectWritten(before, host.GetLayer(), 3 + 9, 2 + 8, 16, 16, 7);
}

TEST_F(DoFilterRectTest, FailuresLeaveTheLayerAlone) {
  // No parameter handle.
  host.ForgetParameters();
  EXPECT_EQ(Apply(), kNilHandleErr);
  ExpectFailureMessage();
  desktop.messages.clear();

  // A handle that can't be locked.
  StoreSelection(12, "");
  host.FailLock(true);
  EXPECT_EQ(Apply(), kParamErr);
  ExpectFailureMessage();
  host.FailLock(false);
  desktop.messages.clear();

  // The host refuses the filter area: its code, no message.
  host.FailAdvanceState(-30);
  EXPECT_EQ(Apply(), -30);
  EXPECT_TRUE(desktop.messages.empty());
  host.FailAdvanceState(0);

  // Apply after New: the working file was never written.
  StoreSelection(12, (folder.Path() / "Untitled.ico").string());
  EXPECT_EQ(Apply(), kNoErr);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_FALSE(host.LayerChanged());
  EXPECT_EQ(host.GetLayer().pixels, before.pixels);
}

TEST_F(DoFilterRectTest, ForeignImageLargerThanItsPositionIsClipped) {
  // A 48 px 32-bit image listed as 16 x 16: it lands at the 16 px position with its own size.
  const std::string path = (folder.Path() / "foreign.ico").string();
  testing::WriteBytes(path, testing::BuildIco({{16, 16, 1, 32, testing::PaintedBlock(9)}}));
  StoreSelection(12, path);

  EXPECT_EQ(Apply(), kNoErr);
  EXPECT_TRUE(desktop.messages.empty());
  // Only its top-left 16 x 16 pixels, which the painting of index 9 gives.
  const Layer& after = host.GetLayer();
  ExpectWritten(before, after, 3 + 9, 2 + 8, 16, 16, 9);
}

}  // namespace
}  // namespace pictaro
