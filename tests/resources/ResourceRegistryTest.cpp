#include "resources/ResourceRegistry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "model/ColorTable.h"

namespace pictaro {
namespace {

std::uint32_t EntryOf(std::span<const std::uint8_t> table, std::size_t index) {
  return std::uint32_t{table[3 * index]} << 16 | std::uint32_t{table[3 * index + 1]} << 8 |
         table[3 * index + 2];
}

TEST(ResourceRegistryTest, SixteenColorTable) {
  const auto table = FindResource(kColorTableType, kColorTable16);
  ASSERT_TRUE(table);
  ASSERT_EQ(table->size(), 768u);
  const std::vector<std::uint32_t> expected = {
      0xFF00FF, 0x800080, 0x0000FF, 0x000080, 0x00FFFF, 0x008080, 0x00FF00, 0x008000,
      0xFFFF00, 0x808000, 0xFF0000, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x000000};
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(EntryOf(*table, i), expected[i]) << i;
  for (std::size_t i = 16; i < 256; ++i) EXPECT_EQ(EntryOf(*table, i), 0u) << i;
}

TEST(ResourceRegistryTest, TwoHundredFiftySixColorTable) {
  const auto table = FindResource(kColorTableType, kColorTable256);
  ASSERT_TRUE(table);
  ASSERT_EQ(table->size(), 768u);
  // The cube without black, red slowest; then the red, green, blue and grey ramps; black.
  const std::vector<std::pair<std::size_t, std::uint32_t>> expected = {
      {0, 0xFFFFFF},   {1, 0xFFFFCC},   {5, 0xFFFF00},   {6, 0xFFCCFF},   {35, 0xFF0000},
      {214, 0x000033}, {215, 0xEE0000}, {224, 0x110000}, {225, 0x00EE00}, {235, 0x0000EE},
      {244, 0x000011}, {245, 0xEEEEEE}, {254, 0x111111}, {255, 0x000000}};
  for (const auto& [index, rgb] : expected) EXPECT_EQ(EntryOf(*table, index), rgb) << index;
}

TEST(ResourceRegistryTest, OverridesHideAndReplaceWhileTheyLive) {
  EXPECT_FALSE(FindResource(kColorTableType, 1234));
  EXPECT_FALSE(FindResource("CURSOR", kColorTable16));
  ColorTable table{};
  {
    ResourceOverride hidden(kColorTableType, kColorTable256, std::nullopt);
    EXPECT_FALSE(FindResource(kColorTableType, kColorTable256));
    EXPECT_FALSE(LoadDefaultColorTable(kColorTable256, table));
    {
      ResourceOverride replaced(kColorTableType, kColorTable256, std::vector<std::uint8_t>(768, 7));
      ASSERT_TRUE(FindResource(kColorTableType, kColorTable256));
      EXPECT_TRUE(LoadDefaultColorTable(kColorTable256, table));
      EXPECT_EQ(table[767], 7);
    }
    EXPECT_FALSE(FindResource(kColorTableType, kColorTable256));
    EXPECT_TRUE(FindResource(kColorTableType, kColorTable16));
  }
  ASSERT_TRUE(LoadDefaultColorTable(kColorTable256, table));
  EXPECT_EQ(table[0], 0xFF);

  // Ended in another order than begun, each undoes only itself.
  auto first = std::make_unique<ResourceOverride>(kColorTableType, kColorTable16, std::nullopt);
  ResourceOverride shortened(kColorTableType, kColorTable16, std::vector<std::uint8_t>(767));
  first.reset();
  EXPECT_EQ(FindResource(kColorTableType, kColorTable16)->size(), 767u);
  EXPECT_FALSE(LoadDefaultColorTable(kColorTable16, table));
}

}  // namespace
}  // namespace pictaro
