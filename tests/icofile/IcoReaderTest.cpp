// The reader against files made by hand: each fault of the header, the directory and the images
// with its message, files whose counts, offsets, lengths and sizes lie, damaged PNG streams, and
// where each entry lands. Every read also allocates no more than the file holds and leaves each
// view of a present resource inside that resource's own block.
#include <gtest/gtest.h>

#include <FreeImage.h>

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "icofile/IcoInput.h"
#include "icofile/PngImage.h"
#include "model/BitmapInfoHeader.h"
#include "support/IcoFixtures.h"
#include "support/TempFolder.h"

namespace pictaro::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace header_offset;

// Bytes in memory that remember the largest buffer asked for. `fault` ("r5") makes the Nth seek
// ('s'), read ('r') or allocation ('a') fail, or the Nth read come back short ('h').
class TestInput : public MemoryIcoInput {
 public:
  TestInput(const Bytes& bytes, const std::string& fault)
      : MemoryIcoInput(bytes.data(), bytes.size()),
        what_(fault.empty() ? 0 : fault[0]),
        nth_(fault.empty() ? 0 : std::stoi(fault.substr(1))) {}
  bool Seek(std::uint64_t offset) override {
    return !(++seeks_ == nth_ && what_ == 's') && MemoryIcoInput::Seek(offset);
  }
  std::int64_t Read(std::uint8_t* into, std::size_t bytes) override {
    const bool hit = ++reads_ == nth_;
    if (hit && what_ == 'r') return -1;
    return MemoryIcoInput::Read(into, hit && what_ == 'h' ? bytes / 2 : bytes);
  }
  bool Allocate(Bytes& buffer, std::size_t bytes) override {
    largest = std::max(largest, bytes);
    return !(++allocations_ == nth_ && what_ == 'a') && IcoInput::Allocate(buffer, bytes);
  }
  std::size_t largest = 0;

 private:
  char what_;
  int nth_, seeks_ = 0, reads_ = 0, allocations_ = 0;
};

// A header followed by patterned bytes: as many as its image needs, or `total`.
Bytes Bitmap(std::int32_t width, std::int32_t doubledHeight, std::uint16_t planes,
             std::uint16_t bits, std::size_t total = 0) {
  if (total == 0) {
    const std::uint64_t colors = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
    const auto w = static_cast<std::uint64_t>(width);
    total = 40 + 4 * colors +
            static_cast<std::uint64_t>(doubledHeight / 2) *
                (RowBytes(w, std::uint64_t{planes} * bits) + RowBytes(w, 1));
  }
  Bytes bytes(std::max<std::size_t>(total, kBitmapInfoHeaderSize));
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  WriteBitmapInfoHeader({40, width, doubledHeight, planes, bits, 0, 0, 0, 0, 0, 0}, bytes.data());
  bytes.resize(total);
  return bytes;
}

Bytes With(Bytes bytes, std::size_t at, std::uint32_t value) {
  PutU32(bytes.data() + at, value);
  return bytes;
}

Bytes Cut(Bytes bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

// The PNG stream of the painted 256 px resource, as the writer makes it.
Bytes WrittenPng() {
  ResourceGrid grid;
  PaintGrid(grid, {8});
  Bytes stream;
  EXPECT_EQ(EncodePng(grid.resources[8], stream), PngEncoding::Encoded);
  return stream;
}

// Puts `data` in place of the data of the first chunk of `type`, with a length and CRC to match.
Bytes Rechunk(const Bytes& png, std::string_view type, const Bytes& data) {
  const auto at = std::search(png.begin(), png.end(), type.begin(), type.end()) - 4;
  const auto end = at + 12 + (at[0] << 24 | at[1] << 16 | at[2] << 8 | at[3]);
  Bytes chunk(type.begin(), type.end());
  chunk.insert(chunk.end(), data.begin(), data.end());
  Bytes out(png.begin(), at);
  const auto be32 = [&out](std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
      out.push_back(static_cast<std::uint8_t>(v >> shift));
  };
  be32(static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), chunk.begin(), chunk.end());
  be32(FreeImage_ZLibCRC32(0, chunk.data(), static_cast<DWORD>(chunk.size())));
  out.insert(out.end(), end, png.end());
  return out;
}

struct Row {
  const char* name;
  Bytes file;
  std::string landed;   // as Landed() says; "<N": the resource's block is entry N's bytes
  std::string message;  // the one message of a failed read; "" for a read that succeeds
  const char* fault = "";
};

