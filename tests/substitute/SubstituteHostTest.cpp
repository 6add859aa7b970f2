#include "substitute/SubstituteHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace pictaro {
namespace {

// A stand-in plug-in. The entry has no context argument, so the test tells it
// what to do through these globals, as the real module reaches its host
// through process-wide cells.
struct FakePlugin {
  static inline FilterRecord* record = nullptr;
  static inline intptr_t* data = nullptr;
  static inline std::vector<int16> selectors;
  static inline std::function<void(int16 selector, int16& result)> body;

  static void Reset() {
    record = nullptr;
    data = nullptr;
    selectors.clear();
    body = nullptr;
  }
  static void Entry(int16 selector, FilterRecord* r, intptr_t* d, int16* result) {
    record = r;
    data = d;
    selectors.push_back(selector);
    if (body) body(selector, *result);
  }
};

// Distinct, never 0 or 255, so padding stands out.
std::uint8_t Value(int x, int y, int p) {
  return static_cast<std::uint8_t>(1 + (x * 29 + y * 7 + p * 3) % 254);
}

Layer MakeLayer(int width, int height, int planes) {
  Layer layer;
  layer.width = width;
  layer.height = height;
  layer.planes = planes;
  layer.pixels.resize(static_cast<std::size_t>(width) * height * planes);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int p = 0; p < planes; ++p) layer.At(x, y)[p] = Value(x, y, p);
  return layer;
}

// Sets the request fields as the plug-in does for reading (and writing).
void Ask(FilterRecord& r, Rect in, int16 inLo, int16 inHi, Rect out = {}, int16 outLo = 0,
         int16 outHi = 0) {
  r.inRect = in;
  r.inLoPlane = inLo;
  r.inHiPlane = inHi;
  r.outRect = out;
  r.outLoPlane = outLo;
  r.outHiPlane = outHi;
  r.inputRate = kFixedOne;
  r.inputPadding = 0;
  r.outputPadding = 0;
}

// What one advanceState handed over, copied out before the buffers go away.
struct Delivery {
  int16 result = 0;
  bool inNull = true;
  bool outNull = true;
  std::vector<std::uint8_t> in;
  std::vector<std::uint8_t> out;
  int32 inRowBytes = 0;
  int32 inColumnBytes = 0;
  int32 outRowBytes = 0;
  int32 outColumnBytes = 0;
};

Delivery CallAdvance(FilterRecord& r) {
  Delivery d;
  d.result = r.advanceState();
  d.inNull = r.inData == nullptr;
  d.outNull = r.outData == nullptr;
  if (!d.inNull) {
    const auto* p = static_cast<const std::uint8_t*>(r.inData);
    d.in.assign(p, p + static_cast<std::size_t>(r.inRowBytes) * r.inRect.Height());
    d.inRowBytes = r.inRowBytes;
    d.inColumnBytes = r.inColumnBytes;
  }
  if (!d.outNull) {
    const auto* p = static_cast<const std::uint8_t*>(r.outData);
    d.out.assign(p, p + static_cast<std::size_t>(r.outRowBytes) * r.outRect.Height());
    d.outRowBytes = r.outRowBytes;
    d.outColumnBytes = r.outColumnBytes;
  }
  return d;
}

// Runs the start selector with `body` as the plug-in's work.
int16 RunStart(SubstituteHost& host, const std::function<void(FilterRecord&)>& body) {
  FakePlugin::body = [&](int16 selector, int16&) {
    if (selector == kSelectorStart) body(*FakePlugin::record);
  };
  return host.Call(&FakePlugin::Entry, kSelectorStart);
}

Delivery Fetch(SubstituteHost& host, const std::function<void(FilterRecord&)>& request) {
  Delivery d;
  RunStart(host, [&](FilterRecord& r) {
    request(r);
    d = CallAdvance(r);
  });
  return d;
}

