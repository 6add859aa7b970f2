// Files that lie: counts, offsets and lengths reaching past the end or wrapping, headers whose
// sizes and depths disagree with the directory or the block, and damaged PNG streams. Each one
// gives its message (or none), keeps what it should, allocates no more than the file holds, and
// leaves every view of a present resource inside that resource's own block.
#include <gtest/gtest.h>

#include <FreeImage.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "icofile/IcoInput.h"
#include "icofile/PngImage.h"
#include "model/BitmapInfoHeader.h"
#include "support/FakePluginUi.h"
#include "support/IcoFixtures.h"

namespace pictaro::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Remembers the largest buffer the reader asked for.
class MeasuringInput : public MemoryIcoInput {
 public:
  explicit MeasuringInput(const Bytes& bytes) : MemoryIcoInput(bytes.data(), bytes.size()) {}
  bool Allocate(Bytes& buffer, std::size_t bytes) override {
    largest = std::max(largest, bytes);
    return IcoInput::Allocate(buffer, bytes);
  }
  std::size_t largest = 0;
};

// A header followed by patterned bytes: as many as its layout needs, or `total`.
Bytes Bitmap(std::int32_t width, std::int32_t doubledHeight, std::uint16_t planes,
             std::uint16_t bits, std::size_t total = 0) {
  if (total == 0) {
    const std::uint64_t colors = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
    const std::uint64_t rows = static_cast<std::uint64_t>(doubledHeight / 2);
    const std::uint64_t w = static_cast<std::uint64_t>(width);
    total = 40 + 4 * colors + rows * (RowBytes(w, std::uint64_t{planes} * bits) + RowBytes(w, 1));
  }
  Bytes bytes(std::max<std::size_t>(total, kBitmapInfoHeaderSize));
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  WriteBitmapInfoHeader({40, width, doubledHeight, planes, bits, 0, 0, 0, 0, 0, 0}, bytes.data());
  bytes.resize(total);
  return bytes;
}

Bytes WithU32(Bytes bytes, std::size_t at, std::uint32_t value) {
  PutU32(bytes.data() + at, value);
  return bytes;
}

HandEntry Lying(HandEntry entry, std::optional<std::uint32_t> bytes,
                std::optional<std::uint32_t> offset = std::nullopt) {
  entry.bytes = bytes;
  entry.offset = offset;
  return entry;
}

Bytes Cut(Bytes bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

struct Case {
  const char* name;
  Bytes file;
  int result;
  const char* message;  // nullptr: no message
  std::vector<int> present;
};

std::vector<int> PresentIndices(const ResourceGrid& grid) {
  std::vector<int> indices;
  for (int i = 0; i < ResourceGrid::kResourceCount; ++i) {
    if (grid.resources[i].present) indices.push_back(i);
  }
  return indices;
}

// Header, table, colour rows and mask rows of every present resource lie inside its block, with
// the row sizes the resource's own width and depth give, as drawing and Apply compute them.
void ExpectViewsInsideBlocks(const ResourceGrid& grid) {
  for (const int i : PresentIndices(grid)) {
    SCOPED_TRACE("resource " + std::to_string(i));
    const IconResource& r = grid.resources[i];
    const std::uint8_t* begin = r.block.data();
    const std::uint64_t size = r.block.size();
    ASSERT_EQ(r.blockSize, size);
    ASSERT_EQ(r.header, begin);
    ASSERT_GE(size, kBitmapInfoHeaderSize);
    ASSERT_TRUE(r.colorBits >= begin && r.colorBits <= begin + size);
    ASSERT_TRUE(r.maskBits >= begin && r.maskBits <= begin + size);
    const std::uint64_t color = static_cast<std::uint64_t>(r.colorBits - begin);
    const std::uint64_t mask = static_cast<std::uint64_t>(r.maskBits - begin);
    EXPECT_GE(color, kBitmapInfoHeaderSize + 4 * std::uint64_t{r.colorCount});
    EXPECT_LE(color + r.height * RowBytes(r.width, r.depth), size);
    EXPECT_LE(mask + r.height * RowBytes(r.width, 1), size);
  }
}

void ExpectMessage(const RecordingDesktop& desktop, const char* message, const std::string& path) {
  if (message == nullptr) {
    EXPECT_TRUE(desktop.messages.empty()) << desktop.messages.front().text;
    return;
  }
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, message);
  EXPECT_EQ(desktop.messages[0].caption, path);
  EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(desktop.messages[0].buttons, MessageButtons::Ok);
}

