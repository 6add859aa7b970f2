#include "hostengine/HostEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <tuple>
#include <vector>

#include "host/LayerAccess.h"
#include "support/ReferenceText.h"
#include "support/SampleLayer.h"

namespace pictaro {
namespace {

using testing::PatternByte;

// A stand-in plug-in. The entry has no context argument, so the test tells it
// what to do through globals, as the real module reaches its host.
struct FakePlugin {
  static inline FilterRecord* record = nullptr;
  static inline std::vector<int16> selectors;
  static inline std::function<void(int16 selector, int16& result)> body;

  static void Entry(int16 selector, FilterRecord* r, intptr_t*, int16* result) {
    record = r;
    selectors.push_back(selector);
    if (body) body(selector, *result);
  }
};

constexpr int kWidth = 6, kHeight = 5;
const Rect kWhole{0, 0, kHeight, kWidth};

// Calls f(x, y, plane, offset) for every byte of `rect`, planes lo..hi, in a
// buffer whose rows are `rowBytes` apart.
template <typename F>
void ForEachByte(Rect rect, int lo, int hi, int rowBytes, F f) {
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x)
      for (int p = lo; p <= hi; ++p)
        f(x, y, p, (y - rect.top) * rowBytes + (x - rect.left) * (hi - lo + 1) + p - lo);
}

// One advanceState request to a fresh layer, and the answer it should get.
struct Request {
  int16 answer;
  int planes, rowPadding;
  Rect in, out;
  int16 inLo, inHi, outLo, outHi, padding;
  Fixed rate;
};

// The request fields of a record, or of the host's log of one.
template <typename R>
auto Fields(R& r) {
  return std::tie(r.inRect, r.outRect, r.maskRect, r.inLoPlane, r.inHiPlane, r.outLoPlane,
                  r.outHiPlane, r.inputRate, r.maskRate, r.inputPadding, r.outputPadding,
                  r.maskPadding, r.wantsAbsolute);
}
// As a plug-in sets them. The mask fields, and the output padding when no output is wanted,
// only show in the log.
auto Asked(const Request& q) {
  return std::tuple(q.in, q.out, Rect{5, 6, 7, 8}, q.inLo, q.inHi, q.outLo, q.outHi, q.rate,
                    kFixedOne / 4, q.padding, int16(q.out.Empty() ? 3 : q.padding), int16(7), true);
}

// A buffer is delivered when wanted, holding the layer's bytes inside the layer; outside,
// `padding` or, for -1, the nearest edge pixel. The layer itself is checked the same way, with
// the bytes the request `wrote` inverted.
void ExpectDelivered(bool wanted, const void* data, int32 rowBytes, int32 columnBytes, Rect rect,
                     int lo, int hi, const Request& q, bool wrote = false) {
  ASSERT_EQ(data != nullptr, wanted);
  if (!wanted) return;
  ASSERT_EQ(columnBytes, hi - lo + 1);
  ASSERT_EQ(rowBytes, rect.Width() * columnBytes + (wrote ? 0 : q.rowPadding));
  std::vector<int> got, want;
  ForEachByte(rect, lo, hi, rowBytes, [&](int x, int y, int p, int at) {
    const bool inside = x >= 0 && y >= 0 && x < kWidth && y < kHeight;
    const bool taken = wrote && y >= q.out.top && y < q.out.bottom && x >= q.out.left &&
                       x < q.out.right && p >= q.outLo && p <= q.outHi;
    const int byte = inside || q.padding < 0 ? PatternByte(std::clamp(x, 0, kWidth - 1),
                                                           std::clamp(y, 0, kHeight - 1), p)
                                             : q.padding;
    got.push_back(static_cast<const std::uint8_t*>(data)[at]);
    want.push_back(taken ? 255 - byte : byte);
  });
  EXPECT_EQ(got, want);
}

// Each request is served whole, then again filled page by page as the plug-in touches it.
TEST(HostEngineTest, AnswersLogsAndTakesBackEveryRequest) {
  for (const bool onDemand : {false, true})
    for (const auto& [n, what] : testing::NumberRows("hostengine/requests.txt")) {
      SCOPED_TRACE(what + (onDemand ? ", on demand" : ""));
      const auto v = [&n](int i) { return static_cast<int16>(n.at(i)); };
      const Request q{
          v(0),  v(1),  v(2),  {v(3), v(4), v(5), v(6)}, {v(7), v(8), v(9), v(10)}, v(11), v(12),
          v(13), v(14), v(15), Fixed(n.at(16))};
      HostEngine h(testing::Patterned(kWidth, kHeight, q.planes));
      h.SetRowPadding(q.rowPadding);
      if (onDemand) h.SetDemandFillAbove(0);
      const bool writes = q.answer == 0 && !q.out.Empty();
      h.RunInside([&](HostContext& context) {
        FilterRecord& r = *context.record;
        Fields(r) = Asked(q);
        ASSERT_EQ(r.advanceState(), q.answer);
        ExpectDelivered(q.answer == 0 && !q.in.Empty(), r.inData, r.inRowBytes, r.inColumnBytes,
                        q.in, q.inLo, q.inHi, q);
        ExpectDelivered(writes, r.outData, r.outRowBytes, r.outColumnBytes, q.out, q.outLo, q.outHi,
                        q);
        // Every output byte changed; the host takes back what lies inside the layer.
        if (writes)
          ForEachByte(q.out, q.outLo, q.outHi, r.outRowBytes, [&](int x, int y, int p, int at) {
            static_cast<std::uint8_t*>(r.outData)[at] = 255 - PatternByte(x, y, p);
          });
        EXPECT_FALSE(h.LayerChanged());
      });
      // Compared as values: the packed record may hold pointers off their alignment.
      EXPECT_TRUE(h.Record().inData == nullptr && h.Record().outData == nullptr);
      ASSERT_EQ(h.Requests().size(), 1u);
      EXPECT_EQ(Fields(h.Requests()[0]), Asked(q));
      EXPECT_EQ(h.Requests()[0].result, q.answer);
      ExpectDelivered(true, h.GetLayer().pixels.data(), kWidth * q.planes, q.planes, kWhole, 0,
                      q.planes - 1, q, writes);
      EXPECT_EQ(h.LayerChanged(), writes);
    }
}

TEST(HostEngineTest, InjectedFailuresDeliverNothingAndReturnTheirCode) {
  HostEngine host(testing::Patterned(kWidth, kHeight, 4));
  host.FailAdvanceState(-30, 2);
  host.RunInside([&](HostContext& context) {
    FilterRecord& r = *context.record;
    Fields(r) = Asked({0, 4, 0, {0, 0, 2, 2}, {0, 0, 2, 2}, 0, 3, 0, 3, 0, kFixedOne});
    ASSERT_EQ(r.advanceState(), 0);
    ASSERT_EQ(r.advanceState(), 0);  // the bytes given back as delivered change nothing
    EXPECT_FALSE(host.LayerChanged() || r.inData == nullptr);
    std::memset(r.outData, 0, 16);
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(r.advanceState(), -30);
      EXPECT_TRUE(r.inData == nullptr && r.outData == nullptr);
    }
    // What was written before the failing call reached the layer at once.
    EXPECT_TRUE(host.LayerChanged());
  });
  EXPECT_EQ(host.GetLayer().At(1, 1)[0], 0);
  ASSERT_EQ(host.Requests().size(), 4u);
  EXPECT_EQ(host.Requests()[2].result, -30);
}

