#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/BitmapInfoHeader.h"
#include "model/ColorTable.h"
#include "model/LittleEndian.h"
#include "resources/ImageResources.h"
#include "resources/ResourceRegistry.h"
#include "support/ReferenceText.h"

namespace pictaro {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::Hex;

// A header and the bytes behind it; for a cursor the hot spot (x, y) comes first.
Bytes Resource(int width, int height, int bits, std::uint32_t colors, const Bytes& rest,
               std::optional<std::pair<std::uint16_t, std::uint16_t>> hotSpot = std::nullopt) {
  const std::size_t at = hotSpot ? 4 : 0;
  Bytes bytes(at + kBitmapInfoHeaderSize);
  if (hotSpot) PutU16(&bytes[0], hotSpot->first), PutU16(&bytes[2], hotSpot->second);
  WriteBitmapInfoHeader({40, width, height, 1, std::uint16_t(bits), 0, 0, 0, 0, colors, 0},
                        &bytes[at]);
  bytes.insert(bytes.end(), rest.begin(), rest.end());
  return bytes;
}

// Every pixel of a decoded picture, row by row from the top, or "none".
std::string PixelsOf(const std::optional<Raster>& raster) {
  std::string text = raster ? "" : "none";
  for (int y = 0; raster && y < raster->height; ++y)
    text.append(y ? " / " : "").append(Hex(*raster, 0, y, raster->width));
  return text;
}

Bytes Found(const char* type, int id) {
  const auto bytes = FindResource(type, id);
  return bytes ? Bytes(bytes->begin(), bytes->end()) : Bytes();
}

TEST(ResourcesTest, ColorTablesHoldTheirEntries) {
  std::string text;
  char entry[32];
  for (int id : {kColorTable16, kColorTable256}) {
    const auto table = FindResource(kColorTableType, id).value_or(std::span<const std::uint8_t>());
    ASSERT_EQ(table.size(), 768u) << id;
    std::snprintf(entry, sizeof entry, "COLORTABLE %d", id);
    text += entry;
    for (std::size_t i = 0; i < 768; i += 3) {
      std::snprintf(entry, sizeof entry, "%c%02X%02X%02X", i % 48 ? ' ' : '\n', table[i],
                    table[i + 1], table[i + 2]);
      text += entry;
    }
    text += '\n';
  }
  testing::ExpectMatchesReference(text, "resources/color-tables.txt");
}

TEST(ResourcesTest, OverridesHideAndReplaceWhileTheyLive) {
  EXPECT_FALSE(FindResource(kColorTableType, 1234));
  EXPECT_FALSE(FindResource("CURSOR", kColorTable16));
  ColorTable table{};
  {
    ResourceOverride hidden(kColorTableType, kColorTable256, std::nullopt);
    EXPECT_FALSE(FindResource(kColorTableType, kColorTable256));
    EXPECT_FALSE(LoadDefaultColorTable(kColorTable256, table));
    {
      ResourceOverride replaced(kColorTableType, kColorTable256, Bytes(768, 7));
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
  ResourceOverride shortened(kColorTableType, kColorTable16, Bytes(767));
  first.reset();
  EXPECT_EQ(FindResource(kColorTableType, kColorTable16)->size(), 767u);
  EXPECT_FALSE(LoadDefaultColorTable(kColorTable16, table));
}

TEST(ResourcesTest, CursorsAndBitmapsShowTheirArt) {
  std::string text;
  std::map<std::uint32_t, char> marks;
  for (int id : {kCursorHand, kCursorMove}) {
    const auto cursor = LoadCursorResource(id);
    ASSERT_TRUE(cursor);
    char title[64];
    std::snprintf(title, sizeof title, "CURSOR %d, hot spot (%d, %d)\n", id, cursor->hotX,
                  cursor->hotY);
    text.append(title).append(testing::PictureText(cursor->image, marks));
  }
  testing::ExpectMatchesReference(text, "resources/cursors.txt");
  EXPECT_EQ(testing::PictureText(LoadBitmapResource(kBitmapBullet).value_or(Raster())),
            ". bcc1cbff\n# 1e3052ff\n.##.\n####\n####\n.##.\n");
  // A light background, the frame around it drawn by the window.
  const auto logo = LoadBitmapResource(kBitmapLogo);
  ASSERT_TRUE(logo);
  EXPECT_EQ(std::make_tuple(logo->width, logo->height, logo->At(284, 65)[3]),
            std::make_tuple(285, 66, 255));
  EXPECT_GT(logo->At(0, 0)[0], 200);
}

TEST(ResourcesTest, BitmapRowsChannelsAndCursorBits) {
  // 3 x 2 at 24 bits, bottom-up (top-down when the height is negative), rows padded to 12 bytes.
  const Bytes rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0};
  EXPECT_EQ(PixelsOf(DecodeBitmapResource(Resource(3, 2, 24, 0, rows))),
            "none");  // padding missing
  Bytes padded = rows;
  padded.push_back(0);
  EXPECT_EQ(PixelsOf(DecodeBitmapResource(Resource(3, 2, 24, 0, padded))),
            "0d0c0bff 100f0eff 131211ff / 030201ff 060504ff 090807ff");
  EXPECT_EQ(PixelsOf(DecodeBitmapResource(Resource(3, -2, 24, 0, padded))),
            "030201ff 060504ff 090807ff / 0d0c0bff 100f0eff 131211ff");
  // 1 bit through a two-colour table; 32 bits with unused fourth bytes are opaque.
  EXPECT_EQ(PixelsOf(DecodeBitmapResource(
                Resource(2, 1, 1, 2, {10, 20, 30, 0, 40, 50, 60, 0, 0x40, 0, 0, 0}))),
            "1e140aff 3c3228ff");
  EXPECT_EQ(PixelsOf(DecodeBitmapResource(Resource(1, 1, 32, 0, {1, 2, 3, 0}))), "030201ff");
  // A cursor row of AND 0 XOR 0, AND 0 XOR 1, AND 1 XOR 0, AND 1 XOR 1: black, white, the
  // screen, and the inverted screen shown black.
  const auto cursor = DecodeCursorResource(
      Resource(4, 2, 1, 0, {0, 0, 0, 0, 255, 255, 255, 0, 0x50, 0, 0, 0, 0x30, 0, 0, 0}, {{1, 0}}));
  ASSERT_TRUE(cursor);
  EXPECT_EQ(std::make_pair(cursor->hotX, cursor->hotY), std::make_pair(1, 0));
  EXPECT_EQ(PixelsOf(cursor->image), "000000ff ffffffff 00000000 000000ff");
}

TEST(ResourcesTest, DamagedResourcesGiveNothing) {
  const Bytes hand = Found(kCursorType, kCursorHand), logo = Found(kBitmapType, kBitmapLogo);
  ASSERT_FALSE(hand.empty() || logo.empty());
  EXPECT_FALSE(DecodeCursorResource({}));
  // A word set at an offset, or at offset -1 the last byte cut. The cursor's header follows its
  // hot spot (offset 0): biSize at 4, biHeight at 12. The bitmap's biSize is at 0, biWidth at 4,
  // biHeight at 8, biClrUsed at 32.
  const std::tuple<bool, int, std::uint32_t> damages[] = {
      {true, -1, 0},          {true, 12, 0xFFFFFFFE}, {true, 12, 0x7FFFFFFE},
      {true, 4, 12},          {true, 0, 32},          {false, -1, 0},
      {false, 8, 0x80000000}, {false, 8, 0x7FFFFFFF}, {false, 4, 0x40000000},
      {false, 0, 0x10000},    {false, 32, 0xFFFFFFFF}};
  for (const auto& [cursor, offset, value] : damages) {
    Bytes bytes = cursor ? hand : logo;
    offset < 0 ? bytes.pop_back() : PutU32(&bytes[offset], value);
    EXPECT_FALSE(cursor ? DecodeCursorResource(bytes).has_value()
                        : DecodeBitmapResource(bytes).has_value())
        << cursor << " " << offset;
  }
  // A hidden or damaged resource is not loaded.
  {
    ResourceOverride hidden(kCursorType, kCursorHand, std::nullopt);
    EXPECT_FALSE(LoadCursorResource(kCursorHand));
  }
  ResourceOverride cut(kBitmapType, kBitmapLogo, Bytes(logo.begin(), logo.begin() + 100));
  EXPECT_FALSE(LoadBitmapResource(kBitmapLogo));
}

}  // namespace
}  // namespace pictaro