void Check(const Case& c) {
  SCOPED_TRACE(c.name);
  ResourceGrid grid;
  RecordingDesktop desktop;
  MeasuringInput input(c.file);
  EXPECT_EQ(grid.ReadIco(input, "hostile.ico", desktop), c.result);
  ExpectMessage(desktop, c.message, "hostile.ico");
  EXPECT_EQ(PresentIndices(grid), c.present);
  EXPECT_LE(input.largest, c.file.size());
  ExpectViewsInsideBlocks(grid);
}

constexpr const char* kShort16 = "Error reading all of icon with 16 x 16 pixels, 4 bits per pixel";
constexpr const char* kConvert16 =
    "Error converting format of icon with 16 x 16 pixels, 4 bits per pixel";

TEST(HostileIcoTest, BitmapFilesThatLie) {
  const Bytes block = Bitmap(16, 32, 1, 4);  // 296 bytes, a valid 16 x 16 4-bit image
  const auto e16 = [](Bytes data) { return HandEntry(16, 16, 1, 4, std::move(data)); };
  const auto e32 = [](Bytes data) { return HandEntry(16, 16, 1, 32, std::move(data)); };
  using namespace header_offset;
  const std::vector<Case> cases = {
      {"count 0", BuildIco({}), 1, nullptr, {}},
      {"count 65535 in 22 bytes",
       BuildIco({e16({})}, 1, 65535),
       0,
       "Error reading all icon directory entries from file",
       {}},
      {"offset past the end",
       BuildIco({Lying(e16(block), std::nullopt, 0x10000)}),
       0,
       kShort16,
       {}},
      {"offset + length wraps", BuildIco({Lying(e16(block), 0x20, 0xFFFFFFF0)}), 0, kShort16, {}},
      {"256 entry at 0xFFFFFFF0",
       BuildIco({Lying(HandEntry(0, 0, 1, 32, block), 0x20, 0xFFFFFFF0)}),
       0,
       "Error reading icon with 0 x 0 pixels, 32 bits per pixel",
       {}},
      {"length 0xFFFFFFF0", BuildIco({Lying(e16(block), 0xFFFFFFF0)}), 0, kShort16, {}},
      {"temporary length 0xFFFFFFF0",
       BuildIco({Lying(HandEntry(64, 64, 1, 32, block), 0xFFFFFFF0)}),
       0,
       "Error reading all of temporary icon with 64 x 64 pixels, 32 bits per pixel",
       {}},
      {"file cut inside the image", Cut(BuildIco({e16(block)}), 250), 0, kShort16, {}},
      {"biClrUsed 0xFFFFFFFF",
       BuildIco({HandEntry(16, 16, 1, 8, WithU32(Bitmap(16, 32, 1, 8), kClrUsed, 0xFFFFFFFF))}),
       0,
       "Error converting format of icon with 16 x 16 pixels, 8 bits per pixel",
       {}},
      {"biClrUsed 0x10000: no table",
       BuildIco({HandEntry(16, 16, 1, 8, WithU32(Bitmap(16, 32, 1, 8), kClrUsed, 0x10000))}),
       1,
       nullptr,
       {7}},
      {"height 0", BuildIco({e16(Bitmap(16, 0, 1, 4, 296))}), 0, kConvert16, {}},
      {"height 1", BuildIco({e16(Bitmap(16, 1, 1, 4, 296))}), 0, kConvert16, {}},
      {"negative height", BuildIco({e16(Bitmap(16, -32, 1, 4, 296))}), 0, kConvert16, {}},
      {"height INT_MIN", BuildIco({e16(Bitmap(16, INT_MIN, 1, 4, 296))}), 0, kConvert16, {}},
      {"negative width", BuildIco({e16(Bitmap(-16, 32, 1, 4, 296))}), 0, kConvert16, {}},
      {"width INT_MIN", BuildIco({e16(Bitmap(INT_MIN, 32, 1, 4, 296))}), 0, kConvert16, {}},
      {"32 x 32 under a 16 entry", BuildIco({e16(Bitmap(32, 64, 1, 4))}), 1, nullptr, {3}},
      {"200 x 2 under a 16 entry", BuildIco({e16(Bitmap(200, 4, 1, 4))}), 1, nullptr, {3}},
      {"48 x 48 in 296 bytes", BuildIco({e16(Bitmap(48, 96, 1, 4, 296))}), 0, kConvert16, {}},
      {"bit count 0 everywhere",
       BuildIco({HandEntry(16, 16, 0, 0, Bitmap(16, 32, 0, 0, 296))}),
       0,
       "Error converting format of icon with 16 x 16 pixels, 0 bits per pixel",
       {}},
      {"bit count 0, header 8-bit",
       BuildIco({HandEntry(32, 32, 0, 0, Bitmap(32, 64, 1, 8))}),
       1,
       nullptr,
       {5}},
      {"1-bit entry", BuildIco({HandEntry(16, 16, 1, 1, Bitmap(16, 32, 1, 1))}), 1, nullptr, {}},
      {"64-bit entry", BuildIco({HandEntry(16, 16, 1, 64, Bitmap(16, 32, 1, 64))}), 1, nullptr, {}},
      {"1-bit header under 4", BuildIco({e16(Bitmap(16, 32, 1, 1))}), 1, nullptr, {3}},
      {"3 planes of 1 bit", BuildIco({e16(Bitmap(16, 32, 3, 1))}), 1, nullptr, {3}},
      {"2 planes of 2 bits",
       BuildIco({HandEntry(16, 16, 2, 2, Bitmap(16, 32, 2, 2))}),
       1,
       nullptr,
       {3}},
      {"16-bit header under 32", BuildIco({e32(Bitmap(16, 32, 1, 16))}), 1, nullptr, {12}},
      {"24-bit header under 32", BuildIco({e32(Bitmap(16, 32, 1, 24))}), 1, nullptr, {12}},
      {"64-bit header under 32", BuildIco({e32(Bitmap(16, 32, 1, 64))}), 1, nullptr, {12}},
      {"65535 planes of 65535 bits",
       BuildIco({e16(Bitmap(1, 2, 65535, 65535, 296))}),
       0,
       kConvert16,
       {}},
      {"colour bits cut", BuildIco({e16(Cut(block, 200))}), 0, kConvert16, {}},
      // A short mask is completed (opaque) rather than refused.
      {"mask cut by a byte", BuildIco({e16(Cut(block, 295))}), 1, nullptr, {3}},
      {"header cut", BuildIco({e16(Cut(block, 20))}), 0, kConvert16, {}},
      {"biSize 0xFFFFFFFF", BuildIco({e16(WithU32(block, kSize, 0xFFFFFFFF))}), 0, kConvert16, {}},
      {"biSize 12", BuildIco({e16(WithU32(block, kSize, 12))}), 0, kConvert16, {}},
      {"biSize 44",
       BuildIco({e16(WithU32(Bitmap(16, 32, 1, 4, 300), kSize, 44))}),
       1,
       nullptr,
       {3}},
      {"16 x 16 header under a 256 entry",
       BuildIco({HandEntry(0, 0, 1, 32, Bitmap(16, 32, 1, 32))}),
       1,
       nullptr,
       {8}},
      {"bad entry after a good one",
       BuildIco({e16(block), HandEntry(32, 32, 1, 4, Cut(block, 100))}, 2),
       0,
       "Error converting format of icon with 32 x 32 pixels, 4 bits per pixel",
       {3}},
  };
  for (const Case& c : cases) Check(c);
}