TEST(HostEngineTest, ALargeLayerCostsWhatThePluginTouchesOfIt) {
  // The host's own 30000 x 30000 layer (3.4 GB, were it held), all of it asked for at once.
  testing::PatternedPixels layer(30000, 30000, 4);
  HostEngine host(layer);
  host.SetDemandFillAbove(0);
  host.RunInside([&](HostContext& context) {
    FilterRecord& r = *context.record;
    RequestLayerRect(r, r.filterRect);
    ASSERT_EQ(r.advanceState(), kNoErr);
    // A pixel far into the layer reads as the layer's; a 48 x 48 square is written over.
    const auto* far = static_cast<const std::uint8_t*>(r.inData) + 20000LL * r.inRowBytes + 40000;
    EXPECT_EQ(std::vector<int>(far, far + 4),
              (std::vector<int>{PatternByte(10000, 20000, 0), PatternByte(10000, 20000, 1),
                                PatternByte(10000, 20000, 2), PatternByte(10000, 20000, 3)}));
    for (int y = 100; y < 148; ++y)
      std::memset(static_cast<std::uint8_t*>(r.outData) + y * r.outRowBytes + 800, 0, 48 * 4);
    // Rows of three planes, which pages cut inside rows and pixels: every byte is the layer's,
    // and a pixel changed in its byte before a page's end goes back.
    r.inRect = r.outRect = Rect{5000, 7000, 5040, 7300};
    r.inHiPlane = r.outHiPlane = 2;
    ASSERT_EQ(r.advanceState(), kNoErr);
    std::vector<int> got, want;
    ForEachByte(r.inRect, 0, 2, r.inRowBytes, [&](int x, int y, int p, int at) {
      got.push_back(static_cast<const std::uint8_t*>(r.inData)[at]);
      want.push_back(PatternByte(x, y, p));
    });
    EXPECT_EQ(got, want);
    static_cast<std::uint8_t*>(r.outData)[4 * 900 + 165 * 3] = 0;  // byte 4095
  });
  // Only what was written goes back; what was read is the pages touched, not the layer.
  EXPECT_EQ(layer.writes, (std::vector<Rect>{{100, 200, 148, 248}, {5004, 7165, 5005, 7166}}));
  EXPECT_EQ(host.ChangedArea(), (Rect{100, 200, 5005, 7166}));
  long long read = 0;
  for (const Rect& rect : layer.reads) read += rect.Width() * rect.Height();
  EXPECT_LT(read, 100 * 30000);
}