// Every pixel of `rect`, planes lo..hi, laid out with `rowBytes`: the layer's
// value inside it, `padding` outside.
void ExpectPixels(const std::vector<std::uint8_t>& buffer, int32 rowBytes, Rect rect, int lo,
                  int hi, const Layer& layer, std::uint8_t padding = 0) {
  const int columnBytes = hi - lo + 1;
  ASSERT_GE(buffer.size(), static_cast<std::size_t>(rowBytes) * rect.Height());
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const bool inside = x >= 0 && y >= 0 && x < layer.width && y < layer.height;
      for (int p = lo; p <= hi; ++p) {
        const std::size_t at = static_cast<std::size_t>(y - rect.top) * rowBytes +
                               static_cast<std::size_t>(x - rect.left) * columnBytes + (p - lo);
        const std::uint8_t expected = inside ? layer.At(x, y)[p] : padding;
        ASSERT_EQ(buffer[at], expected) << "pixel " << x << "," << y << " plane " << p;
      }
    }
  }
}

class SubstituteHostTest : public ::testing::Test {
 protected:
  SubstituteHostTest() { FakePlugin::Reset(); }
  ~SubstituteHostTest() override { FakePlugin::Reset(); }

  SubstituteHost host{MakeLayer(6, 5, 4)};
};

TEST_F(SubstituteHostTest, FillsTheRecordAsAHostDoesForALayerWithTransparency) {
  const FilterRecord& r = host.Record();
  EXPECT_EQ(r.planes, 4);
  EXPECT_EQ(r.imageSize.v, 5);
  EXPECT_EQ(r.imageSize.h, 6);
  EXPECT_EQ(r.wholeSize.v, 5);
  EXPECT_EQ(r.wholeSize.h, 6);
  EXPECT_EQ(r.filterRect, (Rect{0, 0, 5, 6}));
  EXPECT_EQ(r.imageMode, kImageModeRGB);
  EXPECT_EQ(r.serialNumber, 0);
  EXPECT_FALSE(r.isFloating);
  EXPECT_FALSE(r.haveMask);
  EXPECT_TRUE(r.supportsAbsolute);
  EXPECT_TRUE(r.supportsPadding);
  EXPECT_TRUE(r.parameters == nullptr);
  EXPECT_NE(r.hostSig, 0u);
  EXPECT_GT(r.maxSpace, 0);
  EXPECT_GT(r.bufferSpace, 0);
  EXPECT_EQ(r.inLayerPlanes, 3);
  EXPECT_EQ(r.absLayerPlanes, 3);
  EXPECT_EQ(r.outLayerPlanes, 3);
  EXPECT_EQ(r.inTransparencyMask, 1);
  EXPECT_EQ(r.absTransparencyMask, 1);
  EXPECT_EQ(r.outTransparencyMask, 1);
  EXPECT_EQ(r.outLayerMasks + r.outInvertedLayerMasks + r.outNonLayerPlanes, 0);
  EXPECT_EQ(r.absLayerMasks + r.absInvertedLayerMasks + r.absNonLayerPlanes, 0);
  EXPECT_NE(r.advanceState, nullptr);
  ASSERT_NE(r.handleProcs, nullptr);
  EXPECT_EQ(r.handleProcs->handleProcsVersion, 1);
  EXPECT_EQ(r.handleProcs->numHandleProcs, 8);
  EXPECT_NE(r.handleProcs->newProc, nullptr);
  EXPECT_NE(r.handleProcs->disposeProc, nullptr);
  EXPECT_NE(r.handleProcs->getSizeProc, nullptr);
  EXPECT_NE(r.handleProcs->setSizeProc, nullptr);
  EXPECT_NE(r.handleProcs->lockProc, nullptr);
  EXPECT_NE(r.handleProcs->unlockProc, nullptr);
  EXPECT_NE(r.handleProcs->recoverSpaceProc, nullptr);
  EXPECT_NE(r.handleProcs->disposeRegularHandleProc, nullptr);
}

TEST_F(SubstituteHostTest, OpaqueLayerHasThreePlanesAndNoTransparencyMask) {
  SubstituteHost opaque(MakeLayer(3, 2, 3), Rect{0, 1, 2, 3});
  const FilterRecord& r = opaque.Record();
  EXPECT_EQ(r.planes, 3);
  EXPECT_EQ(r.filterRect, (Rect{0, 1, 2, 3}));
  EXPECT_EQ(r.inLayerPlanes, 3);
  EXPECT_EQ(r.inTransparencyMask, 0);
  EXPECT_EQ(r.absTransparencyMask, 0);
  EXPECT_EQ(r.outTransparencyMask, 0);
}

