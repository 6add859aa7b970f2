#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
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

Bytes Header(int width, int height, int bits, std::uint32_t colorsUsed = 0) {
  Bytes bytes(kBitmapInfoHeaderSize);
  WriteBitmapInfoHeader(
      {40, width, height, 1, static_cast<std::uint16_t>(bits), 0, 0, 0, 0, colorsUsed, 0},
      bytes.data());
  return bytes;
}

Bytes Found(const char* type, int id) {
  const auto bytes = FindResource(type, id);
  return bytes ? Bytes(bytes->begin(), bytes->end()) : Bytes();
}

Bytes With(Bytes bytes, std::size_t offset, std::uint32_t value) {
  PutU32(bytes.data() + offset, value);
  return bytes;
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
  for (int id : {kCursorHand, kCursorMove}) {
    const auto cursor = LoadCursorResource(id);
    ASSERT_TRUE(cursor);
    char title[64];
    std::snprintf(title, sizeof title, "CURSOR %d, hot spot (%d, %d)\n", id, cursor->hotX,
                  cursor->hotY);
    text += title;
    text += testing::PictureText(cursor->image, {{0, '.'}, {0x000000ff, '#'}, {0xffffffff, 'o'}});
  }
  testing::ExpectMatchesReference(text, "resources/cursors.txt");

  const auto bullet = LoadBitmapResource(kBitmapBullet);
  ASSERT_TRUE(bullet);
  EXPECT_EQ(testing::PictureText(*bullet, {{0xbcc1cbff, 'o'}, {0x1e3052ff, '#'}}),
            "o##o\n####\n####\no##o\n");
  // A light background, the frame around it drawn by the window.
  const auto logo = LoadBitmapResource(kBitmapLogo);
  ASSERT_TRUE(logo);
  EXPECT_EQ(std::make_pair(logo->width, logo->height), std::make_pair(285, 66));
  EXPECT_GT(logo->At(0, 0)[0], 200);
  EXPECT_EQ(logo->At(284, 65)[3], 255);
}

TEST(ResourcesTest, BitmapRowsChannelsAndCursorBits) {
  // 3 x 2 at 24 bits, bottom-up, each row padded from 9 to 12 bytes.
  Bytes bytes = Header(3, 2, 24);
  bytes.insert(bytes.end(),
               {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19});
  EXPECT_FALSE(DecodeBitmapResource(bytes));  // the last row's padding is missing
  bytes.resize(bytes.size() + 3);
  auto raster = DecodeBitmapResource(bytes);
  ASSERT_TRUE(raster);
  EXPECT_EQ(Hex(*raster, 0, 1) + " " + Hex(*raster, 2, 0), "030201ff 131211ff");
  // Top-down when the height is negative.
  raster =
      DecodeBitmapResource(With(bytes, header_offset::kHeight, static_cast<std::uint32_t>(-2)));
  ASSERT_TRUE(raster);
  EXPECT_EQ(Hex(*raster, 0, 0), "030201ff");

  // 1 bit through a two-colour table; 32 bits with unused fourth bytes are opaque.
  Bytes mono = Header(2, 1, 1, 2);
  mono.insert(mono.end(), {10, 20, 30, 0, 40, 50, 60, 0, 0x40, 0, 0, 0});
  raster = DecodeBitmapResource(mono);
  ASSERT_TRUE(raster);
  EXPECT_EQ(Hex(*raster, 0, 0, 2), "1e140aff 3c3228ff");
  Bytes wide = Header(1, 1, 32);
  wide.insert(wide.end(), {1, 2, 3, 0});
  raster = DecodeBitmapResource(wide);
  ASSERT_TRUE(raster);
  EXPECT_EQ(Hex(*raster, 0, 0), "030201ff");

  // Hot spot (1, 0), then one row of four pixels: AND 0 XOR 0, AND 0 XOR 1, AND 1 XOR 0,
  // AND 1 XOR 1.
  Bytes cursorBytes = {1, 0, 0, 0};
  const Bytes header = Header(4, 2, 1);
  cursorBytes.insert(cursorBytes.end(), header.begin(), header.end());
  cursorBytes.insert(cursorBytes.end(),
                     {0, 0, 0, 0, 255, 255, 255, 0, 0x50, 0, 0, 0, 0x30, 0, 0, 0});
  const auto cursor = DecodeCursorResource(cursorBytes);
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->hotX, 1);
  EXPECT_EQ(Hex(cursor->image, 0, 0, 4), "000000ff ffffffff 00000000 000000ff");
}

TEST(ResourcesTest, DamagedResourcesGiveNothing) {
  const Bytes hand = Found(kCursorType, kCursorHand), logo = Found(kBitmapType, kBitmapLogo);
  ASSERT_FALSE(hand.empty() || logo.empty());
  const std::size_t cursorHeader = 4;  // behind the hot spot
  EXPECT_FALSE(DecodeCursorResource(Bytes(hand.begin(), hand.end() - 1)));
  EXPECT_FALSE(DecodeCursorResource({}));
  EXPECT_FALSE(DecodeCursorResource(With(hand, cursorHeader + header_offset::kHeight, 0xFFFFFFFE)));
  EXPECT_FALSE(DecodeCursorResource(With(hand, cursorHeader + header_offset::kHeight, 0x7FFFFFFE)));
  EXPECT_FALSE(DecodeCursorResource(With(hand, cursorHeader + header_offset::kSize, 12)));
  EXPECT_FALSE(DecodeCursorResource(With(hand, 0, 32)));  // hot spot (32, 0) off the image

  EXPECT_FALSE(DecodeBitmapResource(Bytes(logo.begin(), logo.end() - 1)));
  EXPECT_FALSE(DecodeBitmapResource(With(logo, header_offset::kHeight, 0x80000000)));
  EXPECT_FALSE(DecodeBitmapResource(With(logo, header_offset::kHeight, 0x7FFFFFFF)));
  EXPECT_FALSE(DecodeBitmapResource(With(logo, header_offset::kWidth, 0x40000000)));
  EXPECT_FALSE(DecodeBitmapResource(With(logo, header_offset::kSize, 0x10000)));
  EXPECT_FALSE(DecodeBitmapResource(With(logo, header_offset::kClrUsed, 0xFFFFFFFF)));

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