// Header, table, colour rows and mask rows of every present resource lie inside its block, with
// the sizes and depth its own header gives.
void ExpectViewsInsideBlocks(const ResourceGrid& grid) {
  for (int i = 0; i < 13; ++i) {
    const IconResource& r = grid.resources[i];
    if (!r.present) continue;
    const std::uint8_t* begin = r.block.data();
    ASSERT_TRUE(r.blockSize == r.block.size() && r.header == begin && r.blockSize >= 40) << i;
    const BitmapInfoHeader h = ReadBitmapInfoHeader(begin);
    EXPECT_TRUE(r.width == static_cast<std::uint32_t>(h.biWidth) &&
                r.height == static_cast<std::uint32_t>(h.biHeight / 2) &&
                r.depth == std::uint32_t{h.biPlanes} * h.biBitCount)
        << i;
    const std::uint64_t color = static_cast<std::uint64_t>(r.colorBits - begin),
                        mask = static_cast<std::uint64_t>(r.maskBits - begin);
    EXPECT_TRUE(r.colorBits >= begin && color >= h.biSize + 4 * std::uint64_t{r.colorCount} &&
                color + r.height * RowBytes(r.width, r.depth) <= mask &&
                mask + r.height * RowBytes(r.width, 1) <= r.blockSize)
        << i;
  }
}

void Check(const Row& row) {
  SCOPED_TRACE(row.name);
  ResourceGrid grid;
  PaintGrid(grid, kAllIndices);  // a read starts from an empty grid
  std::array<StoredEntry, 13> stored;
  std::vector<SkippedEntry> skipped;
  RecordingDesktop desktop;
  TestInput input(row.file, row.fault);
  EXPECT_EQ(grid.ReadIco(input, "in.ico", desktop, &stored, &skipped), row.message.empty() ? 1 : 0);
  EXPECT_EQ(ErrorsShown(desktop, "in.ico"), row.message);
  std::vector<std::pair<int, int>> sources;
  EXPECT_EQ(Landed(grid, stored, skipped), Split(row.landed, sources));
  EXPECT_LE(input.largest, row.file.size());
  for (const auto& [index, entry] : sources) {
    ASSERT_LT(entry, GetU16(row.file.data() + 4));
    const std::uint8_t* e = row.file.data() + 6 + 16 * entry;
    const auto at = row.file.begin() + GetU32(e + 12);
    EXPECT_EQ(grid.resources[index].block, Bytes(at, at + GetU32(e + 8))) << index;
    EXPECT_EQ(stored[index].storedBytes, GetU32(e + 8)) << index;
  }
  ExpectViewsInsideBlocks(grid);
}