TEST_F(SubstituteHostTest, RejectsALayerWhosePixelsDoNotMatchItsSize) {
  Layer bad = MakeLayer(3, 2, 4);
  bad.pixels.pop_back();
  EXPECT_THROW(SubstituteHost{bad}, std::invalid_argument);
}

// Deliveries ------------------------------------------------------------------

TEST_F(SubstituteHostTest, DeliversARectangleInsideTheLayerWithAllFourPlanes) {
  const Rect rect{1, 2, 4, 5};
  const Delivery d = Fetch(host, [&](FilterRecord& r) { Ask(r, rect, 0, 3); });
  ASSERT_EQ(d.result, 0);
  ASSERT_FALSE(d.inNull);
  EXPECT_EQ(d.inColumnBytes, 4);
  EXPECT_EQ(d.inRowBytes, 3 * 4);
  ExpectPixels(d.in, d.inRowBytes, rect, 0, 3, host.GetLayer());
  EXPECT_TRUE(d.outNull);
}

TEST_F(SubstituteHostTest, DeliversOnlyTheRequestedPlanes) {
  const Rect rect{0, 0, 5, 6};
  const Delivery rgb = Fetch(host, [&](FilterRecord& r) { Ask(r, rect, 0, 2); });
  ASSERT_EQ(rgb.result, 0);
  EXPECT_EQ(rgb.inColumnBytes, 3);
  EXPECT_EQ(rgb.inRowBytes, 6 * 3);
  ExpectPixels(rgb.in, rgb.inRowBytes, rect, 0, 2, host.GetLayer());

  const Delivery alpha = Fetch(host, [&](FilterRecord& r) { Ask(r, rect, 3, 3); });
  ASSERT_EQ(alpha.result, 0);
  EXPECT_EQ(alpha.inColumnBytes, 1);
  ExpectPixels(alpha.in, alpha.inRowBytes, rect, 3, 3, host.GetLayer());
}

TEST_F(SubstituteHostTest, PadsWithZeroWhereTheRequestReachesBeyondTheLayer) {
  const Rect rect{-2, -3, 7, 8};  // past every edge of the 6 x 5 layer
  const Delivery d = Fetch(host, [&](FilterRecord& r) { Ask(r, rect, 0, 3, rect, 0, 3); });
  ASSERT_EQ(d.result, 0);
  EXPECT_EQ(d.inRowBytes, 11 * 4);
  ExpectPixels(d.in, d.inRowBytes, rect, 0, 3, host.GetLayer());
  ExpectPixels(d.out, d.outRowBytes, rect, 0, 3, host.GetLayer());
}

TEST_F(SubstituteHostTest, DeliversOnlyPaddingForARectangleWhollyOutsideTheLayer) {
  const Rect rect{-4, 10, -1, 12};
  const Delivery d = Fetch(host, [&](FilterRecord& r) { Ask(r, rect, 0, 3); });
  ASSERT_EQ(d.result, 0);
  ASSERT_EQ(d.in.size(), 3u * 2 * 4);
  for (std::uint8_t byte : d.in) EXPECT_EQ(byte, 0);
}

TEST_F(SubstituteHostTest, HonoursAPaddingValueAndEdgeReplication) {
  const Rect rect{-1, -1, 6, 7};
  const Delivery white = Fetch(host, [&](FilterRecord& r) {
    Ask(r, rect, 0, 3);
    r.inputPadding = 255;
  });
  ASSERT_EQ(white.result, 0);
  ExpectPixels(white.in, white.inRowBytes, rect, 0, 3, host.GetLayer(), 255);

  const Delivery edge = Fetch(host, [&](FilterRecord& r) {
    Ask(r, rect, 0, 3);
    r.inputPadding = -1;
  });
  ASSERT_EQ(edge.result, 0);
  // The corner outside copies the layer's corner pixel.
  EXPECT_EQ(edge.in[0], Value(0, 0, 0));
  EXPECT_EQ(edge.in[3], Value(0, 0, 3));
}

