#include "model/ResourceGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "model/BitmapInfoHeader.h"
#include "model/LittleEndian.h"
#include "model/ResourcePixels.h"
#include "support/ReferenceText.h"

namespace pictaro {
namespace {

using Bytes = std::vector<std::uint8_t>;
using std::make_tuple;

auto Tie(const ResourceBuffers& b) {
  return std::tie(b.colorBits, b.colorRowBytes, b.maskBits, b.maskRowBytes, b.colorTable,
                  b.colorCount);
}

bool AllZero(auto begin, auto end) {
  return std::all_of(begin, end, [](std::uint8_t b) { return b == 0; });
}

// The header (biSize 40 unless given) followed by a pattern, `size` bytes in all.
Bytes Block(std::int32_t width, std::int32_t doubledHeight, std::uint16_t bits,
            std::uint16_t planes, std::uint32_t clrUsed, std::size_t size,
            std::uint32_t hsize = 40) {
  Bytes bytes(std::max<std::size_t>(size, 40));
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
  WriteBitmapInfoHeader({hsize, width, doubledHeight, planes, bits, 0, 0, 0, 0, clrUsed, 0},
                        bytes.data());
  bytes.resize(size);
  return bytes;
}

TEST(GridSlotTest, DerivedValuesCopiesAndRadios) {
  EXPECT_EQ(GridSlot(), GridSlot(3, 2, 1, 0));
  std::vector<std::uint32_t> pixels;
  for (std::uint32_t size : {0u, 1u, 2u, 3u, 4u, 5u, ~0u})
    pixels.push_back(GridSlot(size, 0, 0).PixelSize());
  EXPECT_EQ(pixels, (std::vector<std::uint32_t>{16, 24, 32, 48, 256, 0, 0}));
  // Values the radios do not know show as the first radio of their group.
  EXPECT_EQ((std::vector{GridSlot(5, 0, 0).SizeRadioId(), GridSlot(0, 3, 0).DepthRadioId(),
                         GridSlot(0, 0, 1).MaskRadioId(), GridSlot(0, 0, 2).MaskRadioId(),
                         GridSlot(0, 0, 0, 3).ViewRadioId()}),
            (std::vector{1031, 1035, 1040, 1039, 1045}));
  GridSlot withoutView(4, 2, 1, 1), withView = withoutView;
  withoutView.CopyFrom(GridSlot(1, 1, 0, 2), false);
  withView.CopyFrom(GridSlot(1, 1, 0, 2), true);
  EXPECT_EQ(make_tuple(withoutView, withView),
            make_tuple(GridSlot(1, 1, 0, 1), GridSlot(1, 1, 0, 2)));

  for (const auto& [n, name] : testing::NumberRows("model/selection-radios.txt")) {
    GridSlot slot(n[0], n[1], n[2], n[3]);
    EXPECT_EQ(SelectByRadio(slot, n[4]), n[9] == 1) << name;
    EXPECT_EQ(slot, GridSlot(n[5], n[6], n[7], n[8])) << name;
  }
}

TEST(ResourceGridTest, EveryGridPositionGetsItsIndexBlockAndViews) {
  const auto kinds = testing::NumberRows("model/grid-resources.txt");
  ASSERT_EQ(kinds.size(), 13u);
  ResourceGrid grid;
  for (int index = 0; index < ResourceGrid::kResourceCount; ++index) {
    SCOPED_TRACE(index);
    const std::vector<long long>& n = kinds[index].numbers;
    const GridSlot slot(n[0], n[1], n[2]);
    const std::uint32_t pixels = n[3], depth = n[4], blockSize = n[5], colorRow = n[6],
                        maskRow = n[7];
    EXPECT_EQ(make_tuple(ResourceGrid::IndexOf(pixels, pixels, depth), ResourceGrid::IndexOf(slot)),
              make_tuple(index, index));
    grid.PrepareResource(slot);
    const IconResource& r = grid.resources[index];
    ASSERT_EQ(make_tuple(r.present, r.modified, r.block.size()), make_tuple(1, 1, blockSize));
    EXPECT_EQ(std::tie(r.width, r.height, r.depth, r.blockSize),
              std::tie(pixels, pixels, depth, blockSize));
    // The height counts colour bitmap and mask; planes 1 and the bit count share a word.
    const std::uint32_t header[10] = {40, pixels, 2 * pixels, 1 | depth << 16};
    for (int w = 0; w < 10; ++w) EXPECT_EQ(GetU32(r.block.data() + 4 * w), header[w]) << w;
    // Colour index 0 or transparent black, and an all-opaque mask.
    EXPECT_TRUE(AllZero(r.block.begin() + 40, r.block.end()));
    const std::uint32_t colors = depth <= 8 ? 1u << depth : 0;
    EXPECT_EQ(make_tuple(r.header, r.colorBits, r.maskBits, r.maskBits + pixels * maskRow),
              make_tuple(r.block.data(), r.block.data() + 40 + 4 * colors,
                         r.colorBits + pixels * colorRow, r.block.data() + r.block.size()));
    ResourceBuffers b;
    ASSERT_TRUE(grid.GetBuffers(slot, b));
    EXPECT_EQ(Tie(b), Tie({r.colorBits, colorRow, r.maskBits, maskRow, r.header + 40, colors}));
  }
  EXPECT_EQ(grid.CountPresent(), 13);

  const std::uint32_t outside[][3] = {{256, 256, 4}, {256, 256, 8}, {16, 16, 16}, {16, 16, 24},
                                      {16, 16, 1},   {24, 16, 4},   {64, 64, 32}, {0, 0, 32}};
  for (const auto& o : outside) EXPECT_EQ(ResourceGrid::IndexOf(o[0], o[1], o[2]), -1) << o[0];
  // A slot counts an unknown size as 16 and an unknown depth as 4 bits; 256 x 256 is 32-bit only.
  EXPECT_EQ(
      (std::vector{
          ResourceGrid::IndexOf(GridSlot(4, 0, 0)), ResourceGrid::IndexOf(GridSlot(4, 1, 0)),
          ResourceGrid::IndexOf(GridSlot(5, 2, 1)), ResourceGrid::IndexOf(GridSlot(~0u, 2, 1)),
          ResourceGrid::IndexOf(GridSlot(2, 7, 0))}),
      (std::vector{-1, -1, 12, 12, 1}));
}

TEST(ResourceGridTest, PrepareKeepsAPresentBlockAndReplacesAForeignOne) {
  ResourceGrid grid;
  const GridSlot slot(0, 1, 0);             // 16 x 16, 8-bit
  grid.PrepareResource(GridSlot(4, 0, 0));  // no such resource
  EXPECT_EQ(make_tuple(grid.CountPresent(), grid.AnyModified()), make_tuple(0, 0));

  // Present: the pixels and mask stay, the header is written afresh.
  grid.PrepareResource(slot);
  IconResource& r = grid.resources[7];
  const std::uint8_t* block = r.block.data();
  for (std::size_t i = 40; i < r.block.size(); ++i) r.block[i] = static_cast<std::uint8_t>(i * 7);
  const Bytes pixels(r.block.begin() + 40, r.block.end());
  r.block[20] = 0x55;  // biSizeImage, as a file may carry it
  r.modified = 0;
  grid.PrepareResource(slot);
  EXPECT_EQ(make_tuple(r.block.data(), r.modified, r.block[20]), make_tuple(block, 1, 0));
  EXPECT_EQ(Bytes(r.block.begin() + 40, r.block.end()), pixels);

  // Read from a file with a 5-entry table: the fresh header's views would overrun it.
  ASSERT_EQ(r.AdoptBlock(Block(16, 32, 8, 1, 5, 380)), 1);
  ASSERT_EQ(ResourceGrid::ParseResource(&r), 1);
  r.present = 1;
  grid.PrepareResource(slot);
  ASSERT_EQ(make_tuple(r.present, r.block.size(), r.blockSize), make_tuple(1, 1384u, 1384u));
  EXPECT_EQ(make_tuple(r.colorBits - r.header, r.maskBits - r.header), make_tuple(1064, 1320));
  EXPECT_TRUE(AllZero(r.block.begin() + 40, r.block.end()));
}

TEST(ResourceGridTest, EmptyingMarksCountsAndLeavesNoBuffers) {
  ResourceGrid grid;
  grid.ClearResource(GridSlot(4, 0, 0));
  grid.ClearResource(-1);
  grid.ClearResource(13);
  EXPECT_EQ(grid.AnyModified(), 0);
  grid.ClearResource(5);  // emptying an empty resource still marks it
  EXPECT_EQ(make_tuple(grid.resources[5].modified, grid.AnyModified()), make_tuple(1, 1));
  grid.ResetResource(5, 0);
  EXPECT_EQ(grid.AnyModified(), 0);

  const GridSlot k24At4(1, 0, 0);
  grid.PrepareResource(k24At4);
  grid.PrepareResource(k24At4);
  grid.PrepareResource(GridSlot(4, 2, 1));
  grid.PrepareResource(GridSlot(5, 0, 0));  // counts as 16 x 16
  EXPECT_EQ(make_tuple(grid.CountPresent(), grid.resources[3].present), make_tuple(3, 1));
  grid.ClearResource(k24At4);
  const IconResource& r = grid.resources[2];
  // The sizes stay.
  EXPECT_EQ(make_tuple(r.present, r.modified, r.block.empty(), r.header, r.colorBits, r.maskBits),
            make_tuple(0, 1, true, nullptr, nullptr, nullptr));
  EXPECT_EQ(std::tie(r.width, r.height, r.depth, r.blockSize), make_tuple(24u, 24u, 4u, 488u));
  EXPECT_EQ(grid.CountPresent(), 2);

  // Whatever the caller had in its variables: left alone for a slot outside the grid, all null
  // for an absent resource, never present or emptied.
  static std::uint8_t dummy[4];
  const ResourceBuffers scribbled{dummy, 77, dummy + 1, 78, dummy + 2, 79};
  ResourceBuffers b = scribbled;
  EXPECT_FALSE(grid.GetBuffers(GridSlot(4, 0, 0), b));
  EXPECT_EQ(Tie(b), Tie(scribbled));
  for (const GridSlot& slot : {k24At4, GridSlot(0, 1, 0)}) {
    b = scribbled;
    ASSERT_TRUE(grid.GetBuffers(slot, b));
    EXPECT_EQ(Tie(b), Tie(ResourceBuffers{}));
  }
  grid.Clear();
  EXPECT_EQ(make_tuple(grid.CountPresent(), grid.AnyModified()), make_tuple(0, 0));
  for (const IconResource& res : grid.resources) EXPECT_TRUE(res.block.empty());
}

TEST(ParseResourceTest, BlocksAreSeenThroughTheirHeadersOrRefused) {
  const std::uint8_t bytes[40] = {
      44,   0,    0, 0, 0x00, 0x01, 0, 0, 0xC0, 0xFF, 0xFF, 0xFF, 2, 0, 0x20, 0, 0, 0, 0, 0,
      0x10, 0x27, 0, 0, 0,    0,    0, 0, 0,    0,    0,    0,    5, 0, 1,    0, 0, 0, 0, 0};
  const BitmapInfoHeader h = ReadBitmapInfoHeader(bytes);
  EXPECT_EQ(std::tie(h.biSize, h.biWidth, h.biHeight, h.biPlanes, h.biBitCount, h.biSizeImage,
                     h.biClrUsed),
            make_tuple(44u, 256, -64, 2u, 32u, 10000u, 0x10005u));
  std::uint8_t written[40] = {};
  WriteBitmapInfoHeader(h, written);
  EXPECT_TRUE(std::equal(std::begin(bytes), std::end(bytes), std::begin(written)));

  EXPECT_EQ(ResourceGrid::ParseResource(nullptr), 0);
  for (auto [v, what] : testing::NumberRows("model/parse-resource-blocks.txt")) {
    SCOPED_TRACE(what);
    const bool accepted = v.size() == 13;
    v.resize(13);
    IconResource r;
    r.present = r.modified = 1;
    ASSERT_EQ(r.AdoptBlock(Block(v[0], v[1], v[2], v[3], v[4], v[6], v[5])), 1);
    EXPECT_EQ(r.blockSize, v[6]);
    static std::uint8_t stale;
    r.header = r.colorBits = r.maskBits = &stale;
    ASSERT_EQ(ResourceGrid::ParseResource(&r), accepted ? 1 : 0);
    EXPECT_EQ(make_tuple(r.present, r.modified), make_tuple(0, 1));  // the reader decides
    if (!accepted) {
      EXPECT_TRUE(r.header == nullptr && r.colorBits == nullptr && r.maskBits == nullptr);
      continue;
    }
    EXPECT_EQ(r.header, r.block.data());
    EXPECT_EQ(make_tuple(r.width, r.height, r.depth, r.colorCount, r.colorBits - r.header,
                         r.maskBits - r.header),
              make_tuple(v[7], v[8], v[9], v[10], v[11], v[12]));
  }
  // The block's own length counts, not blockSize.
  IconResource r;
  ASSERT_EQ(r.AdoptBlock(Block(16, 32, 4, 1, 0, 296)), 1);
  r.block.resize(100);  // shrunk in place, as no caller should
  EXPECT_EQ(ResourceGrid::ParseResource(&r), 0);
}

// A 2 x 2 image as a file holds it: header, `colors` table entries of red 100 + i, the colour
// rows (bottom row first) and the mask rows, the top row's bits from `topMask`; its pixels
// (0, 0), (1, 0), (0, 1), (1, 1).
std::string PixelsOf(std::uint16_t bits, std::uint32_t colors, Bytes bottomRow, Bytes topRow,
                     std::uint8_t topMask) {
  Bytes block = Block(2, 4, bits, 1, colors, 40);
  for (std::uint32_t i = 0; i < colors; ++i)
    block.insert(block.end(), {0, 0, std::uint8_t(100 + i), 0});
  for (Bytes* row : {&bottomRow, &topRow}) {
    row->resize(RowBytes(2, bits));
    block.insert(block.end(), row->begin(), row->end());
  }
  block.insert(block.end(), {0, 0, 0, 0, topMask, 0, 0, 0});
  IconResource r;
  r.AdoptBlock(block);
  EXPECT_EQ(ResourceGrid::ParseResource(&r), 1);
  return testing::PixelText(r, {{0, 0}, {1, 0}, {0, 1}, {1, 1}});
}

TEST(ResourcePixelsTest, EveryDepthReadsItsOwnLayout) {
  // 8 bits with a table of 2 entries: index 3 lies past it and reads black.
  EXPECT_EQ(PixelsOf(8, 2, {1, 3}, {0, 1}, 0x40),
            "0:640000ff0 1:650000ff1 1:650000ff0 3:000000ff0");
  // 1 bit: the leftmost pixel in the highest bit.
  EXPECT_EQ(PixelsOf(1, 2, {0x40}, {0x80}, 0), "1:650000ff0 0:640000ff0 0:640000ff0 1:650000ff0");
  // 16 bits: 5 bits each of red, green, blue.
  EXPECT_EQ(PixelsOf(16, 0, {0x1F, 0x00, 0xE0, 0x03}, {0x00, 0x7C, 0, 0}, 0),
            "ff0000ff0 000000ff0 0000ffff0 00ff00ff0");
  // 24 and 32 bits: blue, green, red (and straight alpha).
  EXPECT_EQ(PixelsOf(24, 0, {}, {1, 2, 3, 4, 5, 6}, 0), "030201ff0 060504ff0 000000ff0 000000ff0");
  EXPECT_EQ(PixelsOf(32, 0, {}, {1, 2, 3, 0, 5, 6, 7, 128}, 0x80),
            "030201001 070605800 000000000 000000000");
}

}  // namespace
}  // namespace pictaro
