#include "resources/ImageResources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "model/BitmapInfoHeader.h"
#include "model/LittleEndian.h"
#include "resources/ResourceRegistry.h"

namespace pictaro {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Header(int width, int height, int bits, std::uint32_t colorsUsed = 0) {
  BitmapInfoHeader header;
  header.biSize = kBitmapInfoHeaderSize;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<std::uint16_t>(bits);
  header.biClrUsed = colorsUsed;
  Bytes bytes(kBitmapInfoHeaderSize);
  WriteBitmapInfoHeader(header, bytes.data());
  return bytes;
}

Bytes Found(const char* type, int id) {
  const auto bytes = FindResource(type, id);
  return bytes ? Bytes(bytes->begin(), bytes->end()) : Bytes();
}

std::vector<int> PixelOf(const Raster& raster, int x, int y) {
  const std::uint8_t* p = raster.At(x, y);
  return {p[0], p[1], p[2], p[3]};
}

TEST(ImageResourcesTest, CursorsShowTheirArtAroundTheHotSpot) {
  const auto hand = LoadCursorResource(kCursorHand);
  ASSERT_TRUE(hand);
  ASSERT_EQ(hand->image.width, 32);
  ASSERT_EQ(hand->image.height, 32);
  EXPECT_EQ(hand->hotX, 12);
  EXPECT_EQ(hand->hotY, 8);
  // The fingertip's outline under the hot spot, white inside the finger, the screen around.
  EXPECT_EQ(PixelOf(hand->image, 12, 8), (std::vector<int>{0, 0, 0, 255}));
  EXPECT_EQ(PixelOf(hand->image, 12, 10), (std::vector<int>{255, 255, 255, 255}));
  EXPECT_EQ(hand->image.At(12, 7)[3], 0);
  EXPECT_EQ(hand->image.At(0, 0)[3], 0);
  EXPECT_EQ(hand->image.At(31, 31)[3], 0);

  const auto move = LoadCursorResource(kCursorMove);
  ASSERT_TRUE(move);
  EXPECT_EQ(move->hotX, 16);
  EXPECT_EQ(move->hotY, 15);
  EXPECT_EQ(PixelOf(move->image, 16, 15), (std::vector<int>{0, 0, 0, 255}));
  EXPECT_EQ(move->image.At(0, 0)[3], 0);
}

TEST(ImageResourcesTest, BitmapsHaveTheirSizes) {
  const auto logo = LoadBitmapResource(kBitmapLogo);
  ASSERT_TRUE(logo);
  EXPECT_EQ(logo->width, 285);
  EXPECT_EQ(logo->height, 66);
  // A light background, the frame around it drawn by the window.
  EXPECT_GT(logo->At(0, 0)[0], 200);
  EXPECT_EQ(logo->At(284, 65)[3], 255);

  const auto bullet = LoadBitmapResource(kBitmapBullet);
  ASSERT_TRUE(bullet);
  EXPECT_EQ(bullet->width, 4);
  EXPECT_EQ(bullet->height, 4);
  EXPECT_LT(bullet->At(1, 1)[0], bullet->At(0, 0)[0]);
}

TEST(ImageResourcesTest, BitmapRowsAndChannels) {
  // 3 x 2 at 24 bits, bottom-up, each row padded from 9 to 12 bytes.
  Bytes bytes = Header(3, 2, 24);
  const Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  auto raster = DecodeBitmapResource(bytes);
  ASSERT_FALSE(raster);  // the last row's padding is missing
  bytes.resize(bytes.size() + 3);
  raster = DecodeBitmapResource(bytes);
  ASSERT_TRUE(raster);
  EXPECT_EQ(PixelOf(*raster, 0, 1), (std::vector<int>{3, 2, 1, 255}));
  EXPECT_EQ(PixelOf(*raster, 2, 0), (std::vector<int>{19, 18, 17, 255}));

  // Top-down when the height is negative.
  PutU32(bytes.data() + header_offset::kHeight, static_cast<std::uint32_t>(-2));
  raster = DecodeBitmapResource(bytes);
  ASSERT_TRUE(raster);
  EXPECT_EQ(PixelOf(*raster, 0, 0), (std::vector<int>{3, 2, 1, 255}));

  // 1 bit through a two-colour table; 32 bits with unused fourth bytes are opaque.
  Bytes mono = Header(2, 1, 1, 2);
  mono.insert(mono.end(), {10, 20, 30, 0, 40, 50, 60, 0, 0x40, 0, 0, 0});
  raster = DecodeBitmapResource(mono);
  ASSERT_TRUE(raster);
  EXPECT_EQ(PixelOf(*raster, 0, 0), (std::vector<int>{30, 20, 10, 255}));
  EXPECT_EQ(PixelOf(*raster, 1, 0), (std::vector<int>{60, 50, 40, 255}));
  Bytes wide = Header(1, 1, 32);
  wide.insert(wide.end(), {1, 2, 3, 0});
  raster = DecodeBitmapResource(wide);
  ASSERT_TRUE(raster);
  EXPECT_EQ(PixelOf(*raster, 0, 0), (std::vector<int>{3, 2, 1, 255}));
}

TEST(ImageResourcesTest, CursorMaskAndColourBits) {
  // One row of four pixels: AND 0 XOR 0, AND 0 XOR 1, AND 1 XOR 0, AND 1 XOR 1.
  Bytes bytes = {1, 0, 0, 0};
  const Bytes header = Header(4, 2, 1);
  bytes.insert(bytes.end(), header.begin(), header.end());
  bytes.insert(bytes.end(), {0, 0, 0, 0, 255, 255, 255, 0, 0x50, 0, 0, 0, 0x30, 0, 0, 0});
  const auto cursor = DecodeCursorResource(bytes);
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->hotX, 1);
  EXPECT_EQ(PixelOf(cursor->image, 0, 0), (std::vector<int>{0, 0, 0, 255}));
  EXPECT_EQ(PixelOf(cursor->image, 1, 0), (std::vector<int>{255, 255, 255, 255}));
  EXPECT_EQ(PixelOf(cursor->image, 2, 0), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(PixelOf(cursor->image, 3, 0), (std::vector<int>{0, 0, 0, 255}));
}

TEST(ImageResourcesTest, DamagedResourcesGiveNothing) {
  const Bytes hand = Found(kCursorType, kCursorHand);
  const Bytes logo = Found(kBitmapType, kBitmapLogo);
  ASSERT_FALSE(hand.empty());
  ASSERT_FALSE(logo.empty());
  const auto damaged = [](Bytes bytes, std::size_t offset, std::uint32_t value) {
    PutU32(bytes.data() + offset, value);
    return bytes;
  };
  const std::size_t cursorHeader = 4;

  EXPECT_FALSE(DecodeCursorResource(Bytes(hand.begin(), hand.end() - 1)));
  EXPECT_FALSE(DecodeCursorResource({}));
  EXPECT_FALSE(
      DecodeCursorResource(damaged(hand, cursorHeader + header_offset::kHeight, 0xFFFFFFFE)));
  EXPECT_FALSE(
      DecodeCursorResource(damaged(hand, cursorHeader + header_offset::kHeight, 0x7FFFFFFE)));
  EXPECT_FALSE(DecodeCursorResource(damaged(hand, cursorHeader + header_offset::kSize, 12)));
  EXPECT_FALSE(DecodeCursorResource(damaged(hand, 0, 32)));  // hot spot (32, 0) off the image

  EXPECT_FALSE(DecodeBitmapResource(Bytes(logo.begin(), logo.end() - 1)));
  EXPECT_FALSE(DecodeBitmapResource(damaged(logo, header_offset::kHeight, 0x80000000)));
  EXPECT_FALSE(DecodeBitmapResource(damaged(logo, header_offset::kHeight, 0x7FFFFFFF)));
  EXPECT_FALSE(DecodeBitmapResource(damaged(logo, header_offset::kWidth, 0x40000000)));
  EXPECT_FALSE(DecodeBitmapResource(damaged(logo, header_offset::kSize, 0x10000)));
  EXPECT_FALSE(DecodeBitmapResource(damaged(logo, header_offset::kClrUsed, 0xFFFFFFFF)));

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