TEST_F(SubstituteHostTest, DeliversAOneRowRequest) {
  const Rect row{3, 0, 4, 6};
  const Delivery d = Fetch(host, [&](FilterRecord& r) { Ask(r, row, 0, 3); });
  ASSERT_EQ(d.result, 0);
  EXPECT_EQ(d.in.size(), 6u * 4);
  ExpectPixels(d.in, d.inRowBytes, row, 0, 3, host.GetLayer());
}

TEST_F(SubstituteHostTest, InitialisesTheOutputWithTheLayersPixels) {
  const Rect in{0, 0, 1, 1};
  const Rect out{1, 1, 5, 4};
  const Delivery d = Fetch(host, [&](FilterRecord& r) { Ask(r, in, 0, 3, out, 0, 2); });
  ASSERT_EQ(d.result, 0);
  ASSERT_FALSE(d.outNull);
  EXPECT_EQ(d.outColumnBytes, 3);
  EXPECT_EQ(d.outRowBytes, 3 * 3);
  ExpectPixels(d.out, d.outRowBytes, out, 0, 2, host.GetLayer());
}

TEST_F(SubstituteHostTest, AnEmptyRectangleDeliversNothingForItsSide) {
  const Delivery outOnly = Fetch(host, [&](FilterRecord& r) {
    Ask(r, Rect{}, 0, 3, Rect{0, 0, 2, 2}, 0, 3);
  });
  EXPECT_EQ(outOnly.result, 0);
  EXPECT_TRUE(outOnly.inNull);
  EXPECT_FALSE(outOnly.outNull);

  // Right at left is empty too, whatever the other coordinates say.
  const Delivery none = Fetch(host, [&](FilterRecord& r) {
    Ask(r, Rect{0, 3, 4, 3}, 0, 3, Rect{}, 0, 3);
  });
  EXPECT_EQ(none.result, 0);
  EXPECT_TRUE(none.inNull);
  EXPECT_TRUE(none.outNull);
}

TEST_F(SubstituteHostTest, AnswersParamErrForPlanesTheLayerDoesNotHave) {
  SubstituteHost opaque(MakeLayer(4, 3, 3));
  const Rect rect{0, 0, 3, 4};
  const Delivery rgb = Fetch(opaque, [&](FilterRecord& r) { Ask(r, rect, 0, 2); });
  ASSERT_EQ(rgb.result, 0);
  ExpectPixels(rgb.in, rgb.inRowBytes, rect, 0, 2, opaque.GetLayer());

  const Delivery four = Fetch(opaque, [&](FilterRecord& r) { Ask(r, rect, 0, 3, rect, 0, 2); });
  EXPECT_EQ(four.result, kParamErr);
  EXPECT_TRUE(four.inNull);
  EXPECT_TRUE(four.outNull);
  const Delivery outFour = Fetch(opaque, [&](FilterRecord& r) { Ask(r, rect, 0, 2, rect, 0, 3); });
  EXPECT_EQ(outFour.result, kParamErr);
  const Delivery reversed = Fetch(host, [&](FilterRecord& r) { Ask(r, rect, 2, 1); });
  EXPECT_EQ(reversed.result, kParamErr);
  const Delivery negative = Fetch(host, [&](FilterRecord& r) { Ask(r, rect, -1, 2); });
  EXPECT_EQ(negative.result, kParamErr);

  ASSERT_EQ(opaque.Requests().size(), 3u);
  EXPECT_EQ(opaque.Requests()[1].result, kParamErr);
}

TEST_F(SubstituteHostTest, AnswersParamErrForAnInputRateOtherThanOne) {
  const Delivery d = Fetch(host, [&](FilterRecord& r) {
    Ask(r, Rect{0, 0, 2, 2}, 0, 3);
    r.inputRate = kFixedOne / 2;
  });
  EXPECT_EQ(d.result, kParamErr);
  EXPECT_TRUE(d.inNull);
}

TEST_F(SubstituteHostTest, RefusesPixelsOutsideTheLayerWhenThePlugInWantsNoPadding) {
  const Delivery d = Fetch(host, [&](FilterRecord& r) {
    Ask(r, Rect{-1, 0, 2, 2}, 0, 3);
    r.inputPadding = -2;
  });
  EXPECT_EQ(d.result, kParamErr);
}

