#include "gimp/RunOnDrawable.h"

#include <gtest/gtest.h>

#include <cstring>

namespace pictaro {
namespace {

// A drawable of GEGL buffers in memory, 16 bits a channel, as a deep GIMP image's would be.
struct FakeDrawable : DrawableAccess {
  static constexpr int kWidth = 9, kHeight = 7;
  GeglBuffer* source;
  GeglBuffer* shadow;
  bool there = true;
  std::optional<Rect> selection = Rect{1, 2, 6, 8};
  std::optional<Rect> merged;
  std::vector<std::uint8_t> stored;  // what the run left for the next one

  FakeDrawable() {
    gegl_init(nullptr, nullptr);  // once per process; later calls return at once
    const GeglRectangle whole{0, 0, kWidth, kHeight};
    source = gegl_buffer_new(&whole, babl_format("R'G'B'A u16"));
    shadow = gegl_buffer_new(&whole, babl_format("R'G'B'A u16"));
    std::vector<std::uint16_t> pixels(kWidth * kHeight * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0x1234 + 0x101 * (i % 40);
    gegl_buffer_set(source, &whole, 0, nullptr, pixels.data(), GEGL_AUTO_ROWSTRIDE);
  }
  ~FakeDrawable() override {
    g_object_unref(source);
    g_object_unref(shadow);
  }
  int Width() override { return kWidth; }
  int Height() override { return kHeight; }
  bool HasAlpha() override { return true; }
  std::optional<Rect> SelectionBounds() override { return selection; }
  GeglBuffer* Buffer() override { return GEGL_BUFFER(g_object_ref(source)); }
  GeglBuffer* ShadowBuffer() override { return GEGL_BUFFER(g_object_ref(shadow)); }
  bool StillThere() override { return there; }
  void MergeShadow(const Rect& area) override { merged = area; }
  std::vector<std::uint8_t> StoredParameters() override { return {1, 2, 3}; }
  void StoreParameters(const std::vector<std::uint8_t>& bytes) override { stored = bytes; }
  intptr_t HostWindow() override { return 0; }

  std::uint16_t Channel(GeglBuffer* buffer, int x, int y, int c) {
    std::uint16_t pixel[4];
    const GeglRectangle one{x, y, 1, 1};
    gegl_buffer_get(buffer, &one, 1.0, babl_format("R'G'B'A u16"), pixel, GEGL_AUTO_ROWSTRIDE,
                    GEGL_ABYSS_NONE);
    return pixel[c];
  }
};

// The stand-in module: its Start writes byte 0xAB into every plane of `written`, or answers
// `result` without writing.
struct FakeModule {
  static inline Rect written{};
  static inline int16 result = kNoErr;
  static void Entry(int16 selector, FilterRecord* record, intptr_t*, int16* out) {
    *out = result;
    if (selector != kSelectorStart || result != kNoErr || written.Empty()) return;
    record->outRect = written;
    record->outLoPlane = 0;
    record->outHiPlane = static_cast<int16>(record->planes - 1);
    record->advanceState();
    for (int y = 0; y < written.Height(); ++y)
      std::memset(static_cast<std::uint8_t*>(record->outData) + y * record->outRowBytes, 0xAB,
                  static_cast<std::size_t>(written.Width() * record->planes));
  }
};

TEST(RunOnDrawable, WritesBackExactlyTheChangedPixelsAndOnlyToALayerThatIsStillThere) {
  struct Case {
    Rect written;
    int16 result;
    bool there;
    RunStatus status;
    bool merges;
  } cases[] = {
      {{2, 3, 4, 8}, kNoErr, true, RunStatus::Ok, true},  // up to the selection's right edge
      {{1, 2, 2, 3}, kNoErr, true, RunStatus::Ok, true},  // one pixel at its top left
      {{}, kNoErr, true, RunStatus::Ok, false},           // Apply that changed nothing
      {{2, 3, 4, 8}, kUserCanceledErr, true, RunStatus::Cancelled, false},
      {{2, 3, 4, 8}, kNoErr, false, RunStatus::Failed, false},  // the image was closed meanwhile
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.written.left << "," << c.written.top << " " << c.result << " " << c.there);
    FakeDrawable drawable;
    drawable.there = c.there;
    FakeModule::written = c.written;
    FakeModule::result = c.result;
    const std::uint16_t outside = drawable.Channel(drawable.source, 1, 2, 0);
    const RunOutcome outcome = RunOnDrawable(drawable, FakeModule::Entry);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.message.empty(), c.status != RunStatus::Failed);
    EXPECT_EQ(drawable.stored, (std::vector<std::uint8_t>{1, 2, 3}));
    ASSERT_EQ(drawable.merged.has_value(), c.merges);
    if (!c.merges) continue;
    EXPECT_EQ(drawable.merged->right, 8);
    // Every pixel of the selection is in the shadow: the written ones as 8-bit 0xAB, the rest
    // in their own 16 bits.
    for (int y = 1; y < 6; ++y)
      for (int x = 2; x < 8; ++x) {
        const bool in = x >= c.written.left && x < c.written.right && y >= c.written.top &&
                        y < c.written.bottom;
        EXPECT_EQ(drawable.Channel(drawable.shadow, x, y, 3),
                  in ? 0xABAB : drawable.Channel(drawable.source, x, y, 3))
            << x << "," << y;
      }
    EXPECT_EQ(drawable.Channel(drawable.shadow, 1, 2, 0), 0);
    EXPECT_EQ(drawable.Channel(drawable.source, 1, 2, 0), outside);
  }
}

TEST(RunOnDrawable, RefusesASelectionOutsideTheLayer) {
  FakeDrawable drawable;
  drawable.selection = std::nullopt;
  const RunOutcome outcome = RunOnDrawable(drawable, FakeModule::Entry);
  EXPECT_EQ(outcome.status, RunStatus::Failed);
  EXPECT_EQ(outcome.message, "Pictaro: the selection does not touch the layer.");
}

}  // namespace
}  // namespace pictaro
