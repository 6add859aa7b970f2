#include "host/ColorTableGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

#include "host/LayerAccess.h"
#include "substitute/SubstituteHost.h"

namespace pictaro {
namespace {

using Rgb = std::array<int, 3>;

// All 256 entries of a table that started scribbled on.
std::vector<Rgb> Entries(const ColorTable& table) {
  std::vector<Rgb> entries;
  for (std::size_t i = 0; i < kColorTableEntries; ++i)
    entries.push_back({table[3 * i], table[3 * i + 1], table[3 * i + 2]});
  return entries;
}
std::vector<Rgb> Cut(const ColorHistogram& histogram) {
  ColorTable table;
  table.fill(0x5A);
  MedianCut(histogram, table);
  return Entries(table);
}
// The first entries as given, the rest black.
std::vector<Rgb> Padded(std::vector<Rgb> entries) {
  entries.resize(kColorTableEntries, Rgb{0, 0, 0});
  return entries;
}

TEST(MedianCutTest, BoxesSplitInOrderAndGiveTheirCellCentres) {
  const std::pair<std::vector<Rgb>, std::vector<Rgb>> cases[] = {
      {{}, {}},  // no colour at all: black
      {{{255, 0, 128}, {255, 0, 128}}, {{254, 2, 130}}},
      // Equal colour counts: the lower box goes first.
      {{{0, 0, 0}, {0, 16, 0}, {0, 236, 0}, {0, 252, 0}},
       {{2, 2, 2}, {2, 238, 2}, {2, 18, 2}, {2, 254, 2}}},
      // The middle cell, rounded down, stays with the lower box.
      {{{0, 0, 0}, {0, 128, 0}, {0, 252, 0}}, {{2, 2, 2}, {2, 130, 2}, {2, 254, 2}}},
      // Equal sides: green before red, green before blue.
      {{{0, 0, 0}, {255, 255, 0}, {255, 0, 0}}, {{2, 2, 2}, {254, 254, 2}, {254, 2, 2}}},
      {{{0, 0, 0}, {0, 255, 255}, {0, 255, 0}}, {{2, 2, 2}, {2, 254, 2}, {2, 254, 254}}},
  };
  for (const auto& [colours, entries] : cases) {
    ColorHistogram histogram;
    for (const Rgb& c : colours) histogram.Add(c[0], c[1], c[2]);
    EXPECT_EQ(Cut(histogram), Padded(entries));
  }

  // 512 colours on an 8 x 8 x 8 lattice fill every entry with a distinct box colour.
  ColorHistogram lattice;
  for (int i = 0; i < 512; ++i) lattice.Add(i % 8 * 32, i / 8 % 8 * 32, i / 64 * 32);
  const std::vector<Rgb> entries = Cut(lattice);
  EXPECT_EQ(std::set<Rgb>(entries.begin(), entries.end()).size(), kColorTableEntries);
  for (const Rgb& entry : entries) ASSERT_GE(*std::min_element(entry.begin(), entry.end()), 2);
}

TEST(MedianCutTest, ACellCountsAtMost65535AndBoxColoursRound) {
  ColorHistogram histogram;
  for (int i = 0; i < 70001; ++i) histogram.Add(9, 9, 9);
  EXPECT_EQ(histogram.Count(2, 2, 2), 65535);

  // 255 colours 32 apart, and a pair 24 apart in red on their own: 257 cells for 256 boxes, so
  // the tightest pair, (0, 255, 255) x 150000 and (24, 255, 255) x 30000, stays one box.
  ColorHistogram pair;
  for (int i = 0; i < 255; ++i) pair.Add(i % 8 * 32, i / 8 % 4 * 32, i / 32 * 32);
  for (int i = 0; i < 150000; ++i) pair.Add(0, 255, 255);
  for (int i = 0; i < 30000; ++i) pair.Add(24, 255, 255);
  // Red (65535 x 2 + 30000 x 26) / 95535 = 9.54, rounded; unsaturated it would be 6.
  std::vector<Rgb> greens;
  for (const Rgb& entry : Cut(pair))
    if (entry[1] == 254) greens.push_back(entry);
  EXPECT_EQ(greens, (std::vector<Rgb>{{10, 254, 254}}));
}

TEST(ColorTableGeneratorTest, CountsTheViewRowByRow) {
  // The view, columns 1 and 2 of rows 1 to 3, holds black beside blue (fully transparent when
  // there is a transparency plane); the red around it is not counted.
  for (const int planes : {4, 3}) {
    Layer layer{4, 5, planes, std::vector<std::uint8_t>(std::size_t(4 * 5 * planes))};
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 4; ++x) {
        const bool inView = x >= 1 && x <= 2 && y >= 1 && y <= 3, blue = inView && x == 2;
        const std::uint8_t pixel[] = {std::uint8_t(inView ? 0 : 255), 0,
                                      std::uint8_t(blue ? 255 : 0), std::uint8_t(blue ? 0 : 255)};
        std::copy_n(pixel, planes, layer.At(x, y));
      }
    }
    SubstituteHost host(layer);
    const Rect view{1, 1, 4, 3};
    ColorTable table;
    table.fill(0x5A);
    host.RunInside([&](HostContext& context) {
      RequestLayerRect(*context.record, view);
      GenerateColorTable(context, table);
    });
    EXPECT_EQ(Entries(table), Padded({{2, 2, 2}, {2, 2, 254}})) << planes;
    // One row at a time, then the view again.
    std::vector<Rect> asked;
    for (const HostRequest& r : host.Requests()) asked.push_back(r.inRect);
    EXPECT_EQ(asked, (std::vector<Rect>{{1, 1, 2, 3}, {2, 1, 3, 3}, {3, 1, 4, 3}, view}));
  }
}

}  // namespace
}  // namespace pictaro