TEST_F(SubstituteHostTest, PadsEveryRowToTheRowBytesItReports) {
  // Three planes and an odd width: 5 * 3 + 3 = 18 bytes a row, not a multiple of 4.
  SubstituteHost opaque(MakeLayer(5, 4, 3));
  opaque.SetRowPadding(3);
  const Rect rect{0, 0, 4, 5};
  const Delivery d = Fetch(opaque, [&](FilterRecord& r) { Ask(r, rect, 0, 2, rect, 0, 2); });
  ASSERT_EQ(d.result, 0);
  EXPECT_EQ(d.inRowBytes, 18);
  EXPECT_EQ(d.outRowBytes, 18);
  ExpectPixels(d.in, d.inRowBytes, rect, 0, 2, opaque.GetLayer());
  ExpectPixels(d.out, d.outRowBytes, rect, 0, 2, opaque.GetLayer());
}

TEST_F(SubstituteHostTest, BuffersAreGoneAfterTheSelectorCall) {
  RunStart(host, [](FilterRecord& r) {
    Ask(r, Rect{0, 0, 2, 2}, 0, 3, Rect{0, 0, 2, 2}, 0, 3);
    ASSERT_EQ(r.advanceState(), 0);
  });
  // Compared as values: the packed record may hold pointers off their alignment.
  EXPECT_TRUE(host.Record().inData == nullptr);
  EXPECT_TRUE(host.Record().outData == nullptr);
}

// Output ----------------------------------------------------------------------

TEST_F(SubstituteHostTest, WrittenOutputReachesTheLayerAtTheNextAdvanceState) {
  bool changedBeforeNextCall = true;
  bool changedAfterNextCall = false;
  RunStart(host, [&](FilterRecord& r) {
    Ask(r, Rect{}, 0, 3, Rect{1, 2, 2, 3}, 0, 3);
    ASSERT_EQ(r.advanceState(), 0);
    std::memcpy(r.outData, "\x10\x20\x30\x40", 4);
    changedBeforeNextCall = host.LayerChanged();
    r.outRect = Rect{};
    ASSERT_EQ(r.advanceState(), 0);
    changedAfterNextCall = host.LayerChanged();
  });
  EXPECT_FALSE(changedBeforeNextCall);
  EXPECT_TRUE(changedAfterNextCall);
  const std::uint8_t* pixel = host.GetLayer().At(2, 1);
  EXPECT_EQ(pixel[0], 0x10);
  EXPECT_EQ(pixel[1], 0x20);
  EXPECT_EQ(pixel[2], 0x30);
  EXPECT_EQ(pixel[3], 0x40);
}

TEST_F(SubstituteHostTest, TheLastOutputIsCommittedWhenTheCallEnds) {
  const Layer before = host.GetLayer();
  RunStart(host, [](FilterRecord& r) {
    Ask(r, Rect{0, 0, 5, 6}, 0, 3, Rect{0, 0, 5, 6}, 0, 3);
    ASSERT_EQ(r.advanceState(), 0);
    // Every pixel becomes its own inverse.
    auto* in = static_cast<const std::uint8_t*>(r.inData);
    auto* out = static_cast<std::uint8_t*>(r.outData);
    for (int i = 0; i < 5 * r.outRowBytes; ++i) out[i] = static_cast<std::uint8_t>(255 - in[i]);
  });
  EXPECT_TRUE(host.LayerChanged());
  for (std::size_t i = 0; i < before.pixels.size(); ++i)
    ASSERT_EQ(host.GetLayer().pixels[i], 255 - before.pixels[i]) << "byte " << i;
}

TEST_F(SubstituteHostTest, OutputBeyondTheLayerChangesOnlyPixelsInsideIt) {
  const Layer before = host.GetLayer();
  const Rect out{-2, 3, 3, 9};  // rows 0..2 and columns 3..5 of the layer
  RunStart(host, [&](FilterRecord& r) {
    Ask(r, Rect{}, 0, 3, out, 0, 2);
    ASSERT_EQ(r.advanceState(), 0);
    std::memset(r.outData, 0x77, static_cast<std::size_t>(r.outRowBytes) * out.Height());
  });
  const Layer& after = host.GetLayer();
  ASSERT_EQ(after.width, 6);
  ASSERT_EQ(after.height, 5);
  ASSERT_EQ(after.pixels.size(), before.pixels.size());
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) {
      const bool written = y < 3 && x >= 3;
      for (int p = 0; p < 4; ++p) {
        const std::uint8_t expected = written && p < 3 ? 0x77 : before.At(x, y)[p];
        ASSERT_EQ(after.At(x, y)[p], expected) << x << "," << y << " plane " << p;
      }
    }
  }
}

