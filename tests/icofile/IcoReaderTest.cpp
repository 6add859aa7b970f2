#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "icofile/IcoInput.h"
#include "icofile/PngImage.h"
#include "model/BitmapInfoHeader.h"
#include "model/LittleEndian.h"
#include "model/ResourceGrid.h"
#include "support/FakePluginUi.h"
#include "support/IcoFixtures.h"
#include "support/TempFolder.h"

namespace pictaro {
namespace {

using namespace testing;
using Bytes = std::vector<std::uint8_t>;

// A bitmap image of any size and depth: header, full colour table, zeroed bits and mask.
Bytes Block(std::int32_t w, std::int32_t h, std::uint16_t bits) {
  const std::uint64_t table = bits <= 8 ? 4u << bits : 0;
  Bytes block(40 + table + (RowBytes(w, bits) + RowBytes(w, 1)) * h);
  WriteBitmapInfoHeader({40, w, 2 * h, 1, bits, 0, 0, 0, 0, 0, 0}, block.data());
  return block;
}

Bytes Png256() {
  ResourceGrid grid;
  PaintGrid(grid, {8});
  Bytes png;
  EXPECT_EQ(EncodePng(grid.resources[8], png), PngEncoding::Encoded);
  return png;
}

// Bytes in memory whose Nth seek, read or allocation fails, or whose Nth read comes back short.
class FailingInput : public MemoryIcoInput {
 public:
  FailingInput(const Bytes& bytes, char what, int nth)
      : MemoryIcoInput(bytes.data(), bytes.size()), what_(what), nth_(nth) {}
  bool Seek(std::uint64_t offset) override {
    return !(++seeks_ == nth_ && what_ == 's') && MemoryIcoInput::Seek(offset);
  }
  std::int64_t Read(std::uint8_t* into, std::size_t bytes) override {
    const bool hit = ++reads_ == nth_;
    if (hit && what_ == 'r') return -1;
    return MemoryIcoInput::Read(into, hit && what_ == 'h' ? bytes / 2 : bytes);
  }
  bool Allocate(Bytes& buffer, std::size_t bytes) override {
    return !(++allocations_ == nth_ && what_ == 'a') && IcoInput::Allocate(buffer, bytes);
  }

