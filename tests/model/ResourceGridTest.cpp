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
using Numbers = std::vector<long long>;
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
  GridSlot withoutView(4, 2, 1, 1), withView = withoutView;
  withoutView.CopyFrom(GridSlot(1, 1, 0, 2), false);
  withView.CopyFrom(GridSlot(1, 1, 0, 2), true);
  EXPECT_EQ(make_tuple(withoutView, withView),
            make_tuple(GridSlot(1, 1, 0, 1), GridSlot(1, 1, 0, 2)));
  // What the slot shows, then what the radio makes of it, in the order of the rows.
  for (const auto& [n, what] : testing::NumberRows("model/grid-slots.txt")) {
    GridSlot slot(n[0], n[1], n[2], n[3]);
    EXPECT_EQ(
        (Numbers{slot.PixelSize(), slot.SizeRadioId(), slot.DepthRadioId(), slot.MaskRadioId(),
                 slot.ViewRadioId(), ResourceGrid::IndexOf(slot), SelectByRadio(slot, n[4]),
                 slot.sizeIndex, slot.depthIndex, slot.maskIndex, slot.viewMode}),
        Numbers(n.begin() + 5, n.end()))
        << what;
  }
  const std::uint32_t outside[][3] = {{256, 256, 4}, {256, 256, 8}, {16, 16, 16}, {16, 16, 24},
                                      {16, 16, 1},   {24, 16, 4},   {64, 64, 32}, {0, 0, 32}};
  for (const auto& o : outside) EXPECT_EQ(ResourceGrid::IndexOf(o[0], o[1], o[2]), -1) << o[0];
}

TEST(ResourceGridTest, EveryGridPositionGetsItsIndexBlockAndViews) {
  ResourceGrid grid;
  for (const auto& [n, what] : testing::NumberRows("model/grid-resources.txt")) {
    SCOPED_TRACE(n[3]);
    const GridSlot slot(n[0], n[1], n[2]);
    ASSERT_EQ(ResourceGrid::IndexOf(slot), n[3]);
    grid.PrepareResource(slot);
    const IconResource& r = grid.resources[n[3]];
    ResourceBuffers b;
    ASSERT_TRUE(grid.GetBuffers(slot, b));
    EXPECT_EQ((Numbers{ResourceGrid::IndexOf(r.width, r.height, r.depth), r.width, r.height,
                       r.depth, r.blockSize, r.colorBits - r.header, r.maskBits - r.header,
                       b.colorRowBytes, b.maskRowBytes, b.colorCount}),
              Numbers(n.begin() + 3, n.end()));
    EXPECT_TRUE(r.present && r.modified && r.block.size() == r.blockSize &&
                r.header == r.block.data());
    EXPECT_EQ(Tie(b), Tie({r.colorBits, b.colorRowBytes, r.maskBits, b.maskRowBytes, r.header + 40,
                           b.colorCount}));
    // The height counts colour bitmap and mask; planes 1 and the bit count share a word. After
    // it, colour index 0 or transparent black, and an all-opaque mask.
    const std::uint32_t header[10] = {40, r.width, 2 * r.width, 1 | r.depth << 16};
    for (int w = 0; w < 10; ++w) EXPECT_EQ(GetU32(r.block.data() + 4 * w), header[w]) << w;
    EXPECT_TRUE(AllZero(r.block.begin() + 40, r.block.end()));
  }
  EXPECT_EQ(grid.CountPresent(), 13);
}

