#include <FreeImage.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "model/LittleEndian.h"
#include "model/ResourceGrid.h"
#include "support/FakePluginUi.h"
#include "support/IcoFixtures.h"
#include "support/TempFolder.h"

namespace pictaro {
namespace {

using namespace testing;
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// FreeImage 3.18 still saves through a disabled plug-in, so a failing PNG save is staged by the
// stand-in for FreeImage_SaveToMemory below, for one scope.
bool gPngSaveFails = false;
struct PngSaveFails {
  PngSaveFails() { gPngSaveFails = true; }
  ~PngSaveFails() { gPngSaveFails = false; }
};

const std::uint32_t kOffsets[13] = {214,   1854,  2598,   3086,   3382,   7134,  9350,
                                    11086, 12470, 282846, 292486, 296750, 299190};

const std::uint8_t* EntryOf(const Bytes& file, int n) {
  return file.data() + 6 + 16 * n;
}

std::vector<std::string> FolderNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
  return names;
}

TEST(IcoWriterTest, SingleSixteenPixelFourBitImage) {
  TempFolder folder;
  const fs::path path = folder.Path() / "one.ico";
  ResourceGrid grid;
  PaintGrid(grid, {3});
  RecordingDesktop desktop;
  ASSERT_EQ(grid.WriteIco(path, desktop), 1);

  const Bytes file = ReadBytes(path);
  ASSERT_EQ(file.size(), 318u);
  const Bytes head(file.begin(), file.begin() + 22);
  EXPECT_EQ(head, (Bytes{0, 0, 1, 0, 1, 0, 16, 16, 16, 0, 1, 0, 4, 0, 0x28, 1, 0, 0, 22, 0, 0, 0}));
  EXPECT_TRUE(std::equal(file.begin() + 22, file.end(), grid.resources[3].block.begin()));
  EXPECT_TRUE(desktop.messages.empty());
}

TEST(IcoWriterTest, FullGridLaysOutThirteenEntries) {
  TempFolder folder;
  const fs::path path = folder.Path() / "full.ico";
  ResourceGrid grid;
  PaintGrid(grid, kAllIndices);
  RecordingDesktop desktop;
  ASSERT_EQ(grid.WriteIco(path, desktop), 1);

  const Bytes file = ReadBytes(path);
  ASSERT_EQ(file.size(), 300318u);
  EXPECT_EQ(GetU16(file.data() + 4), 13);
  for (int i = 0; i < 13; ++i) {
    SCOPED_TRACE(i);
    const IconResource& r = grid.resources[i];
    const std::uint8_t* e = EntryOf(file, i);
    EXPECT_EQ(e[0], i == 8 ? 0 : r.width);
    EXPECT_EQ(e[1], i == 8 ? 0 : r.height);
    EXPECT_EQ(e[2], r.depth == 4 ? 16 : 0);
    EXPECT_EQ(e[3], 0);
    EXPECT_EQ(GetU16(e + 4), 1);
    EXPECT_EQ(GetU16(e + 6), r.depth);
    EXPECT_EQ(GetU32(e + 8), r.blockSize);
    EXPECT_EQ(GetU32(e + 12), kOffsets[i]);
    EXPECT_EQ(grid.ImageOffset(i), kOffsets[i]);
    EXPECT_TRUE(std::equal(r.block.begin(), r.block.end(), file.begin() + kOffsets[i]));
  }
}

// Big-endian word of a PNG stream.
std::uint32_t Be32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

TEST(IcoWriterTest, PngCompressionStoresLargeImageAsRgbaPng) {
  // Painted: partly transparent. Opaque: FreeImage on its own would drop the alpha channel.
  for (const bool opaque : {false, true}) {
    SCOPED_TRACE(opaque ? "opaque" : "painted");
    TempFolder folder;
    const fs::path path = folder.Path() / "png.ico";
    ResourceGrid grid;
    PaintGrid(grid, kAllIndices);
    IconResource& large = grid.resources[8];
    if (opaque) {
      for (std::size_t p = 0; p < 256 * 256; ++p) large.colorBits[4 * p + 3] = 255;
    }
    const Bytes pixels(large.colorBits, large.colorBits + 256 * 1024);
    grid.pngCompress = 1;
    RecordingDesktop desktop;
    ASSERT_EQ(grid.WriteIco(path, desktop), 1);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(large.blockSize, 270376u);

    const Bytes file = ReadBytes(path);
    const std::uint32_t length = GetU32(EntryOf(file, 8) + 8);
    ASSERT_EQ(GetU32(EntryOf(file, 8) + 12), 12470u);
    ASSERT_GT(length, 33u);
    ASSERT_EQ(file.size(), 300318u - 270376u + length);
    const std::uint8_t* png = file.data() + 12470;
    EXPECT_TRUE(std::equal(png, png + 8, Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10}.begin()));
    EXPECT_EQ(Be32(png + 16), 256u);
    EXPECT_EQ(Be32(png + 20), 256u);
    EXPECT_EQ(png[24], 8);
    EXPECT_EQ(png[25], 6);
    std::uint32_t next = 12470 + length;
    for (int i = 9; i < 13; ++i) {
      EXPECT_EQ(GetU32(EntryOf(file, i) + 12), next) << i;
      next += grid.resources[i].blockSize;
    }

    ResourceGrid back;
    std::array<StoredEntry, 13> stored;
    ASSERT_EQ(back.ReadIco(path, desktop, &stored), 1);
    EXPECT_TRUE(desktop.messages.empty());
    const IconResource& read = back.resources[8];
    ASSERT_EQ(read.present, 1);
    EXPECT_EQ(Bytes(read.colorBits, read.colorBits + 256 * 1024), pixels);
    // The stream holds no mask: it follows alpha again, as in the painted image.
    const Bytes mask = opaque ? Bytes(256 * 32, 0) : Bytes(large.maskBits, large.maskBits + 8192);
    EXPECT_EQ(Bytes(read.maskBits, read.maskBits + 256 * 32), mask);
    EXPECT_EQ(stored[8].storedBytes, length);
    EXPECT_TRUE(stored[8].png);
  }
}