TEST(IcoReaderTest, FilesMadeByHand) {
  const Bytes b = Bitmap(16, 32, 1, 4);  // 296 bytes, a 16 x 16 4-bit image
  const HandEntry small{16, 16, 1, 4, PaintedBlock(3)}, foreign{32, 32, 0, 0, PaintedBlock(5)};
  const HandEntry large{0, 0, 1, 32, PaintedBlock(8)}, e12{16, 16, 1, 32, PaintedBlock(12)};
  const auto e16 = [](Bytes data) { return HandEntry{16, 16, 1, 4, std::move(data)}; };
  const auto e32 = [](Bytes data) { return HandEntry{16, 16, 1, 32, std::move(data)}; };
  const Bytes png = WrittenPng();
  // Its IHDR chunk's data with 65535 x 65535 pixels (big-endian), and bytes that start like a
  // deflate stream but are none.
  const Bytes huge =
      With(With(Bytes(png.begin() + 16, png.begin() + 29), 0, 0xFFFF0000), 4, 0xFFFF0000);
  const Bytes notDeflate = With(Bytes(64, 0xAA), 0, 0xAAAA9C78);
  const std::string i16 = "icon with 16 x 16 pixels, 4 bits per pixel";
  const std::string t32 = "temporary icon with 32 x 32 pixels, 0 bits per pixel";
  const std::string i0 = "icon with 0 x 0 pixels, 32 bits per pixel";
  const std::string conv16 = "Error converting format of " + i16,
                    short16 = "Error reading all of " + i16;
  // clang-format off
  const std::vector<Row> rows = {
    {"3-byte header", {0, 0, 1}, "", "Error reading .ICO file header"},
    {"reserved 1", With(BuildIco({small}), 0, 1), "", "Error reading .ICO file header"},
    {"short header word", BuildIco({small}), "", "Error reading .ICO file header", "h2"},
    {"no memory for the directory", BuildIco({small}), "", "Error allocating memory for icon directory entries", "a1"},
    {"directory read fails", BuildIco({small}), "", "Error reading icon directory entries from file", "r4"},
    {"directory read short", BuildIco({small}), "", "Error reading all icon directory entries from file", "h4"},
    {"count 65535 in 22 bytes", BuildIco({e16({})}, 1, 65535), "", "Error reading all icon directory entries from file"},
    {"count 0", BuildIco({}), "", ""},
    {"directory up to the end", BuildIco({e16({})}), "", conv16},
    {"type 2", BuildIco({small, large}, 2), "3*<0 8*<1", ""},
    {"no memory for an image", BuildIco({small}), "", "Error allocating memory for " + i16, "a2"},
    {"image seek fails", BuildIco({small}), "", "Error locating " + i16, "s1"},
    {"image read fails", BuildIco({small}), "", "Error reading " + i16, "r5"},
    {"image read short", BuildIco({small}), "", short16, "h5"},
    {"offset past the end", BuildIco({{16, 16, 1, 4, b, 0x1000, 0x10000}}), "", short16},
    {"offset + length wraps", BuildIco({{16, 16, 1, 4, b, 0x20, 0xFFFFFFF0}}), "", short16},
    {"length 0xFFFFFFF0", BuildIco({{16, 16, 1, 4, b, 0xFFFFFFF0}}), "", short16},
    {"no memory for a probe", BuildIco({foreign}), "", "Error allocating memory for " + t32, "a2"},
    {"probe seek fails", BuildIco({foreign}), "", "Error locating " + t32, "s1"},
    {"probe read fails", BuildIco({foreign}), "", "Error reading " + t32, "r5"},
    {"probe read short", BuildIco({foreign}), "", "Error reading all of " + t32, "h5"},
    {"probe length 0xFFFFFFF0", BuildIco({{64, 48, 1, 32, b, 0xFFFFFFF0}}), "", "Error reading all of temporary icon with 64 x 48 pixels, 32 bits per pixel"},
    {"signature seek fails", BuildIco({large}), "", "Error locating " + i0, "s1"},
    {"signature past the end", BuildIco({{0, 0, 1, 32, b, 0x20, 0xFFFFFFF0}}), "", "Error reading " + i0},
    {"256 px seek fails", BuildIco({large}), "", "Error locating icon with 256 x 256 pixels, 32 bits per pixel", "s2"},
    {"colour bits a row short", BuildIco({e16(Cut(b, 224))}), "", conv16},
    {"header cut", BuildIco({e16(Cut(b, 20))}), "", conv16},
    {"mask cut by a byte", BuildIco({e16(Cut(b, 295))}), "3*", ""},
    {"biClrUsed 0xFFFFFFFF", BuildIco({{16, 16, 1, 8, With(Bitmap(16, 32, 1, 8), kClrUsed, 0xFFFFFFFF)}}), "", "Error converting format of icon with 16 x 16 pixels, 8 bits per pixel"},
    {"biClrUsed 0x10000: no table", BuildIco({{16, 16, 1, 8, With(Bitmap(16, 32, 1, 8), kClrUsed, 0x10000)}}), "7", ""},
    {"height 0", BuildIco({e16(With(b, kHeight, 0))}), "", conv16},
    {"height 1", BuildIco({e16(With(b, kHeight, 1))}), "", conv16},
    {"negative height", BuildIco({e16(With(b, kHeight, static_cast<std::uint32_t>(-32)))}), "", conv16},
    {"height INT_MIN", BuildIco({e16(With(b, kHeight, 0x80000000))}), "", conv16},
    {"negative width", BuildIco({e16(With(b, kWidth, static_cast<std::uint32_t>(-16)))}), "", conv16},
    {"width INT_MIN", BuildIco({e16(With(b, kWidth, 0x80000000))}), "", conv16},
    {"48 x 48 in 296 bytes", BuildIco({e16(Bitmap(48, 96, 1, 4, 296))}), "", conv16},
    {"65535 planes of 65535 bits", BuildIco({e16(Bitmap(1, 2, 65535, 65535, 296))}), "", conv16},
    {"biSize 0xFFFFFFFF", BuildIco({e16(With(b, kSize, 0xFFFFFFFF))}), "", conv16},
    {"biSize 12", BuildIco({e16(With(b, kSize, 12))}), "", conv16},
    {"biSize 44", BuildIco({e16(With(Bitmap(16, 32, 1, 4, 300), kSize, 44))}), "3<0", ""},
    {"bit count 0 everywhere", BuildIco({{16, 16, 0, 0, With(b, kPlanes, 0)}}), "", "Error converting format of icon with 16 x 16 pixels, 0 bits per pixel"},
    {"32 x 32 under a 16 entry", BuildIco({e16(PaintedBlock(1))}), "3<0", ""},
    {"200 x 2 under a 16 entry", BuildIco({e16(Bitmap(200, 4, 1, 4))}), "3<0", ""},
    {"16 x 16 under a 32 entry", BuildIco({{32, 32, 1, 4, small.data}}), "1<0", ""},
    {"16 x 16 under a 256 entry", BuildIco({{0, 0, 1, 32, Bitmap(16, 32, 1, 32)}}), "8<0", ""},
    {"1-bit header under 4", BuildIco({e16(Bitmap(16, 32, 1, 1))}), "3<0", ""},
    {"3 planes of 1 bit", BuildIco({e16(Bitmap(16, 32, 3, 1))}), "3<0", ""},
    {"2 planes of 2 bits", BuildIco({{16, 16, 2, 2, Bitmap(16, 32, 2, 2)}}), "3<0", ""},
    {"16-bit header under 32", BuildIco({e32(Bitmap(16, 32, 1, 16))}), "12<0", ""},
    {"24-bit header under 32", BuildIco({e32(Bitmap(16, 32, 1, 24))}), "12<0", ""},
    {"64-bit header under 32", BuildIco({e32(Bitmap(16, 32, 1, 64))}), "12<0", ""},
    {"256 px bitmap", BuildIco({large}), "8<0", ""},
    {"later entry wins", BuildIco({small, e16(b)}), "3<1", ""},
    // Identified by its own header: it and every bitmap after it count as modified.
    {"planes and bits 0", BuildIco({small, foreign, {16, 16, 1, 8, PaintedBlock(7)}, e12}), "3<0 5*<1 7*<2 12*<3", ""},
    {"1-bit entry", BuildIco({{16, 16, 1, 1, Bitmap(16, 32, 1, 1)}, small}), "3<1 -0", ""},
    {"64-bit entry", BuildIco({{16, 16, 1, 64, Bitmap(16, 32, 1, 64)}, small}), "3<1 -0", ""},
    {"48 px 24-bit entry", BuildIco({{48, 48, 1, 24, Bitmap(48, 96, 1, 24)}, small}), "3<1 -0", ""},
    {"64 px entry", BuildIco({{64, 64, 1, 32, Bitmap(64, 128, 1, 32)}, small}), "3<1 -0", ""},
    {"256 px 8-bit entry", BuildIco({{0, 0, 1, 8, Bitmap(256, 512, 1, 8)}, small}), "3<1 -0", ""},
    {"16 x 32 entry", BuildIco({{16, 32, 1, 4, Bitmap(16, 64, 1, 4)}, small}), "3<1 -0", ""},
    {"failure after a good entry", BuildIco({small, {16, 16, 1, 32, e12.data, 1129}}), "3<0", "Error reading all of icon with 16 x 16 pixels, 32 bits per pixel"},
    {"written PNG", BuildIco({{0, 0, 1, 32, png}}), "8p", ""},
    // Nothing of the earlier 16 px image stays.
    {"16 px bitmap, then PNG", BuildIco({{0, 0, 1, 32, Bitmap(16, 32, 1, 32)}, {0, 0, 1, 32, png}}), "8p", ""},
    {"PNG, directory depth 0", BuildIco({{0, 0, 0, 0, png}}), "8p", ""},
    // The stream's own header decides, not the directory.
    {"PNG, directory depth 8", BuildIco({{0, 0, 1, 8, png}}), "8*p", ""},
    {"PNG under a 16 entry", BuildIco({e32(png)}), "8*p", ""},
    {"IHDR CRC broken, then a bitmap", BuildIco({{0, 0, 1, 32, With(png, 29, 0)}, small}), "3<1 -0", ""},
    {"stream cut", BuildIco({{0, 0, 1, 32, Cut(png, 80)}}), "-0", ""},
    {"IDAT not deflate", BuildIco({{0, 0, 1, 32, Rechunk(png, "IDAT", notDeflate)}}), "-0", ""},
    {"IHDR 65535 x 65535", BuildIco({{0, 0, 1, 32, Rechunk(png, "IHDR", huge)}}), "-0", ""},
    {"PNG past the end", BuildIco({{0, 0, 1, 32, png, static_cast<std::uint32_t>(png.size() + 1)}}), "", "Error reading all of temporary " + i0},
  };
  // clang-format on
  for (const Row& row : rows) Check(row);
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
}  // namespace pictaro::testing
