#include "host/LayerAccess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "host/FilterParameters.h"
#include "hostengine/HostEngine.h"
#include "support/FakePluginUi.h"
#include "support/IcoFixtures.h"
#include "support/ReferenceText.h"
#include "support/SampleLayer.h"
#include "support/TempFolder.h"

namespace pictaro {
namespace {

using namespace testing;

// `layer` with the painted resource `index` written at (left, top), side x side of it: table
// colours with the 1-bit mask as transparency (white without a transparency plane) for 4 and 8
// bits; colour and alpha, no mask, for 32 bits.
Layer Written(Layer layer, int index, int left, int top, int side) {
  for (std::uint32_t i = 0; i < std::uint32_t(side * side); ++i) {
    const std::uint32_t c = i % side, r = i / side;
    Rgba want = PaintedColor(index, c, r);
    if (index < 8 && PaintedTransparent(c, r)) {
      want = layer.planes == 3 ? Rgba{255, 255, 255, 0} : TableColor(PaintedIndex(index, c, r));
      want.alpha = 0;
    }
    const std::uint8_t bytes[] = {want.red, want.green, want.blue, want.alpha};
    std::copy_n(bytes, layer.planes, layer.At(left + int(c), top + int(r)));
  }
  return layer;
}

TEST(LayerAccessTest, RequestsFollowThePlaneRangeRule) {
  const Rect rect{1, 2, 5, 7};
  // planes, floating, then inHiPlane, outHiPlane, wantsAbsolute as requested (a floating
  // selection leaves it as it was)
  const int rows[][5] = {{4, false, 4, 5, true}, {4, true, 3, 3, true}, {3, false, 2, 2, true}};
  for (const auto& [planes, floating, inHi, outHi, absolute] : rows) {
    HostEngine host(Patterned(8, 8, planes));
    FilterRecord& r = host.Record();
    // A mask, padding to be replaced; one layer mask in, two out: the absolute plane counts
    // decide the upper planes.
    std::tie(r.haveMask, r.isFloating, r.wantsAbsolute, r.inputPadding, r.outputPadding,
             r.maskPadding, r.absLayerMasks, r.outLayerMasks) =
        std::tuple(true, floating, floating, 9, 9, 9, 1, 2);
    RequestLayerRect(r, rect);
    EXPECT_EQ(
        std::tuple(r.inRect, r.outRect, r.maskRect, r.inLoPlane, r.inHiPlane, r.outLoPlane,
                   r.outHiPlane, r.wantsAbsolute, r.inputRate, r.maskRate, r.inputPadding,
                   r.outputPadding, r.maskPadding),
        std::tuple(rect, rect, rect, 0, inHi, 0, outHi, absolute, kFixedOne, kFixedOne, 0, 0, 0))
        << planes << floating;
  }
}

TEST(LayerAccessTest, ScanVisitsEachRowThenRestoresAndFetchesTheRequest) {
  const Layer layer = Patterned(10, 6, 4);
  HostEngine host(layer);
  const Rect area{1, 2, 4, 7};
  RecordingDesktop desktop;
  std::vector<std::uint8_t> seen, want;
  // The second row's delivery fails: it is visited all the same, and the result stays 0.
  EXPECT_EQ(host.RunInside([&](HostContext& context) {
    RequestLayerRect(*context.record, area);
    context.record->inputPadding = context.record->outputPadding = 9;  // to be replaced
    host.FailAdvanceState(-30, 1);
    ScanLayerRows(context, [&](const LayerImage& row) {
      if (row.base == nullptr) {
        host.FailAdvanceState(0);
        seen.push_back(0);  // where no row came
        return;
      }
      seen.insert(seen.end(), row.Pixel(0, 0), row.Pixel(row.Width(), 0));
      want.insert(want.end(), layer.At(2, row.rect.top), layer.At(7, row.rect.top));
    });
    // The caller's view is valid again.
    const LayerImage image = CurrentLayerImage(*context.record);
    ASSERT_TRUE(image.base != nullptr && image.rect == area && context.result == kNoErr);
    EXPECT_TRUE(std::equal(image.Pixel(4, 2), image.Pixel(4, 2) + 4, layer.At(6, 3)));

    // An empty area: no row, no fetch.
    RequestLayerRect(*context.record, Rect{3, 2, 3, 7});
    ScanLayerRows(context, [&](const LayerImage&) { seen.push_back(1); });
    EXPECT_EQ(context.record->inRect, (Rect{3, 2, 3, 7}));

    // A failed fetch is shown and its code stays in the result cell.
    host.FailAdvanceState(-31);
    EXPECT_EQ(FetchLayer(context, desktop), -31);
  }),
            -31);
  want.insert(want.begin() + 20, 0);
  EXPECT_EQ(seen, want);
  EXPECT_EQ(desktop.messages, std::vector{Warning("Advance state failed!")});

  // Read-only rows with the colour planes and transparency, then the view's request again.
  std::vector<std::tuple<Rect, Rect, int, bool, int, int>> log;
  for (const HostRequest& r : host.Requests())
    log.emplace_back(r.inRect, r.outRect, r.inHiPlane, r.wantsAbsolute,
                     r.inputPadding + r.outputPadding, r.result);
  EXPECT_EQ(log, (decltype(log){{{1, 2, 2, 7}, {}, 3, false, 0, 0},
                                {{2, 2, 3, 7}, {}, 3, false, 0, -30},
                                {{3, 2, 4, 7}, {}, 3, false, 0, 0},
                                {area, area, 3, true, 0, 0},
                                {{3, 2, 3, 7}, {3, 2, 3, 7}, 3, true, 0, -31}}));
}

// The Apply step over the painted grid saved as the working file: the selected resource lands
// centred, by its depth and the layer's planes, or a failure leaves the layer as it was.
TEST(LayerAccessTest, ApplyWritesTheWorkingFilesSelectionIntoTheFilterArea) {
  TempFolder folder;
  RecordingDesktop quiet;
  ResourceGrid grid;
  PaintGrid(grid, {0, 4, 7, 8, 9, 12});
  // The working file, a foreign one and one never saved.
  const std::string paths[] = {(folder.Path() / "work.ico").string(),
                               (folder.Path() / "foreign.ico").string(),
                               (folder.Path() / "Untitled.ico").string()};
  ASSERT_EQ(grid.WriteIco(paths[0], quiet), 1);
  WriteBytes(paths[1], BuildIco({{16, 16, 1, 32, PaintedBlock(9)}}));
  const std::vector<ShownMessage> said[] = {
      {},
      {Warning("DoFilterRect failed!")},
      {Warning("The layer selection is too small for the 256 x 256 pixel icon data.\n\n"
               "Please try running Pictaro again with a larger selection.")}};
  for (const auto& [n, what] : NumberRows("host/apply.txt")) {
    SCOPED_TRACE(what);
    const auto v = [&numbers = n](int i) { return static_cast<int16>(numbers.at(i)); };
    const Rect area{v(4), v(5), v(6), v(7)};
    const int selected = v(8), fault = v(9), written = v(11);
    const Layer before = Patterned(v(0), v(1), v(2));
    HostEngine host(before, area);
    host.SetRowPadding(v(3));
    host.RunInside([&](HostContext& context) {
      PrepareParameters(context);
      StoreApplySelection(context, SlotOf(selected), "work.ico", paths[fault < 3 ? fault : 0]);
    });
    if (fault == 4) host.ForgetParameters();
    host.FailLock(fault == 5);
    host.FailAdvanceState(fault == 6 ? -30 : 0);
    // A mask request and padding left over from the layer view.
    FilterRecord& record = host.Record();
    std::tie(record.inputPadding, record.outputPadding, record.haveMask, record.maskRect,
             record.maskRate) = std::tuple(9, 9, true, Rect{1, 1, 5, 5}, kFixedOne);
    RecordingDesktop desktop;
    EXPECT_EQ(host.RunInside([&](HostContext& c) { DoFilterRect(c, desktop); }), v(10));

    // The whole filter area once, no mask; afterwards nothing more to deliver.
    ASSERT_EQ(host.Requests().size(), 1u);
    const HostRequest& asked = host.Requests()[0];
    EXPECT_EQ(
        std::tuple(asked.inRect, asked.outRect, asked.maskRect, asked.maskRate, asked.inputPadding,
                   asked.outputPadding, record.inRect, record.outRect, record.maskRect),
        std::tuple(area, area, Rect{}, 0, 0, 0, Rect{}, Rect{}, Rect{}));
    const int side = int(SlotOf(selected).PixelSize());
    EXPECT_EQ(host.GetLayer().pixels,
              written < 0 ? before.pixels : Written(before, written, v(12), v(13), side).pixels);
    EXPECT_EQ(desktop.messages, said[v(14)]);
  }
  // No output buffer: nothing written, nothing said.
  FilterRecord bare{};
  bare.filterRect = bare.outRect = Rect{0, 0, 64, 64};
  bare.outColumnBytes = 4;
  bare.outRowBytes = 64 * 4;
  WriteResourceToLayer(bare, SlotOf(9), grid, quiet);
  EXPECT_TRUE(quiet.messages.empty());
}

}  // namespace
}  // namespace pictaro
