#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <tuple>
#include <vector>

#include "model/BitmapInfoHeader.h"
#include "model/ResourceGrid.h"

namespace pictaro {
namespace {

constexpr std::int32_t kMaxI32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinI32 = std::numeric_limits<std::int32_t>::min();

BitmapInfoHeader Header(std::int32_t width, std::int32_t doubledHeight, std::uint16_t bitCount,
                        std::uint16_t planes = 1, std::uint32_t clrUsed = 0,
                        std::uint32_t size = 40) {
  return {size, width, doubledHeight, planes, bitCount, 0, 0, 0, 0, clrUsed, 0};
}

bool NoViews(const IconResource& r) {
  return r.header == nullptr && r.colorBits == nullptr && r.maskBits == nullptr;
}

// The header followed by `size` - 40 bytes of pattern, cut to `size` bytes.
std::vector<std::uint8_t> Block(const BitmapInfoHeader& h, std::size_t size) {
  std::vector<std::uint8_t> bytes(std::max<std::size_t>(size, 40));
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
  WriteBitmapInfoHeader(h, bytes.data());
  bytes.resize(size);
  return bytes;
}

TEST(BitmapInfoHeaderTest, ReadsAndWritesLittleEndianFields) {
  const std::uint8_t bytes[40] = {
      44,   0,    0, 0, 0x00, 0x01, 0, 0, 0xC0, 0xFF, 0xFF, 0xFF, 2, 0, 0x20, 0, 0, 0, 0, 0,
      0x10, 0x27, 0, 0, 0,    0,    0, 0, 0,    0,    0,    0,    5, 0, 1,    0, 0, 0, 0, 0};
  const BitmapInfoHeader h = ReadBitmapInfoHeader(bytes);
  EXPECT_EQ(std::tie(h.biSize, h.biWidth, h.biHeight, h.biPlanes, h.biBitCount, h.biSizeImage,
                     h.biClrUsed),
            std::make_tuple(44u, 256, -64, 2u, 32u, 10000u, 0x10005u));
  std::uint8_t written[40] = {};
  WriteBitmapInfoHeader(h, written);
  EXPECT_TRUE(std::equal(std::begin(bytes), std::end(bytes), std::begin(written)));
}

TEST(ParseResourceTest, ValidBlocksGetTheirHeadersView) {
  EXPECT_EQ(ResourceGrid::ParseResource(nullptr), 0);
  const struct {
    const char* what;
    BitmapInfoHeader h;
    std::size_t size;
    std::uint32_t width, height, depth, colorCount;
    std::ptrdiff_t colorOffset, maskOffset;
  } cases[] = {
      {"5 used colours", Header(16, 32, 8, 1, 5), 380, 16, 16, 8, 5, 60, 316},
      {"low half of used colours", Header(16, 32, 8, 1, 0x10005), 2000, 16, 16, 8, 5, 60, 316},
      {"low half 0: no table", Header(16, 32, 8, 1, 0x10000), 2000, 16, 16, 8, 0, 40, 296},
      {"8 bits", Header(16, 32, 8), 1384, 16, 16, 8, 256, 1064, 1320},
      {"1 bit", Header(16, 32, 1), 40 + 8 + 64 + 64, 16, 16, 1, 2, 48, 112},
      {"4 bits on 2 planes", Header(16, 32, 4, 2), 40 + 64 + 256 + 64, 16, 16, 8, 16, 104, 360},
      {"24 bits", Header(16, 32, 24), 40 + 768 + 64, 16, 16, 24, 0, 40, 808},
      {"56-byte header", Header(16, 32, 4, 1, 0, 56), 56 + 64 + 128 + 64, 16, 16, 4, 16, 120, 248},
      {"32 bits", Header(32, 64, 32), 4264, 32, 32, 32, 0, 40, 4136},
      {"odd height", Header(16, 33, 32), 1128, 16, 16, 32, 0, 40, 1064},
      {"mask to the last byte", Header(16, 32, 4), 296, 16, 16, 4, 16, 104, 232},
      {"256 x 256", Header(256, 512, 32), 270376, 256, 256, 32, 0, 40, 262184},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    IconResource resource;
    resource.present = 1;
    resource.modified = 1;
    ASSERT_EQ(resource.AdoptBlock(Block(c.h, c.size)), 1);
    EXPECT_EQ(resource.blockSize, c.size);
    ASSERT_EQ(ResourceGrid::ParseResource(&resource), 1);
    EXPECT_EQ(resource.present, 0);  // the reader decides that
    EXPECT_EQ(resource.modified, 1);
    EXPECT_EQ(std::tie(resource.width, resource.height, resource.depth, resource.colorCount),
              std::tie(c.width, c.height, c.depth, c.colorCount));
    EXPECT_EQ(resource.header, resource.block.data());
    EXPECT_EQ(resource.colorBits - resource.block.data(), c.colorOffset);
    EXPECT_EQ(resource.maskBits - resource.block.data(), c.maskOffset);
  }
}

// Each must be refused without leaving any pointer into the block.
TEST(ParseResourceTest, HostileHeadersAreRefused) {
  const struct {
    const char* what;
    BitmapInfoHeader h;
    std::size_t size;
  } cases[] = {
      {"empty block", Header(16, 32, 4), 0},
      {"block shorter than a header", Header(16, 32, 4), 39},
      {"header size 39", Header(16, 32, 32, 1, 0, 39), 2000},
      {"header size 0", Header(16, 32, 32, 1, 0, 0), 2000},
      {"header beyond the block", Header(16, 32, 32, 1, 0, 2001), 2000},
      {"header size max", Header(16, 32, 32, 1, 0, 0xFFFFFFFF), 2000},
      {"used colours beyond the block", Header(16, 32, 8, 1, 0xFFFF), 2000},
      {"default table beyond the block", Header(16, 32, 8), 40 + 1020},
      {"colour bitmap 1 byte short", Header(16, 32, 32), 40 + 1024 - 1},
      {"huge width", Header(kMaxI32, 32, 32), 4096},
      {"huge height", Header(16, 0x7FFFFFFE, 32), 4096},
      {"huge width and height", Header(kMaxI32, kMaxI32, 32), 4096},
      {"no mask", Header(16, 32, 32), 40 + 1024},
      {"mask 1 byte short, 8 bits", Header(48, 96, 8), 3752 - 1},
      {"mask 1 byte short, 4 bits", Header(16, 32, 4), 296 - 1},
      {"negative height", Header(16, -32, 32), 2000},
      {"height 1", Header(16, 1, 32), 2000},
      {"height 0", Header(16, 0, 32), 2000},
      {"height min", Header(16, kMinI32, 32), 2000},
      {"width 0", Header(0, 32, 32), 2000},
      {"negative width", Header(-16, 32, 32), 2000},
      {"width min", Header(kMinI32, 32, 32), 2000},
      {"no planes", Header(16, 32, 32, 0), 2000},
      {"bit count 0", Header(16, 32, 0), 2000},
      {"planes x bits beyond 32 bits", Header(16, 32, 0xFFFF, 0xFFFF), 4096},
      {"... with a huge width", Header(kMaxI32, 32, 0xFFFF, 0xFFFF), 4096},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    IconResource resource;
    ASSERT_EQ(resource.AdoptBlock(Block(c.h, c.size)), 1);
    static std::uint8_t stale;
    resource.header = resource.colorBits = resource.maskBits = &stale;
    EXPECT_EQ(ResourceGrid::ParseResource(&resource), 0);
    EXPECT_TRUE(NoViews(resource));
  }

  // The block's own length counts, not blockSize.
  IconResource resource;
  ASSERT_EQ(resource.AdoptBlock(Block(Header(16, 32, 4), 296)), 1);
  resource.block.resize(100);  // shrunk in place, as no caller should
  EXPECT_EQ(ResourceGrid::ParseResource(&resource), 0);
}

}  // namespace
}  // namespace pictaro
