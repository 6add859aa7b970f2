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

// `bytes` (a cursor's hot spot x and y), then a header and the bytes behind it.
Bytes Resource(int width, int height, int bits, std::uint32_t colors, const Bytes& rest,
               Bytes bytes = {}) {
  bytes.resize(bytes.size() + kBitmapInfoHeaderSize);
  WriteBitmapInfoHeader({40, width, height, 1, std::uint16_t(bits), 0, 0, 0, 0, colors, 0},
                        &bytes[bytes.size() - kBitmapInfoHeaderSize]);
  bytes.insert(bytes.end(), rest.begin(), rest.end());
  return bytes;
}

// Every pixel of a decoded picture, row by row from the top, or "none".
std::string PixelsOf(const std::optional<Raster>& raster) {
  std::string text = raster ? "" : "none";
  for (int y = 0; raster && y < raster->height; ++y)
    text.append(y ? " / " : "").append(testing::Hex(*raster, 0, y, raster->width));
  return text;
}

TEST(ResourcesTest, ColorTablesCursorsAndBitmapsHoldTheirArt) {
  std::string text;
  char line[64];
  for (int id : {kColorTable16, kColorTable256}) {
    const auto table = FindResource(kColorTableType, id).value_or(std::span<const std::uint8_t>());
    ASSERT_EQ(table.size(), 768u) << id;
    text.append(line, std::snprintf(line, sizeof line, "COLORTABLE %d", id));
    for (std::size_t i = 0; i < 768; i += 3) {
      text.append(line, std::snprintf(line, sizeof line, "%c%02X%02X%02X", i % 48 ? ' ' : '\n',
                                      table[i], table[i + 1], table[i + 2]));
    }
    text += '\n';
  }
  std::map<std::uint32_t, char> marks;
  for (int id : {kCursorHand, kCursorMove}) {
    const auto cursor = LoadCursorResource(id);
    ASSERT_TRUE(cursor);
    text.append(line, std::snprintf(line, sizeof line, "CURSOR %d, hot spot (%d, %d)\n", id,
                                    cursor->hotX, cursor->hotY));
    text += testing::PictureText(cursor->image, marks);
  }
  text += "BITMAP 1021\n" + testing::PictureText(LoadBitmapResource(kBitmapBullet).value());
  testing::ExpectMatchesReference(text, "resources/art.txt");
}

TEST(ResourcesTest, OverridesHideAndReplaceWhileTheyLive) {
  EXPECT_FALSE(FindResource(kColorTableType, 1234));
  EXPECT_FALSE(FindResource("CURSOR", kColorTable16));
  ColorTable table{};
  {
    ResourceOverride hidden(kColorTableType, kColorTable256, std::nullopt);
    EXPECT_FALSE(FindResource(kColorTableType, kColorTable256));
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
}

TEST(ResourcesTest, BitmapRowsChannelsAndCursorBitsOrNothingWhenDamaged) {
  // 3 x 2 at 24 bits, bottom-up (top-down when the height is negative), rows padded to 12 bytes;
  // 1 bit through a two-colour table; 32 bits with unused fourth bytes are opaque.
  const Bytes rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0};
  Bytes padded = rows;
  padded.push_back(0);
  const std::pair<Bytes, const char*> bitmaps[] = {
      {Resource(3, 2, 24, 0, rows), "none"},  // padding missing
      {Resource(3, 2, 24, 0, padded), "0d0c0bff 100f0eff 131211ff / 030201ff 060504ff 090807ff"},
      {Resource(3, -2, 24, 0, padded), "030201ff 060504ff 090807ff / 0d0c0bff 100f0eff 131211ff"},
      {Resource(2, 1, 1, 2, {10, 20, 30, 0, 40, 50, 60, 0, 0x40, 0, 0, 0}), "1e140aff 3c3228ff"},
      {Resource(1, 1, 32, 0, {1, 2, 3, 0}), "030201ff"}};
  for (const auto& [bytes, pixels] : bitmaps)
    EXPECT_EQ(PixelsOf(DecodeBitmapResource(bytes)), pixels);
  // A cursor row of AND 0 XOR 0, AND 0 XOR 1, AND 1 XOR 0, AND 1 XOR 1: black, white, the
  // screen, and the inverted screen shown black.
  const auto cursor = DecodeCursorResource(Resource(
      4, 2, 1, 0, {0, 0, 0, 0, 255, 255, 255, 0, 0x50, 0, 0, 0, 0x30, 0, 0, 0}, {1, 0, 0, 0}));
  ASSERT_TRUE(cursor);
  EXPECT_EQ(std::make_pair(cursor->hotX, cursor->hotY), std::make_pair(1, 0));
  EXPECT_EQ(PixelsOf(cursor->image), "000000ff ffffffff 00000000 000000ff");

  // Damaged resources give nothing.
  const auto hand = FindResource(kCursorType, kCursorHand).value();
  const auto logo = FindResource(kBitmapType, kBitmapLogo).value();
  EXPECT_FALSE(DecodeCursorResource({}));
  // A word set at an offset, or at offset -1 the last byte cut. The cursor's header follows its
  // hot spot (offset 0): biSize at 4, biHeight at 12. The bitmap's biSize is at 0, biWidth at 4,
  // biHeight at 8, biClrUsed at 32.
  const std::tuple<bool, int, std::uint32_t> damages[] = {
      {true, -1, 0},          {true, 12, 0xFFFFFFFE}, {true, 12, 0x7FFFFFFE},
      {true, 4, 12},          {true, 0, 32},          {false, -1, 0},
      {false, 8, 0x80000000}, {false, 8, 0x7FFFFFFF}, {false, 4, 0x40000000},
      {false, 0, 0x10000},    {false, 32, 0xFFFFFFFF}};
  for (const auto& [isCursor, offset, value] : damages) {
    Bytes bytes = isCursor ? Bytes(hand.begin(), hand.end()) : Bytes(logo.begin(), logo.end());
    offset < 0 ? bytes.pop_back() : PutU32(&bytes[offset], value);
    EXPECT_FALSE(isCursor ? DecodeCursorResource(bytes).has_value()
                          : DecodeBitmapResource(bytes).has_value())
        << isCursor << " " << offset;
  }
}

}  // namespace
}  // namespace pictaro
