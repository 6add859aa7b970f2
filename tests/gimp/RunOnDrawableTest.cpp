#include "gimp/RunOnDrawable.h"

#include <gtest/gtest.h>

#include <cstring>

namespace pictaro {
namespace {

// A drawable of GEGL buffers in memory, 16 bits a channel, as a deep GIMP image's would be.
struct FakeDrawable : DrawableAccess {
  const GeglRectangle whole{0, 0, 9, 7};
  const Babl* format = (gegl_init(nullptr, nullptr), babl_format("R'G'B'A u16"));
  GeglBuffer* source = gegl_buffer_new(&whole, format);
  GeglBuffer* shadow = gegl_buffer_new(&whole, format);
  bool there = true;
  bool narrows = false;  // whether the selection may be narrowed to the changed pixels
  std::optional<Rect> selection = Rect{1, 2, 6, 8};
  std::optional<Rect> merged;
  std::vector<std::uint8_t> stored;  // what the run left for the next one

  FakeDrawable() {
    std::vector<std::uint16_t> pixels(9 * 7 * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0x1234 + 0x101 * (i % 40);
    gegl_buffer_set(source, &whole, 0, nullptr, pixels.data(), GEGL_AUTO_ROWSTRIDE);
  }
  ~FakeDrawable() override {
    g_object_unref(source);
    g_object_unref(shadow);
  }
  int Width() override { return whole.width; }
  int Height() override { return whole.height; }
  bool HasAlpha() override { return true; }
  std::optional<Rect> SelectionBounds() override { return selection; }
  GeglBuffer* Buffer() override { return GEGL_BUFFER(g_object_ref(source)); }
  GeglBuffer* ShadowBuffer() override { return GEGL_BUFFER(g_object_ref(shadow)); }
  bool StillThere() override { return there; }
  bool NarrowSelectionTo(const Rect&) override { return narrows; }
  void MergeShadow(const Rect& area) override { merged = area; }
  std::vector<std::uint8_t> StoredParameters() override { return {1, 2, 3}; }
  void StoreParameters(const std::vector<std::uint8_t>& bytes) override { stored = bytes; }
  intptr_t HostWindow() override { return 0; }

  std::uint16_t Alpha(GeglBuffer* buffer, int x, int y) {
    std::uint16_t pixel[4];
    const GeglRectangle one{x, y, 1, 1};
    gegl_buffer_get(buffer, &one, 1.0, format, pixel, GEGL_AUTO_ROWSTRIDE, GEGL_ABYSS_NONE);
    return pixel[3];
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
    std::optional<Rect> selection;
    RunStatus status;
    bool narrows = false;
  } cases[] = {
      {{2, 3, 4, 8}, kNoErr, true, Rect{1, 2, 6, 8}, RunStatus::Ok},  // to the selection's edge
      {{2, 3, 4, 8}, kNoErr, true, Rect{1, 2, 6, 8}, RunStatus::Ok, true},  // the pixels alone
      {{1, 2, 2, 3}, kNoErr, true, Rect{1, 2, 6, 8}, RunStatus::Ok},        // its top left pixel
      {{}, kNoErr, true, Rect{1, 2, 6, 8}, RunStatus::Ok},  // Apply that changed nothing
      {{2, 3, 4, 8}, kUserCanceledErr, true, Rect{1, 2, 6, 8}, RunStatus::Cancelled},
      {{2, 3, 4, 8}, kNoErr, false, Rect{1, 2, 6, 8}, RunStatus::Failed},  // the image was closed
      {{2, 3, 4, 8}, kNoErr, true, std::nullopt, RunStatus::Failed},  // selection off the layer
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    FakeDrawable drawable;
    drawable.there = c.there;
    drawable.narrows = c.narrows;
    drawable.selection = c.selection;
    FakeModule::written = c.written;
    FakeModule::result = c.result;
    const RunOutcome outcome = RunOnDrawable(drawable, FakeModule::Entry);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.message.empty(), c.status != RunStatus::Failed);
    EXPECT_EQ(drawable.stored.size(), c.selection ? 3u : 0u);  // the block handed back
    const bool merges = c.status == RunStatus::Ok && !c.written.Empty();
    ASSERT_EQ(drawable.merged.has_value(), merges);
    if (!merges) continue;
    EXPECT_EQ(*drawable.merged, c.narrows ? c.written : *c.selection);
    // The whole selection is in the shadow, unless narrowed to the written pixels: those as
    // 8-bit 0xAB, the rest in their own 16 bits; nothing outside it.
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 9; ++x) {
        const bool in = x >= c.written.left && x < c.written.right && y >= c.written.top &&
                        y < c.written.bottom;
        const bool selected = x >= 2 && x < 8 && y >= 1 && y < 6 && !c.narrows;
        EXPECT_EQ(drawable.Alpha(drawable.shadow, x, y), in ? 0xABAB
                                                         : selected
                                                             ? drawable.Alpha(drawable.source, x, y)
                                                             : 0)
            << x << "," << y;
      }
  }
}

}  // namespace
}  // namespace pictaro