TEST_F(SubstituteHostTest, OutputOfOnePlaneLeavesTheOthers) {
  const Layer before = host.GetLayer();
  RunStart(host, [](FilterRecord& r) {
    Ask(r, Rect{}, 0, 3, Rect{0, 0, 5, 6}, 3, 3);
    ASSERT_EQ(r.advanceState(), 0);
    std::memset(r.outData, 0, static_cast<std::size_t>(r.outRowBytes) * 5);
  });
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(host.GetLayer().At(x, y)[3], 0);
      EXPECT_EQ(host.GetLayer().At(x, y)[0], before.At(x, y)[0]);
    }
  }
}

TEST_F(SubstituteHostTest, TheLayerCountsAsChangedOnlyWhenAByteDiffers) {
  RunStart(host, [](FilterRecord& r) {
    Ask(r, Rect{}, 0, 3, Rect{0, 0, 5, 6}, 0, 3);
    ASSERT_EQ(r.advanceState(), 0);  // output left as delivered
    ASSERT_EQ(r.advanceState(), 0);
    auto* out = static_cast<std::uint8_t*>(r.outData);
    const std::uint8_t kept = out[0];
    out[0] = static_cast<std::uint8_t>(kept + 1);
    out[0] = kept;  // changed and put back before the host looks
  });
  EXPECT_FALSE(host.LayerChanged());
}

TEST_F(SubstituteHostTest, OutputWithPaddedRowsLandsRowByRow) {
  SubstituteHost opaque(MakeLayer(5, 3, 3));
  opaque.SetRowPadding(1);
  RunStart(opaque, [](FilterRecord& r) {
    Ask(r, Rect{}, 0, 2, Rect{0, 0, 3, 5}, 0, 2);
    ASSERT_EQ(r.advanceState(), 0);
    ASSERT_EQ(r.outRowBytes, 16);
    auto* out = static_cast<std::uint8_t*>(r.outData);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) std::memset(out + y * r.outRowBytes + x * 3, 10 * y + x, 3);
  });
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      for (int p = 0; p < 3; ++p) EXPECT_EQ(opaque.GetLayer().At(x, y)[p], 10 * y + x);
}

// Failure injection and the request log ---------------------------------------

TEST_F(SubstituteHostTest, AnInjectedAdvanceStateFailureDeliversNothing) {
  host.FailAdvanceState(-30, 1);
  std::vector<Delivery> deliveries;
  RunStart(host, [&](FilterRecord& r) {
    Ask(r, Rect{0, 0, 2, 2}, 0, 3, Rect{0, 0, 2, 2}, 0, 3);
    deliveries.push_back(CallAdvance(r));
    std::memset(r.outData, 0, 16);
    deliveries.push_back(CallAdvance(r));
    deliveries.push_back(CallAdvance(r));
  });
  ASSERT_EQ(deliveries.size(), 3u);
  EXPECT_EQ(deliveries[0].result, 0);
  EXPECT_FALSE(deliveries[0].inNull);
  for (int i : {1, 2}) {
    EXPECT_EQ(deliveries[i].result, -30);
    EXPECT_TRUE(deliveries[i].inNull);
    EXPECT_TRUE(deliveries[i].outNull);
  }
  // What was written before the failing call still reached the layer.
  EXPECT_TRUE(host.LayerChanged());
  EXPECT_EQ(host.GetLayer().At(1, 1)[0], 0);

  host.FailAdvanceState(0);
  const Delivery healed = Fetch(host, [](FilterRecord& r) { Ask(r, Rect{0, 0, 1, 1}, 0, 3); });
  EXPECT_EQ(healed.result, 0);
  EXPECT_FALSE(healed.inNull);
}

