#include "host/ColorTableGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

#include "host/LayerAccess.h"
#include "hostengine/HostEngine.h"
#include "support/ReferenceText.h"
#include "support/SampleLayer.h"

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
  for (const auto& [n, what] : testing::NumberRows("host/median-cut.txt")) {
    std::vector<Rgb> rgb;  // the colours, then the entries
    for (std::size_t i = 1; i + 2 < n.size(); i += 3)
      rgb.push_back({int(n[i]), int(n[i + 1]), int(n[i + 2])});
    ColorHistogram histogram;
    for (int i = 0; i < n[0]; ++i) histogram.Add(rgb[i][0], rgb[i][1], rgb[i][2]);
    EXPECT_EQ(Cut(histogram), Padded({rgb.begin() + n[0], rgb.end()})) << what;
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
  // there is a transparency plane); the pattern around it is not counted.
  for (const int planes : {4, 3}) {
    Layer layer = testing::Patterned(4, 5, planes);
    for (int i = 0; i < 6; ++i) {
      const std::uint8_t blue = i % 2 * 255, pixel[] = {0, 0, blue, std::uint8_t(255 - blue)};
      std::copy_n(pixel, planes, layer.At(1 + i % 2, 1 + i / 2));
    }
    HostEngine host(layer);
    const Rect view{1, 1, 4, 3};
    ColorTable table;
    table.fill(0x5A);
    host.RunInside([&](HostContext& context) {
      RequestLayerRect(*context.record, view);
      GenerateColorTable(context, table);
    });
    EXPECT_EQ(Entries(table), Padded({{2, 2, 2}, {2, 2, 254}})) << planes;
  }
}

}  // namespace
}  // namespace pictaro