// The PNG stream of the painted 256 px resource, as the writer makes it.
Bytes WrittenPng() {
  ResourceGrid grid;
  PaintGrid(grid, {8});
  Bytes stream;
  EXPECT_EQ(EncodePng(grid.resources[8], stream), PngEncoding::Encoded);
  return stream;
}

// Replaces the data of the chunk at `at` (its length field) and writes a matching CRC.
Bytes WithChunkData(const Bytes& png, std::size_t at, const Bytes& data) {
  const std::uint32_t length =
      (std::uint32_t{png[at]} << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
  Bytes out(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(at));
  const std::size_t start = out.size() + 4;
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(data.size() >> shift));
  out.insert(out.end(), png.begin() + static_cast<std::ptrdiff_t>(at + 4),
             png.begin() + static_cast<std::ptrdiff_t>(at + 8));
  out.insert(out.end(), data.begin(), data.end());
  const DWORD crc =
      FreeImage_ZLibCRC32(0, out.data() + start, static_cast<DWORD>(out.size() - start));
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(crc >> shift));
  out.insert(out.end(), png.begin() + static_cast<std::ptrdiff_t>(at + 12 + length), png.end());
  return out;
}

Bytes WithIhdrSize(const Bytes& png, std::uint32_t width, std::uint32_t height) {
  Bytes ihdr(png.begin() + 16, png.begin() + 29);
  for (int shift = 24, i = 0; shift >= 0; shift -= 8, ++i) {
    ihdr[i] = static_cast<std::uint8_t>(width >> shift);
    ihdr[4 + i] = static_cast<std::uint8_t>(height >> shift);
  }
  return WithChunkData(png, 8, ihdr);
}