TEST_F(SubstituteHostTest, LogsEveryAdvanceStateWithItsRequestAndAnswer) {
  RunStart(host, [](FilterRecord& r) {
    Ask(r, Rect{1, 2, 3, 4}, 0, 3, Rect{0, 0, 2, 2}, 1, 2);
    r.maskRect = Rect{5, 6, 7, 8};
    r.wantsAbsolute = true;
    r.maskRate = kFixedOne / 4;
    r.maskPadding = 7;
    r.advanceState();
    r.inputRate = 0;
    r.advanceState();
  });
  ASSERT_EQ(host.Requests().size(), 2u);
  const HostRequest& first = host.Requests()[0];
  EXPECT_EQ(first.inRect, (Rect{1, 2, 3, 4}));
  EXPECT_EQ(first.outRect, (Rect{0, 0, 2, 2}));
  EXPECT_EQ(first.maskRect, (Rect{5, 6, 7, 8}));
  EXPECT_EQ(first.inLoPlane, 0);
  EXPECT_EQ(first.inHiPlane, 3);
  EXPECT_EQ(first.outLoPlane, 1);
  EXPECT_EQ(first.outHiPlane, 2);
  EXPECT_TRUE(first.wantsAbsolute);
  EXPECT_EQ(first.inputRate, kFixedOne);
  EXPECT_EQ(first.maskRate, kFixedOne / 4);
  EXPECT_EQ(first.inputPadding, 0);
  EXPECT_EQ(first.outputPadding, 0);
  EXPECT_EQ(first.maskPadding, 7);
  EXPECT_EQ(first.result, 0);
  EXPECT_EQ(host.Requests()[1].inputRate, 0);
  EXPECT_EQ(host.Requests()[1].result, kParamErr);

  host.ClearRequests();
  EXPECT_TRUE(host.Requests().empty());
}

// Handles ---------------------------------------------------------------------

TEST_F(SubstituteHostTest, HandlesHoldTheirBytesAndReportTheirSize) {
  Handle h = nullptr;
  std::int32_t reportedSize = 0;
  std::string grown;
  RunStart(host, [&](FilterRecord& r) {
    HandleProcs& procs = *r.handleProcs;
    h = procs.newProc(10);
    ASSERT_NE(h, nullptr);
    Ptr p = procs.lockProc(h, true);
    ASSERT_NE(p, nullptr);
    std::memcpy(p, "abcdefghij", 10);
    procs.unlockProc(h);
    reportedSize = procs.getSizeProc(h);
    ASSERT_EQ(procs.setSizeProc(h, 4000), 0);
    grown.assign(procs.lockProc(h, false), 10);
  });
  EXPECT_EQ(reportedSize, 10);
  EXPECT_EQ(grown, "abcdefghij");
  EXPECT_EQ(host.HandleSize(h), 4000u);

  RunStart(host, [&](FilterRecord& r) { r.handleProcs->disposeProc(h); });
  EXPECT_EQ(host.HandleSize(h), 0u);
}

TEST_F(SubstituteHostTest, HandleSizeIsZeroForHandlesNotMadeByTheHost) {
  char block[4] = {};
  char* master = block;
  EXPECT_EQ(host.HandleSize(&master), 0u);
  EXPECT_EQ(host.HandleSize(nullptr), 0u);
}

TEST_F(SubstituteHostTest, InjectedHandleFailuresGiveNull) {
  host.FailNewHandle(true);
  Handle failed = reinterpret_cast<Handle>(1);
  RunStart(host, [&](FilterRecord& r) { failed = r.handleProcs->newProc(16); });
  EXPECT_EQ(failed, nullptr);

  host.FailNewHandle(false);
  host.FailLock(true);
  Handle made = nullptr;
  Ptr locked = reinterpret_cast<Ptr>(1);
  RunStart(host, [&](FilterRecord& r) {
    made = r.handleProcs->newProc(16);
    locked = r.handleProcs->lockProc(made, true);
  });
  EXPECT_NE(made, nullptr);
  EXPECT_EQ(locked, nullptr);
}