TEST(ResourceGridTest, PrepareKeepsAPresentBlockAndEmptyingMarksIt) {
  // No such resource: nothing changes; emptying an empty one still marks it.
  ResourceGrid grid;
  grid.PrepareResource(GridSlot(4, 0, 0));
  grid.ClearResource(GridSlot(4, 0, 0));
  grid.ClearResource(-1);
  grid.ClearResource(13);
  EXPECT_EQ(make_tuple(grid.CountPresent(), grid.AnyModified()), make_tuple(0, 0));
  grid.ClearResource(5);
  EXPECT_EQ(make_tuple(grid.resources[5].modified, grid.AnyModified()), make_tuple(1, 1));
  grid.ResetResource(5, 0);
  EXPECT_EQ(grid.AnyModified(), 0);

  // Present: the pixels and mask stay, the header is written afresh.
  const GridSlot slot(0, 1, 0);  // 16 x 16, 8-bit
  grid.PrepareResource(slot);
  IconResource& r = grid.resources[7];
  const std::uint8_t* block = r.block.data();
  for (std::size_t i = 40; i < r.block.size(); ++i) r.block[i] = static_cast<std::uint8_t>(i * 7);
  const Bytes pixels(r.block.begin() + 40, r.block.end());
  std::fill(r.block.begin() + 16, r.block.begin() + 40, 0x55);  // as a file may carry them
  r.modified = 0;
  grid.PrepareResource(slot);
  EXPECT_EQ(make_tuple(r.block.data(), r.modified), make_tuple(block, 1));
  EXPECT_TRUE(AllZero(r.block.begin() + 16, r.block.begin() + 40));
  EXPECT_EQ(Bytes(r.block.begin() + 40, r.block.end()), pixels);
  // Read from a file with a 5-entry table: the fresh header's views would overrun it.
  ASSERT_EQ(r.AdoptBlock(Block(16, 32, 8, 1, 5, 380)), 1);
  ASSERT_EQ(ResourceGrid::ParseResource(&r), 1);
  r.present = 1;
  grid.PrepareResource(slot);
  ASSERT_EQ(make_tuple(r.present, r.block.size(), r.blockSize), make_tuple(1, 1384u, 1384u));
  EXPECT_EQ(make_tuple(r.colorBits - r.header, r.maskBits - r.header), make_tuple(1064, 1320));
  EXPECT_TRUE(AllZero(r.block.begin() + 40, r.block.end()));

  const GridSlot k24At4(1, 0, 0);
  grid.PrepareResource(k24At4);
  grid.PrepareResource(k24At4);
  grid.PrepareResource(GridSlot(4, 2, 1));
  grid.PrepareResource(GridSlot(5, 0, 0));  // counts as 16 x 16
  EXPECT_EQ(make_tuple(grid.CountPresent(), grid.resources[3].present), make_tuple(4, 1));
  grid.ClearResource(k24At4);
  // Emptied, it keeps its sizes.
  const IconResource& e = grid.resources[2];
  EXPECT_EQ(make_tuple(e.present, e.modified, e.block.size(), e.header, e.colorBits, e.maskBits,
                       e.width, e.height, e.depth, e.blockSize),
            make_tuple(0, 1, 0u, nullptr, nullptr, nullptr, 24u, 24u, 4u, 488u));
  EXPECT_EQ(grid.CountPresent(), 3);

  // Whatever the caller had in its variables: left alone for a slot outside the grid, all null
  // for an absent resource, never present or emptied.
  static std::uint8_t dummy[4];
  const ResourceBuffers scribbled{dummy, 77, dummy + 1, 78, dummy + 2, 79};
  ResourceBuffers b = scribbled;
  EXPECT_FALSE(grid.GetBuffers(GridSlot(4, 0, 0), b));
  EXPECT_EQ(Tie(b), Tie(scribbled));
  for (const GridSlot& absent : {k24At4, GridSlot(3, 1, 0)}) {
    b = scribbled;
    ASSERT_TRUE(grid.GetBuffers(absent, b));
    EXPECT_EQ(Tie(b), Tie(ResourceBuffers{}));
  }
  grid.Clear();
  EXPECT_EQ(make_tuple(grid.CountPresent(), grid.AnyModified()), make_tuple(0, 0));
  for (const IconResource& res : grid.resources) EXPECT_TRUE(res.block.empty());
}

TEST(ParseResourceTest, BlocksAreSeenThroughTheirHeadersOrRefused) {
  EXPECT_EQ(ResourceGrid::ParseResource(nullptr), 0);
  for (auto [v, what] : testing::NumberRows("model/parse-resource-blocks.txt")) {
    SCOPED_TRACE(what);
    const bool accepted = v.size() == 13;
    v.resize(13);
    IconResource r;
    r.present = r.modified = 1;
    ASSERT_EQ(r.AdoptBlock(Block(v[0], v[1], v[2], v[3], v[4], v[6], v[5])), 1);
    static std::uint8_t stale;
    r.header = r.colorBits = r.maskBits = &stale;
    // The reader decides whether it is present.
    EXPECT_EQ(make_tuple(ResourceGrid::ParseResource(&r), r.present, r.modified, r.blockSize),
              make_tuple(accepted ? 1 : 0, 0, 1, v[6]));
    if (!accepted) {
      EXPECT_TRUE(r.header == nullptr && r.colorBits == nullptr && r.maskBits == nullptr);
      continue;
    }
    EXPECT_EQ((Numbers{r.header - r.block.data(), r.width, r.height, r.depth, r.colorCount,
                       r.colorBits - r.header, r.maskBits - r.header}),
              (Numbers{0, v[7], v[8], v[9], v[10], v[11], v[12]}));
  }
  // The block's own length counts, not blockSize.
  IconResource r;
  ASSERT_EQ(r.AdoptBlock(Block(16, 32, 4, 1, 0, 296)), 1);
  r.block.resize(100);  // shrunk in place, as no caller should
  EXPECT_EQ(ResourceGrid::ParseResource(&r), 0);
}

// 8 bits with a table of 2 entries: index 3 lies past it and reads black. 1 bit: the leftmost
// pixel in the highest bit. 16 bits: 5 bits each of red, green, blue. 24 and 32 bits: blue, green,
// red (and straight alpha).
TEST(ResourcePixelsTest, EveryDepthReadsItsOwnLayout) {
  for (const auto& [n, pixels] : testing::NumberRows("model/pixel-layouts.txt")) {
    Bytes block = Block(2, 4, n[0], 1, n[1], 40);
    for (int i = 0; i < n[1]; ++i) block.insert(block.end(), {0, 0, std::uint8_t(100 + i), 0});
    block.insert(block.end(), n.begin() + 3, n.end());
    block.insert(block.end(), {0, 0, 0, 0, std::uint8_t(n[2]), 0, 0, 0});
    IconResource r;
    r.AdoptBlock(block);
    ASSERT_EQ(ResourceGrid::ParseResource(&r), 1);
    EXPECT_EQ("| " + testing::PixelText(r, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}), pixels);
  }
}

}  // namespace
}  // namespace pictaro