TEST(IcoWriterTest, PngCompressionWithoutLargeImageChangesNothing) {
  TempFolder folder;
  std::vector<int> indices = kAllIndices;
  indices.erase(indices.begin() + 8);
  Bytes files[2];
  for (const int flag : {0, 1}) {
    ResourceGrid grid;
    PaintGrid(grid, indices);
    grid.pngCompress = flag;
    RecordingDesktop desktop;
    const fs::path path = folder.Path() / (std::to_string(flag) + ".ico");
    ASSERT_EQ(grid.WriteIco(path, desktop), 1);
    files[flag] = ReadBytes(path);
  }
  EXPECT_EQ(files[0].size(), 300318u - 270376u - 16u);
  EXPECT_EQ(files[0], files[1]);
}

TEST(IcoWriterTest, EmptyGridWritesBareHeader) {
  TempFolder folder;
  ResourceGrid grid;
  RecordingDesktop desktop;
  ASSERT_EQ(grid.WriteIco(folder.Path() / "empty.ico", desktop), 1);
  EXPECT_EQ(ReadBytes(folder.Path() / "empty.ico"), (Bytes{0, 0, 1, 0, 0, 0}));
}

TEST(IcoWriterTest, SizeImageWrittenAsZeroAndSavesRepeat) {
  TempFolder folder;
  const fs::path first = folder.Path() / "a.ico";
  const fs::path second = folder.Path() / "b.ico";
  ResourceGrid grid;
  PaintGrid(grid, {0, 8, 12});
  for (const int i : {0, 8, 12}) PutU32(grid.resources[i].block.data() + 20, 0x01020304);
  RecordingDesktop desktop;
  ASSERT_EQ(grid.AnyModified(), 1);
  ASSERT_EQ(grid.WriteIco(first, desktop), 1);
  EXPECT_EQ(grid.AnyModified(), 0);

  const Bytes file = ReadBytes(first);
  for (const int n : {0, 1, 2}) {
    const int index = n == 0 ? 0 : n == 1 ? 8 : 12;
    EXPECT_EQ(GetU32(file.data() + GetU32(EntryOf(file, n) + 12) + 20), 0u) << index;
    EXPECT_EQ(GetU32(grid.resources[index].block.data() + 20), 0x01020304u) << index;
  }
  ResourceGrid back;
  ASSERT_EQ(back.ReadIco(first, desktop), 1);
  ASSERT_EQ(back.WriteIco(second, desktop), 1);
  EXPECT_EQ(ReadBytes(second), file);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST(IcoWriterTest, FailedPngEncodingFallsBackToBitmap) {
  TempFolder folder;
  const fs::path path = folder.Path() / "nopng.ico";
  ResourceGrid grid;
  PaintGrid(grid, {8, 12});
  grid.pngCompress = 1;
  RecordingDesktop desktop;
  int result = 0;
  {
    PngSaveFails fails;
    result = grid.WriteIco(path, desktop);
  }
  ASSERT_EQ(result, 1);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Error compressing PNG data");
  EXPECT_EQ(desktop.messages[0].caption, path.string());
  EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Error);
  const Bytes file = ReadBytes(path);
  ASSERT_EQ(file.size(), 38u + 270376u + 1128u);
  EXPECT_EQ(GetU32(EntryOf(file, 0) + 8), 270376u);
  EXPECT_EQ(GetU32(EntryOf(file, 1) + 12), 38u + 270376u);
  EXPECT_TRUE(std::equal(grid.resources[8].block.begin(), grid.resources[8].block.end(),
                         file.begin() + 38));
}