TEST_F(SubstituteHostTest, TheParameterHandleOutlivesTheRun) {
  // A plug-in that keeps a counter in its parameter block.
  FakePlugin::body = [](int16 selector, int16& result) {
    FilterRecord& r = *FakePlugin::record;
    if (selector != kSelectorParameters) return;
    if (r.parameters == nullptr) {
      r.parameters = r.handleProcs->newProc(1304);
      if (r.parameters == nullptr) {
        result = kNilHandleErr;
        return;
      }
      *r.handleProcs->lockProc(r.parameters, true) = 0;
    }
    ++*r.handleProcs->lockProc(r.parameters, true);
  };
  EXPECT_EQ(host.RunFilter(&FakePlugin::Entry), 0);
  const Handle first = host.ParameterHandle();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(host.HandleSize(first), 1304u);
  EXPECT_EQ(host.RunFilter(&FakePlugin::Entry), 0);
  EXPECT_EQ(host.ParameterHandle(), first);
  EXPECT_EQ(**first, 2);

  host.ForgetParameters();
  EXPECT_EQ(host.ParameterHandle(), nullptr);
  EXPECT_TRUE(host.Record().parameters == nullptr);
  host.FailNewHandle(true);
  EXPECT_EQ(host.RunFilter(&FakePlugin::Entry), kNilHandleErr);
  EXPECT_EQ(host.ParameterHandle(), nullptr);
}

// Selector calls --------------------------------------------------------------

TEST_F(SubstituteHostTest, CallReturnsTheIncomingResultWhenThePlugInLeavesIt) {
  EXPECT_EQ(host.Call(&FakePlugin::Entry, 7, -42), -42);
  FakePlugin::body = [](int16, int16& result) { result = -1; };
  EXPECT_EQ(host.Call(&FakePlugin::Entry, 7, -42), -1);
}

TEST_F(SubstituteHostTest, CallPassesTheDataCell) {
  host.SetDataCell(1234);
  intptr_t seen = 0;
  FakePlugin::body = [&](int16, int16&) {
    seen = *FakePlugin::data;
    *FakePlugin::data = 0;
  };
  host.Call(&FakePlugin::Entry, kSelectorPrepare);
  EXPECT_EQ(seen, 1234);
  EXPECT_EQ(host.DataCell(), 0);
}

TEST_F(SubstituteHostTest, AboutGetsAZeroedAboutRecordInPlaceOfTheFilterRecord) {
  bool zeroed = false;
  FakePlugin::body = [&](int16, int16&) {
    const auto* about = reinterpret_cast<const AboutRecord*>(FakePlugin::record);
    std::vector<char> zeros(sizeof(AboutRecord), 0);
    zeroed = std::memcmp(about, zeros.data(), sizeof(AboutRecord)) == 0;
  };
  EXPECT_EQ(host.RunAbout(&FakePlugin::Entry), 0);
  EXPECT_EQ(FakePlugin::selectors, (std::vector<int16>{kSelectorAbout}));
  EXPECT_NE(FakePlugin::record, &host.Record());
  EXPECT_TRUE(zeroed);
}

TEST_F(SubstituteHostTest, RunFilterCallsTheSelectorsInOrder) {
  EXPECT_EQ(host.RunFilter(&FakePlugin::Entry), 0);
  EXPECT_EQ(FakePlugin::selectors, (std::vector<int16>{kSelectorParameters, kSelectorPrepare,
                                                       kSelectorStart, kSelectorFinish}));
  EXPECT_EQ(FakePlugin::record, &host.Record());
}

TEST_F(SubstituteHostTest, RunFilterStopsAtTheFirstFailure) {
  FakePlugin::body = [](int16 selector, int16& result) {
    if (selector == kSelectorStart) result = kUserCanceledErr;
  };
  EXPECT_EQ(host.RunFilter(&FakePlugin::Entry), kUserCanceledErr);
  EXPECT_EQ(FakePlugin::selectors,
            (std::vector<int16>{kSelectorParameters, kSelectorPrepare, kSelectorStart}));

  FakePlugin::selectors.clear();
  FakePlugin::body = [](int16 selector, int16& result) {
    if (selector == kSelectorParameters) result = kParamErr;
  };
  EXPECT_EQ(host.RunFilter(&FakePlugin::Entry), kParamErr);
  EXPECT_EQ(FakePlugin::selectors, (std::vector<int16>{kSelectorParameters}));
}

}  // namespace
}  // namespace pictaro