 private:
  char what_;
  int nth_;
  int seeks_ = 0, reads_ = 0, allocations_ = 0;
};

int ReadMemory(ResourceGrid& grid, const Bytes& file, RecordingDesktop& desktop,
               std::array<StoredEntry, 13>* stored = nullptr) {
  MemoryIcoInput input(file.data(), file.size());
  return grid.ReadIco(input, "in.ico", desktop, stored);
}

TEST(IcoReaderTest, PaintedGridRoundTrips) {
  TempFolder folder;
  const std::string path = folder.Path() / "all.ico";
  ResourceGrid grid;
  PaintGrid(grid, AllIndices());
  RecordingDesktop desktop;
  ASSERT_EQ(grid.WriteIco(path, desktop), 1);
  ResourceGrid back;
  std::array<StoredEntry, 13> stored;
  ASSERT_EQ(back.ReadIco(path, desktop, &stored), 1);
  EXPECT_TRUE(desktop.messages.empty());
  for (int i = 0; i < 13; ++i) {
    SCOPED_TRACE(i);
    const IconResource& r = back.resources[i];
    EXPECT_EQ(r.present, 1);
    EXPECT_EQ(r.modified, 0);
    EXPECT_EQ(r.block, grid.resources[i].block);
    EXPECT_EQ(stored[i].storedBytes, grid.resources[i].blockSize);
    EXPECT_FALSE(stored[i].png);
  }
}

TEST(IcoReaderTest, HeaderCountAndType) {
  ResourceGrid grid;
  RecordingDesktop desktop;
  PaintGrid(grid, {3});
  EXPECT_EQ(ReadMemory(grid, BuildIco({}), desktop), 1);
  EXPECT_EQ(grid.CountPresent(), 0);

  const std::vector<HandEntry> entries = {{16, 16, 1, 4, PaintedBlock(3)},
                                          {0, 0, 1, 32, PaintedBlock(8)}};
  ASSERT_EQ(ReadMemory(grid, BuildIco(entries, 2), desktop), 1);
  EXPECT_EQ(grid.CountPresent(), 2);
  EXPECT_EQ(grid.resources[3].modified, 1);
  EXPECT_EQ(grid.resources[8].modified, 1);
  EXPECT_EQ(grid.AnyModified(), 1);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST(IcoReaderTest, EntryIdentifiedByItsHeaderMarksLaterEntriesModified) {
  const std::vector<HandEntry> entries = {{16, 16, 1, 4, PaintedBlock(3)},
                                          {32, 32, 0, 0, PaintedBlock(5)},
                                          {16, 16, 1, 8, PaintedBlock(7)},
                                          {16, 16, 1, 32, PaintedBlock(12)}};
  ResourceGrid grid;
  RecordingDesktop desktop;
  ASSERT_EQ(ReadMemory(grid, BuildIco(entries), desktop), 1);
  EXPECT_EQ(grid.CountPresent(), 4);
  EXPECT_EQ(grid.resources[5].block, PaintedBlock(5));
  EXPECT_EQ(grid.resources[5].depth, 8u);
  EXPECT_EQ(grid.resources[3].modified, 0);
  for (const int i : {5, 7, 12}) EXPECT_EQ(grid.resources[i].modified, 1) << i;
}

TEST(IcoReaderTest, EntriesLandWhereTheirOwnHeaderSays) {
  ResourceGrid grid;
  RecordingDesktop desktop;
  // A 256 px bitmap: width and height bytes 0, no PNG signature.
  std::array<StoredEntry, 13> stored;
  ASSERT_EQ(ReadMemory(grid, BuildIco({{0, 0, 1, 32, PaintedBlock(8)}}), desktop, &stored), 1);
  EXPECT_EQ(grid.resources[8].block, PaintedBlock(8));
  EXPECT_EQ(grid.resources[8].modified, 0);
  EXPECT_EQ(stored[8].storedBytes, 270376u);

  // The directory says 32 x 32: the resource is 32 x 32 but its image 16 x 16.
  ASSERT_EQ(ReadMemory(grid, BuildIco({{32, 32, 1, 4, PaintedBlock(3)}}), desktop), 1);
  EXPECT_EQ(grid.CountPresent(), 1);
  EXPECT_EQ(grid.resources[1].present, 1);
  EXPECT_EQ(grid.resources[1].width, 16u);
  EXPECT_EQ(grid.resources[1].height, 16u);
  EXPECT_EQ(grid.resources[1].block, PaintedBlock(3));

  // The later of two entries for one resource wins.
  Bytes blank(296);
  WriteBitmapInfoHeader({40, 16, 32, 1, 4, 0, 0, 0, 0, 0, 0}, blank.data());
  ASSERT_EQ(
      ReadMemory(grid, BuildIco({{16, 16, 1, 4, PaintedBlock(3)}, {16, 16, 1, 4, blank}}), desktop),
      1);
  EXPECT_EQ(grid.resources[3].block, blank);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST(IcoReaderTest, ForeignEntriesSkippedSilently) {
  const std::vector<HandEntry> skipped = {
      {48, 48, 1, 24, Block(48, 48, 24)}, {64, 64, 1, 32, Block(64, 64, 32)},
      {0, 0, 1, 8, Block(256, 256, 8)},   {16, 32, 1, 4, Block(16, 32, 4)},
      {16, 16, 1, 1, Block(16, 16, 1)},
  };
  for (const HandEntry& entry : skipped) {
    SCOPED_TRACE(::testing::Message() << int{entry.width} << "x" << int{entry.height} << " at "
                                      << entry.bitCount << " bits, " << entry.data.size());
    ResourceGrid grid;
    RecordingDesktop desktop;
    EXPECT_EQ(ReadMemory(grid, BuildIco({entry, {16, 16, 1, 4, PaintedBlock(3)}}), desktop), 1);
    EXPECT_EQ(grid.CountPresent(), 1);
    EXPECT_EQ(grid.resources[3].present, 1);
    EXPECT_EQ(grid.resources[3].modified, 0);
    EXPECT_TRUE(desktop.messages.empty());
  }
}

TEST(IcoReaderTest, EveryFailureShowsItsMessage) {
  FreeImageSession session;
  const HandEntry small(16, 16, 1, 4, PaintedBlock(3));
  const HandEntry foreign(32, 32, 0, 0, PaintedBlock(5));
  const HandEntry large(0, 0, 1, 32, PaintedBlock(8));
  HandEntry pastEnd = small;
  pastEnd.bytes = 297;
  HandEntry foreignPastEnd = foreign;
  foreignPastEnd.bytes = 2217;
  HandEntry pngPastEnd(0, 0, 1, 32, Png256());
  pngPastEnd.bytes = static_cast<std::uint32_t>(pngPastEnd.data.size() + 1);
  const Bytes cut(small.data.begin(), small.data.begin() + 100);
  Bytes reserved = BuildIco({small});
  reserved[0] = 1;

  const std::string icon16 = "icon with 16 x 16 pixels, 4 bits per pixel";
  const std::string temp32 = "temporary icon with 32 x 32 pixels, 0 bits per pixel";
  struct Case {
    Bytes file;
    char what;  // 's' seek, 'r' read, 'h' short read, 'a' allocation, 0 nothing
    int nth;
    std::string text;
  };
  const std::vector<Case> cases = {
      {{0, 0, 1}, 0, 0, "Error reading .ICO file header"},
      {reserved, 0, 0, "Error reading .ICO file header"},
      {BuildIco({small}), 'h', 2, "Error reading .ICO file header"},
      {BuildIco({small}), 'a', 1, "Error allocating memory for icon directory entries"},
      {BuildIco({small}), 'r', 4, "Error reading icon directory entries from file"},
      {BuildIco({}, 1, 1), 0, 0, "Error reading all icon directory entries from file"},
      {BuildIco({small}), 'h', 4, "Error reading all icon directory entries from file"},
      {BuildIco({small}), 'a', 2, "Error allocating memory for " + icon16},
      {BuildIco({small}), 's', 1, "Error locating " + icon16},
      {BuildIco({small}), 'r', 5, "Error reading " + icon16},
      {BuildIco({small}), 'h', 5, "Error reading all of " + icon16},
      {BuildIco({pastEnd}), 0, 0, "Error reading all of " + icon16},
      {BuildIco({foreign}), 'a', 2, "Error allocating memory for " + temp32},
      {BuildIco({foreign}), 's', 1, "Error locating " + temp32},
      {BuildIco({foreign}), 'r', 5, "Error reading " + temp32},
      {BuildIco({foreign}), 'h', 5, "Error reading all of " + temp32},
      {BuildIco({foreignPastEnd}), 0, 0, "Error reading all of " + temp32},
      {BuildIco({{16, 16, 1, 4, cut}}), 0, 0, "Error converting format of " + icon16},
      {BuildIco({{32, 32, 0, 0, Bytes(100)}}), 0, 0,
       "Error converting format of icon with 32 x 32 pixels, 0 bits per pixel"},
      {BuildIco({large}), 's', 1, "Error locating icon with 0 x 0 pixels, 32 bits per pixel"},
      {BuildIco({large}), 'r', 5, "Error reading icon with 0 x 0 pixels, 32 bits per pixel"},
      {BuildIco({large}), 'h', 5, "Error reading icon with 0 x 0 pixels, 32 bits per pixel"},
      {BuildIco({large}), 's', 2, "Error locating icon with 256 x 256 pixels, 32 bits per pixel"},
      {BuildIco({pngPastEnd}), 0, 0,
       "Error reading all of temporary icon with 0 x 0 pixels, 32 bits per pixel"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.text << " / " << c.what << c.nth);
    ResourceGrid grid;
    RecordingDesktop desktop;
    FailingInput input(c.file, c.what, c.nth);
    EXPECT_EQ(grid.ReadIco(input, "/x/bad.ico", desktop), 0);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, c.text);
    EXPECT_EQ(desktop.messages[0].caption, "/x/bad.ico");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(grid.CountPresent(), 0);
  }
}

TEST(IcoReaderTest, FailureKeepsResourcesReadBefore) {
  HandEntry broken(16, 16, 1, 32, PaintedBlock(12));
  broken.bytes = 1129;
  ResourceGrid grid;
  RecordingDesktop desktop;
  EXPECT_EQ(ReadMemory(grid, BuildIco({{16, 16, 1, 4, PaintedBlock(3)}, broken}), desktop), 0);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text,
            "Error reading all of icon with 16 x 16 pixels, 32 bits per pixel");
  EXPECT_EQ(grid.CountPresent(), 1);
  EXPECT_EQ(grid.resources[3].block, PaintedBlock(3));
  EXPECT_EQ(grid.resources[3].modified, 0);
}

TEST(IcoReaderTest, MissingFileOrFolderFailsQuietly) {
  TempFolder folder;
  ResourceGrid grid;
  PaintGrid(grid, {3});
  RecordingDesktop desktop;
  EXPECT_EQ(grid.ReadIco(folder.Path() / "missing.ico", desktop), 0);
  EXPECT_EQ(grid.CountPresent(), 0);
  EXPECT_EQ(grid.ReadIco(folder.Path(), desktop), 0);
  EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace pictaro