// Lowers the largest file this process may write, with SIGXFSZ ignored so that an oversized
// write fails instead of ending the process.
struct FileSizeLimit {
  explicit FileSizeLimit(rlim_t bytes) : handler(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit lowered = before;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, handler);
  }
  void (*handler)(int);
  rlimit before{};
};

TEST(IcoWriterTest, FailedWriteLeavesPreviousFile) {
  struct Case {
    rlim_t limit;
    bool message;
  };
  for (const Case c : {Case{0, true}, Case{300, false}}) {
    SCOPED_TRACE(c.limit);
    TempFolder folder;
    const fs::path path = folder.Path() / "keep.ico";
    {
      ResourceGrid old;
      PaintGrid(old, {3});
      RecordingDesktop desktop;
      ASSERT_EQ(old.WriteIco(path, desktop), 1);
    }
    const Bytes previous = ReadBytes(path);
    ResourceGrid grid;
    PaintGrid(grid, kAllIndices);
    RecordingDesktop desktop;
    int result = -1;
    {
      // Nothing may be written to a file (not even a test report) while the limit holds.
      FileSizeLimit limit(c.limit);
      result = grid.WriteIco(path, desktop);
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadBytes(path), previous);
    EXPECT_EQ(FolderNames(folder.Path()), std::vector<std::string>{"keep.ico"});
    for (const IconResource& r : grid.resources) EXPECT_EQ(r.modified, 1);
    if (c.message) {
      ASSERT_EQ(desktop.messages.size(), 1u);
      EXPECT_EQ(desktop.messages[0].text, "Error writing .ICO file");
      EXPECT_EQ(desktop.messages[0].caption, path.string());
      EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Error);
    } else {
      EXPECT_TRUE(desktop.messages.empty());
    }
  }
}

TEST(IcoWriterTest, TargetKinds) {
  TempFolder folder;
  ResourceGrid grid;
  PaintGrid(grid, {3});
  RecordingDesktop desktop;
  const Bytes other = {0, 0, 1, 0, 0, 0};

  const fs::path dir = folder.Path() / "dir.ico";
  fs::create_directory(dir);
  EXPECT_EQ(grid.WriteIco(dir, desktop), 0);
  EXPECT_TRUE(fs::is_directory(dir));

  if (geteuid() != 0) {  // root writes through any permission
    const fs::path locked = folder.Path() / "locked.ico";
    WriteBytes(locked, other);
    fs::permissions(locked, fs::perms(0444));
    EXPECT_EQ(grid.WriteIco(locked, desktop), 0);
    EXPECT_EQ(ReadBytes(locked), other);
  }

  const fs::path real = folder.Path() / "real.ico";
  const fs::path link = folder.Path() / "link.ico";
  WriteBytes(real, other);
  fs::permissions(real, fs::perms(0640));
  fs::create_symlink("real.ico", link);
  EXPECT_EQ(grid.WriteIco(link, desktop), 1);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadBytes(real).size(), 318u);
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms(0640));
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(grid.AnyModified(), 0);
  std::vector<std::string> names = FolderNames(folder.Path());
  std::sort(names.begin(), names.end());
  std::vector<std::string> expected = {"dir.ico", "link.ico", "real.ico"};
  if (geteuid() != 0) expected.insert(expected.begin() + 2, "locked.ico");
  EXPECT_EQ(names, expected);
}

}  // namespace
}  // namespace pictaro

// Takes the place of FreeImage's own for the whole test program; it passes every call on unless
// a test asked for a failing PNG save.
BOOL DLL_CALLCONV FreeImage_SaveToMemory(FREE_IMAGE_FORMAT fif, FIBITMAP* dib, FIMEMORY* stream,
                                         int flags) {
  if (pictaro::gPngSaveFails && fif == FIF_PNG) return FALSE;
  using Save = BOOL(DLL_CALLCONV*)(FREE_IMAGE_FORMAT, FIBITMAP*, FIMEMORY*, int);
  static const auto real = reinterpret_cast<Save>(dlsym(RTLD_NEXT, "FreeImage_SaveToMemory"));
  return real(fif, dib, stream, flags);
}