TEST(HostileIcoTest, DamagedPngStreamsAreSkipped) {
  const Bytes png = WrittenPng();
  ASSERT_GT(png.size(), 100u);
  const std::string_view kIdat = "IDAT";
  // Where the first IDAT chunk starts: its length field.
  const std::size_t idat = static_cast<std::size_t>(
      std::search(png.begin(), png.end(), kIdat.begin(), kIdat.end()) - png.begin() - 4);
  Bytes badCrc = png;
  badCrc[29] ^= 0xFF;
  Bytes garbage(64, 0xAA);
  garbage[0] = 0x78;
  garbage[1] = 0x9C;
  const auto at256 = [](Bytes data, std::uint16_t bits = 32) {
    return HandEntry(0, 0, bits == 0 ? 0 : 1, bits, std::move(data));
  };
  const std::vector<Case> cases = {
      {"written PNG", BuildIco({at256(png)}), 1, nullptr, {8}},
      {"PNG, directory depth 0", BuildIco({at256(png, 0)}), 1, nullptr, {8}},
      // The stream's own header decides, not the directory.
      {"PNG, directory depth 8", BuildIco({at256(png, 8)}), 1, nullptr, {8}},
      {"PNG under a 16 entry", BuildIco({HandEntry(16, 16, 1, 32, png)}), 1, nullptr, {8}},
      {"IHDR CRC broken", BuildIco({at256(badCrc)}), 1, nullptr, {}},
      {"IHDR CRC broken, then a bitmap",
       BuildIco({at256(badCrc), HandEntry(16, 16, 1, 4, Bitmap(16, 32, 1, 4))}),
       1,
       nullptr,
       {3}},
      {"IDAT cut", BuildIco({at256(Cut(png, idat + 20))}), 1, nullptr, {}},
      {"IDAT not deflate", BuildIco({at256(WithChunkData(png, idat, garbage))}), 1, nullptr, {}},
      {"IHDR 65535 x 65535", BuildIco({at256(WithIhdrSize(png, 65535, 65535))}), 1, nullptr, {}},
      {"IHDR 469762080 wide", BuildIco({at256(WithIhdrSize(png, 469762080, 256))}), 1, nullptr, {}},
      {"PNG past the end",
       BuildIco({Lying(at256(png), static_cast<std::uint32_t>(png.size() + 1))}),
       0,
       "Error reading all of temporary icon with 0 x 0 pixels, 32 bits per pixel",
       {}},
  };
  for (const Case& c : cases) Check(c);
}

}  // namespace
}  // namespace pictaro::testing