// (Handles made to fail are the parameter block's tests.)
TEST(HostEngineTest, HandlesKeepTheirBytesAndSizeUntilDisposed) {
  HostEngine host(testing::Patterned(kWidth, kHeight, 4));
  host.RunInside([&](HostContext& context) {
    HandleProcs& procs = *context.record->handleProcs;
    const Handle h = procs.newProc(10);
    std::memcpy(procs.lockProc(h, true), "abcdefghij", 10);
    procs.unlockProc(h);
    ASSERT_EQ(procs.setSizeProc(h, 4000), 0);
    EXPECT_EQ(procs.getSizeProc(h), 4000);
    EXPECT_EQ(std::string(procs.lockProc(h, false), 10), "abcdefghij");
    procs.disposeProc(h);
    EXPECT_EQ(host.HandleSize(h), 0u);
  });
}

TEST(HostEngineTest, RunsTheSelectorsInOrderOnItsRecordOrAnAboutRecord) {
  HostEngine host(testing::Patterned(kWidth, kHeight, 4));
  // About gets a zeroed about record in place of the filter record.
  bool zeroed = false;
  FakePlugin::selectors.clear();
  FakePlugin::body = [&](int16, int16&) {
    const std::vector<char> zeros(sizeof(AboutRecord), 0);
    zeroed = std::memcmp(FakePlugin::record, zeros.data(), sizeof(AboutRecord)) == 0;
  };
  EXPECT_EQ(host.RunAbout(&FakePlugin::Entry), 0);
  EXPECT_TRUE(zeroed && FakePlugin::record != &host.Record());
  EXPECT_EQ(FakePlugin::selectors, std::vector<int16>{kSelectorAbout});

  // RunFilter stops at a failure.
  const std::vector<int16> all{kSelectorParameters, kSelectorPrepare, kSelectorStart,
                               kSelectorFinish};
  for (std::size_t failing = 0; failing <= all.size(); ++failing) {
    FakePlugin::selectors.clear();
    FakePlugin::body = [&](int16 selector, int16& result) {
      if (failing < all.size() && selector == all[failing]) result = kUserCanceledErr;
    };
    EXPECT_EQ(host.RunFilter(&FakePlugin::Entry), failing < all.size() ? kUserCanceledErr : 0);
    EXPECT_EQ(FakePlugin::selectors,
              std::vector<int16>(all.begin(), all.begin() + std::min(failing + 1, all.size())));
    EXPECT_EQ(FakePlugin::record, &host.Record());
  }
  // The whole layer is the filter area unless the host was given one; a layer is whole.
  EXPECT_EQ(host.Record().filterRect, kWhole);
  EXPECT_THROW(HostEngine(Layer{kWidth, kHeight, 4, {1, 2, 3}}), std::invalid_argument);
  FakePlugin::body = nullptr;  // it refers to this test's locals
}

}  // namespace
}  // namespace pictaro
