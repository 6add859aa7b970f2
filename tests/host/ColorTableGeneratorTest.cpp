#include "host/ColorTableGenerator.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

#include "host/LayerAccess.h"
#include "substitute/SubstituteHost.h"

namespace pictaro {
namespace {

using Rgb = std::array<int, 3>;

Rgb Entry(const ColorTable& table, int i) {
  return {table[3 * i], table[3 * i + 1], table[3 * i + 2]};
}

// Entries from `first` on are all black.
void ExpectBlackFrom(const ColorTable& table, int first) {
  for (int i = first; i < static_cast<int>(kColorTableEntries); ++i)
    ASSERT_EQ(Entry(table, i), (Rgb{0, 0, 0})) << "entry " << i;
}

ColorTable Scribbled() {
  ColorTable table;
  table.fill(0x5A);
  return table;
}

// The first `count` entries for an area holding each of `colours` once.
std::vector<Rgb> Cut(const std::vector<Rgb>& colours, int count) {
  ColorHistogram histogram;
  for (const Rgb& c : colours) histogram.Add(c[0], c[1], c[2]);
  ColorTable table = Scribbled();
  MedianCut(histogram, table);
  ExpectBlackFrom(table, count);
  std::vector<Rgb> entries;
  for (int i = 0; i < count; ++i) entries.push_back(Entry(table, i));
  return entries;
}

TEST(MedianCutTest, OneColourGivesItsCellCentreAndNoColourGivesBlack) {
  Cut({}, 0);
  EXPECT_EQ(Cut({{255, 0, 128}, {255, 0, 128}}, 1), (std::vector<Rgb>{{254, 2, 130}}));
}

TEST(MedianCutTest, SplitsTheMostColourfulThenTheLongestSide) {
  // Equal colour counts: the lower box goes first.
  EXPECT_EQ(Cut({{0, 0, 0}, {0, 16, 0}, {0, 236, 0}, {0, 252, 0}}, 4),
            (std::vector<Rgb>{{2, 2, 2}, {2, 238, 2}, {2, 18, 2}, {2, 254, 2}}));
  // The middle cell, rounded down, stays with the lower box.
  EXPECT_EQ(Cut({{0, 0, 0}, {0, 128, 0}, {0, 252, 0}}, 3),
            (std::vector<Rgb>{{2, 2, 2}, {2, 130, 2}, {2, 254, 2}}));
  // Equal sides: green before red, green before blue.
  EXPECT_EQ(Cut({{0, 0, 0}, {255, 255, 0}, {255, 0, 0}}, 3),
            (std::vector<Rgb>{{2, 2, 2}, {254, 254, 2}, {254, 2, 2}}));
  EXPECT_EQ(Cut({{0, 0, 0}, {0, 255, 255}, {0, 255, 0}}, 3),
            (std::vector<Rgb>{{2, 2, 2}, {2, 254, 2}, {2, 254, 254}}));
}

TEST(MedianCutTest, ManyColoursFillEveryEntryWithADistinctBoxColour) {
  // 512 colours on an 8 x 8 x 8 lattice.
  ColorHistogram histogram;
  for (int b = 0; b < 256; b += 32)
    for (int g = 0; g < 256; g += 32)
      for (int r = 0; r < 256; r += 32) histogram.Add(r, g, b);
  ColorTable table = Scribbled();
  MedianCut(histogram, table);
  std::set<Rgb> colours;
  for (int i = 0; i < static_cast<int>(kColorTableEntries); ++i) {
    const Rgb entry = Entry(table, i);
    for (int channel : entry) ASSERT_GE(channel, 2) << "entry " << i;
    colours.insert(entry);
  }
  EXPECT_EQ(colours.size(), kColorTableEntries);
}

TEST(MedianCutTest, ACellCountsAtMost65535) {
  ColorHistogram histogram;
  for (int i = 0; i < 70000; ++i) histogram.Add(9, 9, 9);
  histogram.Add(9, 9, 9);
  EXPECT_EQ(histogram.Count(2, 2, 2), 65535);

  // 255 colours 32 apart, and a pair 24 apart in red on their own: 257 cells for 256 boxes, so
  // the tightest pair, (0, 255, 255) x 150000 and (24, 255, 255) x 30000, stays one box.
  ColorHistogram pair;
  int added = 0;
  for (int b = 0; b < 256 && added < 255; b += 32)
    for (int g = 0; g < 128 && added < 255; g += 32)
      for (int r = 0; r < 256 && added < 255; r += 32, ++added) pair.Add(r, g, b);
  for (int i = 0; i < 150000; ++i) pair.Add(0, 255, 255);
  for (int i = 0; i < 30000; ++i) pair.Add(24, 255, 255);
  ColorTable table = Scribbled();
  MedianCut(pair, table);
  // Red (65535 x 2 + 30000 x 26) / 95535 = 9.54, rounded; unsaturated it would be 6.
  int found = 0;
  for (int i = 0; i < static_cast<int>(kColorTableEntries); ++i) {
    const Rgb entry = Entry(table, i);
    if (entry[1] != 254) continue;
    EXPECT_EQ(entry, (Rgb{10, 254, 254})) << "entry " << i;
    ++found;
  }
  EXPECT_EQ(found, 1);
}

// A layer whose columns 1 and 2 of rows 1 to 3 hold black and a fully transparent blue; the rest
// is red, outside the view.
Layer BlackAndHiddenBlue() {
  Layer layer{4, 5, 4, {}};
  layer.pixels.resize(4 * 5 * 4);
  for (int y = 0; y < layer.height; ++y) {
    for (int x = 0; x < layer.width; ++x) {
      std::uint8_t* pixel = layer.At(x, y);
      const bool inView = x >= 1 && x <= 2 && y >= 1 && y <= 3;
      const bool blue = inView && (x + y) % 2 == 0;
      pixel[0] = inView ? 0 : 255;
      pixel[1] = 0;
      pixel[2] = blue ? 255 : 0;
      pixel[3] = blue ? 0 : 255;
    }
  }
  return layer;
}

TEST(ColorTableGeneratorTest, CountsTheViewRowByRowAndLeavesTheRequestAsFound) {
  SubstituteHost host(BlackAndHiddenBlue());
  const Rect view{1, 1, 4, 3};
  ColorTable table = Scribbled();
  FilterRecord before{};
  host.RunInside([&](HostContext& context) {
    RequestLayerRect(*context.record, view);
    context.record->advanceState();
    before = *context.record;
    host.ClearRequests();
    GenerateColorTable(context, table);

    const FilterRecord& after = *context.record;
    EXPECT_EQ(after.inRect, view);
    EXPECT_EQ(after.outRect, before.outRect);
    EXPECT_EQ(after.maskRect, before.maskRect);
    EXPECT_EQ(after.inLoPlane, before.inLoPlane);
    EXPECT_EQ(after.inHiPlane, before.inHiPlane);
    EXPECT_EQ(after.outHiPlane, before.outHiPlane);
    EXPECT_EQ(after.wantsAbsolute, before.wantsAbsolute);
    EXPECT_EQ(after.inputRate, before.inputRate);
    // The view's pixels are delivered again.
    ASSERT_NE(after.inData, nullptr);
    EXPECT_EQ(CurrentLayerImage(after).Pixel(0, 0)[0], 0);
  });

  // Black and blue split along blue; the transparent blue counts as stored.
  EXPECT_EQ(Entry(table, 0), (Rgb{2, 2, 2}));
  EXPECT_EQ(Entry(table, 1), (Rgb{2, 2, 254}));
  ExpectBlackFrom(table, 2);

  const std::vector<HostRequest>& requests = host.Requests();
  ASSERT_EQ(requests.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    const auto top = static_cast<int16>(view.top + i);
    EXPECT_EQ(requests[i].inRect, (Rect{top, 1, static_cast<int16>(top + 1), 3})) << i;
    EXPECT_TRUE(requests[i].outRect.Empty()) << i;
    EXPECT_EQ(requests[i].result, kNoErr) << i;
  }
  EXPECT_EQ(requests[3].inRect, view);
  EXPECT_EQ(requests[3].outRect, view);
}

TEST(ColorTableGeneratorTest, AnEmptyViewGivesAnAllBlackTable) {
  SubstituteHost host(BlackAndHiddenBlue());
  ColorTable table = Scribbled();
  host.RunInside([&](HostContext& context) {
    RequestLayerRect(*context.record, Rect{});
    GenerateColorTable(context, table);
  });
  ExpectBlackFrom(table, 0);
  EXPECT_TRUE(host.Requests().empty());
}

}  // namespace
}  // namespace pictaro
