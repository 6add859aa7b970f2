// The reader against files made by hand (hand-made.tsv): each fault of the header, the directory
// and the images with its message, files whose counts, offsets, lengths and sizes lie, damaged
// PNG streams, and where each entry lands. Every read also allocates no more than the file holds
// and leaves each view of a present resource inside that resource's own block.
#include <gtest/gtest.h>

#include <algorithm>
#include <iomanip>
#include <string>
#include <vector>

#include "icofile/IcoInput.h"
#include "icofile/PngImage.h"
#include "model/BitmapInfoHeader.h"
#include "support/IcoFixtures.h"
#include "support/ReferenceText.h"
#include "support/TempFolder.h"

namespace pictaro::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Bytes in memory that remember the largest buffer asked for. `fault` ("r5") makes the Nth seek
// ('s'), read ('r') or allocation ('a') fail, or the Nth read come back short ('h').
class TestInput : public MemoryIcoInput {
 public:
  TestInput(const Bytes& bytes, const std::string& fault)
      : MemoryIcoInput(bytes.data(), bytes.size()), fault_(fault) {}
  bool Seek(std::uint64_t offset) override {
    return !Is('s', ++seeks_) && MemoryIcoInput::Seek(offset);
  }
  std::int64_t Read(std::uint8_t* into, std::size_t bytes) override {
    ++reads_;
    return Is('r', reads_) ? -1 : MemoryIcoInput::Read(into, Is('h', reads_) ? bytes / 2 : bytes);
  }
  bool Allocate(Bytes& buffer, std::size_t bytes) override {
    largest = std::max(largest, bytes);
    return !Is('a', ++allocations_) && IcoInput::Allocate(buffer, bytes);
  }
  std::size_t largest = 0;

 private:
  bool Is(char what, int nth) const { return fault_ == what + std::to_string(nth); }
  std::string fault_;
  int seeks_ = 0, reads_ = 0, allocations_ = 0;
};

// A header followed by patterned bytes: as many as its image needs, or `total`.
Bytes Bitmap(std::int32_t width, std::int32_t doubledHeight, std::uint16_t planes,
             std::uint16_t bits, std::size_t total) {
  if (total == 0) {
    const std::uint64_t colors = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
    total = 40 + 4 * colors +
            static_cast<std::uint64_t>(doubledHeight / 2) *
                (RowBytes(width, std::uint64_t{planes} * bits) + RowBytes(width, 1));
  }
  Bytes bytes(std::max<std::size_t>(total, kBitmapInfoHeaderSize));
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  WriteBitmapInfoHeader({40, width, doubledHeight, planes, bits, 0, 0, 0, 0, 0, 0}, bytes.data());
  bytes.resize(total);
  return bytes;
}

Bytes Hex(const std::string& hex) {
  Bytes bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

// The file the words of a row describe (hand-made.tsv says how).
Bytes MakeFile(const std::string& words) {
  std::vector<HandEntry> entries;
  std::uint16_t type = 1;
  std::optional<std::uint16_t> count;
  std::size_t drop = 0;
  std::istringstream in(words);
  for (std::string word; in >> word;) {
    const std::size_t eq = std::min(word.find('='), word.size());
    const std::string key = word.substr(0, eq), value = word.substr(eq + (eq < word.size()));
    std::istringstream numbers(value);
    std::vector<std::uint32_t> n;
    for (std::uint32_t v; numbers >> std::setbase(0) >> v; numbers.ignore()) n.push_back(v);
    if (key == "hex") return Hex(value);
    if (key == "type") type = static_cast<std::uint16_t>(n[0]);
    if (key == "count") count = static_cast<std::uint16_t>(n[0]);
    if (key == "drop") drop = n[0];
    if (key == "entry")
      entries.push_back(
          {std::uint8_t(n[0]), std::uint8_t(n[1]), std::uint16_t(n[2]), std::uint16_t(n[3])});
    if (entries.empty()) continue;
    HandEntry& e = entries.back();
    if (key == "painted") e.data = PaintedBlock(static_cast<int>(n[0]));
    if (key == "bitmap")
      e.data =
          Bitmap(n[0], n[1], std::uint16_t(n[2]), std::uint16_t(n[3]), n.size() > 4 ? n[4] : 0);
    if (key == "png") {
      ResourceGrid grid;
      PaintGrid(grid, {8});
      EXPECT_EQ(EncodePng(grid.resources[8], e.data), PngEncoding::Encoded);
    }
    if (key == "set") PutU32(e.data.data() + n[0], n[1]);
    if (key == "cut") e.data.resize(n[0]);
    if (key == "len") e.bytes = n[0];
    if (key == "at") e.offset = n[0];
    if (key == "chunk") {  // in place of the first chunk of its type
      const Bytes chunk = Hex(value);
      const auto at = std::search(e.data.begin(), e.data.end(), &chunk[4], &chunk[8]) - 4;
      const auto end = at + 12 + (at[0] << 24 | at[1] << 16 | at[2] << 8 | at[3]);
      e.data.insert(e.data.erase(at, end), chunk.begin(), chunk.end());
    }
  }
  Bytes file = BuildIco(entries, type, count);
  file.resize(file.size() - drop);
  return file;
}

// Header, table, colour rows and mask rows of every present resource lie inside its block, with
// the sizes and depth its own header gives.
void ExpectViewsInsideBlocks(const ResourceGrid& grid) {
  for (const IconResource& r : grid.resources) {
    if (!r.present) continue;
    const std::uint8_t* begin = r.block.data();
    ASSERT_TRUE(r.blockSize == r.block.size() && r.header == begin && r.blockSize >= 40);
    const BitmapInfoHeader h = ReadBitmapInfoHeader(begin);
    const std::uint64_t color = static_cast<std::uint64_t>(r.colorBits - begin),
                        mask = static_cast<std::uint64_t>(r.maskBits - begin);
    EXPECT_TRUE(r.width == static_cast<std::uint32_t>(h.biWidth) &&
                r.height == static_cast<std::uint32_t>(h.biHeight / 2) &&
                r.depth == std::uint32_t{h.biPlanes} * h.biBitCount && r.colorBits >= begin &&
                color >= h.biSize + 4 * std::uint64_t{r.colorCount} &&
                color + r.height * RowBytes(r.width, r.depth) <= mask &&
                mask + r.height * RowBytes(r.width, 1) <= r.blockSize)
        << r.width << " x " << r.height;
  }
}

TEST(IcoReaderTest, FilesMadeByHand) {
  for (const std::string& row : DataRows("icofile/hand-made.tsv")) {
    const std::vector<std::string> field = Fields(row, 5);
    SCOPED_TRACE(field[0]);
    const Bytes file = MakeFile(field[1]);
    ResourceGrid grid;
    PaintGrid(grid, kAllIndices);  // a read starts from an empty grid
    std::array<StoredEntry, 13> stored;
    std::vector<SkippedEntry> skipped;
    RecordingDesktop desktop;
    TestInput input(file, field[2]);
    EXPECT_EQ(grid.ReadIco(input, "in.ico", desktop, &stored, &skipped), field[4].empty());
    EXPECT_EQ(ErrorsShown(desktop, "in.ico"), field[4]);
    // The first entry whose bytes, and length in the directory, are the resource's block.
    const auto source = [&](int index) {
      for (int n = 0; n < GetU16(&file[4]); ++n) {
        const std::uint8_t* e = file.data() + 6 + 16 * n;
        const std::uint64_t at = GetU32(e + 12), length = GetU32(e + 8);
        if (at + length <= file.size() && stored[index].storedBytes == length &&
            grid.resources[index].block == Bytes(file.begin() + at, file.begin() + at + length))
          return n;
      }
      return -1;
    };
    EXPECT_EQ(Landed(grid, stored, skipped, source), field[3]);
    EXPECT_LE(input.largest, file.size());
    ExpectViewsInsideBlocks(grid);
  }
}

TEST(IcoReaderTest, MissingFileOrFolderFailsQuietly) {
  TempFolder folder;
  ResourceGrid grid;
  PaintGrid(grid, {3});
  RecordingDesktop desktop;
  EXPECT_EQ(grid.ReadIco((folder.Path() / "missing.ico").string(), desktop), 0);
  EXPECT_EQ(grid.CountPresent(), 0);
  EXPECT_EQ(grid.ReadIco(folder.Path().string(), desktop), 0);
  EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace pictaro::testing
