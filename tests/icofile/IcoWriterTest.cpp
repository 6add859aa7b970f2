// Files this program writes: the header, one directory entry for each present resource, the
// images back to back with biSizeImage 0 (the 256 px one as a PNG stream when asked), what reading
// them back gives, and saves that fail.
#include <FreeImage.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "support/IcoFixtures.h"
#include "support/TempFolder.h"

namespace pictaro::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// FreeImage 3.18 still saves through a disabled plug-in, so a failing PNG save is staged by the
// stand-in for FreeImage_SaveToMemory below.
bool gPngSaveFails = false;

// A block as the writer stores it: biSizeImage is always 0 in a written file.
Bytes AsWritten(const IconResource& resource) {
  Bytes block = resource.block;
  PutU32(block.data() + 20, 0);
  return block;
}

// A PNG stream's signature and header: 256 x 256, 8 bits a sample, red, green, blue and alpha.
const Bytes kPngStart = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I',
                         'H',  'D', 'R', 0,   0,  1,  0,  0,  0, 1, 0, 8,  6};

std::vector<std::string> FolderNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(IcoWriterTest, GridsLayOutAndReadBack) {
  std::vector<int> all = kAllIndices, no256 = kAllIndices;
  no256.erase(no256.begin() + 8);
  struct Row {
    std::vector<int> indices;
    int png;      // 0 off, 1 on, 2 on but the PNG save fails
    bool opaque;  // the 256 px image without transparency, which FreeImage alone saves as RGB
    std::uint32_t size;  // 0: it depends on the PNG stream
  };
  const std::vector<Row> rows = {{{}, 0, false, 6},          {{3}, 0, false, 318},
                                 {all, 0, false, 300318},    {no256, 1, false, 29926},
                                 {all, 1, false, 0},         {all, 1, true, 0},
                                 {{8, 12}, 2, false, 271542}};
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.indices.size() << " resources, png " << row.png
                                      << (row.opaque ? ", opaque" : ""));
    TempFolder folder;
    const fs::path path = folder.Path() / "out.ico";
    ResourceGrid grid;
    PaintGrid(grid, row.indices);
    grid.SetPngCompression(row.png == 0 ? 0 : 1);
    if (row.opaque) {
      IconResource& large = grid.resources[8];
      for (std::size_t p = 0; p < 256 * 256; ++p) large.colorBits[4 * p + 3] = 255;
      std::fill(large.maskBits, large.maskBits + 256 * 32, 0);
    }
    for (IconResource& r : grid.resources) {
      if (r.present) PutU32(r.block.data() + 20, 0x01020304);  // biSizeImage
    }
    RecordingDesktop desktop;
    gPngSaveFails = row.png == 2;
    ASSERT_EQ(grid.WriteIco(path, desktop), 1);
    gPngSaveFails = false;
    EXPECT_EQ(ErrorsShown(desktop, path), row.png == 2 ? "Error compressing PNG data" : "");
    EXPECT_EQ(grid.AnyModified(), 0);

    // The file, and the grid read back from it.
    const Bytes file = ReadBytes(path);
    ResourceGrid back;
    std::array<StoredEntry, 13> stored;
    std::vector<SkippedEntry> skipped;
    ASSERT_EQ(back.ReadIco(path, desktop, &stored, &skipped), 1);
    EXPECT_EQ(back.AnyModified(), 0);
    EXPECT_TRUE(skipped.empty());
    const auto count = static_cast<std::uint32_t>(row.indices.size());
    ASSERT_GE(file.size(), 6 + 16 * count);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 6), (Bytes{0, 0, 1, 0, std::uint8_t(count), 0}));
    EXPECT_TRUE(row.size == 0 || file.size() == row.size) << file.size();
    std::uint32_t next = 6 + 16 * count;
    std::vector<std::uint32_t> offsets;
    for (std::uint32_t n = 0; n < count; ++n) {
      const int index = row.indices[n];
      SCOPED_TRACE(index);
      const IconResource& r = grid.resources[index];
      const std::uint8_t* e = file.data() + 6 + 16 * n;
      const std::uint32_t length = GetU32(e + 8);
      offsets.push_back(GetU32(e + 12));
      EXPECT_EQ(Bytes(e, e + 8),
                (Bytes{std::uint8_t(r.width), std::uint8_t(r.height),
                       std::uint8_t(r.depth == 4 ? 16 : 0), 0, 1, 0, std::uint8_t(r.depth), 0}));
      ASSERT_EQ(offsets.back(), next);
      ASSERT_LE(next + length, file.size());
      const Bytes image(file.begin() + next, file.begin() + next + length);
      if (index == 8 && row.png == 1) {
        EXPECT_EQ(Bytes(image.begin(), image.begin() + 26), kPngStart);
      } else {
        EXPECT_EQ(image, AsWritten(r));
      }
      EXPECT_EQ(GetU32(r.block.data() + 20), 0x01020304u);
      EXPECT_EQ(r.blockSize, r.block.size());
      EXPECT_EQ(AsWritten(back.resources[index]), AsWritten(r));
      EXPECT_EQ(stored[index].storedBytes, length);
      EXPECT_EQ(stored[index].png, index == 8 && row.png == 1);
      next += length;
    }
    EXPECT_EQ(next, file.size());
    if (row.indices == all && row.png == 0) {
      EXPECT_EQ(offsets, (std::vector<std::uint32_t>{214, 1854, 2598, 3086, 3382, 7134, 9350, 11086,
                                                     12470, 282846, 292486, 296750, 299190}));
    }

    // A second save of either grid writes the same bytes.
    grid.SetPngCompression(row.png == 1 ? 1 : 0);
    back.SetPngCompression(row.png == 1 ? 1 : 0);
    for (ResourceGrid* again : {&grid, &back}) {
      ASSERT_EQ(again->WriteIco(folder.Path() / "again.ico", desktop), 1);
      EXPECT_EQ(ReadBytes(folder.Path() / "again.ico"), file);
    }
  }
}

TEST(IcoWriterTest, FailedSavesLeaveThePreviousFile) {
  TempFolder folder;
  const auto at = [&folder](const char* name) { return folder.Path() / name; };
  const Bytes previous = {0, 0, 1, 0, 0, 0};
  for (const char* name : {"keep.ico", "locked.ico", "real.ico"}) WriteBytes(at(name), previous);
  fs::permissions(at("locked.ico"), fs::perms(0444));
  fs::permissions(at("real.ico"), fs::perms(0640));
  fs::create_directory(at("dir.ico"));
  fs::create_symlink("real.ico", at("link.ico"));
  const std::vector<std::string> names = FolderNames(folder.Path());
  struct Row {
    const char* name;
    rlim_t limit;  // the largest file this process may write
    const char* message;
  };
  // A limit of 0 fails the header, 300 bytes a later write; a link is written through.
  for (const Row& row : {Row{"keep.ico", 0, "Error writing .ICO file"}, Row{"keep.ico", 300, ""},
                         Row{"dir.ico", RLIM_INFINITY, ""}, Row{"locked.ico", RLIM_INFINITY, ""},
                         Row{"link.ico", RLIM_INFINITY, ""}}) {
    SCOPED_TRACE(::testing::Message() << row.name << ", limit " << row.limit);
    const bool link = std::string(row.name) == "link.ico";
    if (std::string(row.name) == "locked.ico" && geteuid() == 0) continue;  // root writes anyway
    ResourceGrid grid;
    PaintGrid(grid, kAllIndices);
    RecordingDesktop desktop;
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    const rlimit lowered{row.limit, before.rlim_max};
    // An oversized write fails instead of ending the process; nothing else (not even a test
    // report) may be written to a file while the limit holds.
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &lowered);
    const int result = grid.WriteIco(at(row.name), desktop);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(result, link ? 1 : 0);
    EXPECT_EQ(ErrorsShown(desktop, at(row.name)), row.message);
    for (const IconResource& r : grid.resources) EXPECT_EQ(r.modified, link ? 0 : 1);
    EXPECT_EQ(FolderNames(folder.Path()), names);
  }
  EXPECT_TRUE(fs::is_directory(at("dir.ico")) && fs::is_symlink(at("link.ico")));
  EXPECT_EQ(ReadBytes(at("keep.ico")), previous);
  EXPECT_EQ(ReadBytes(at("locked.ico")), previous);
  EXPECT_EQ(ReadBytes(at("real.ico")).size(), 300318u);
  EXPECT_EQ(fs::status(at("real.ico")).permissions() & fs::perms::all, fs::perms(0640));
}

}  // namespace
}  // namespace pictaro::testing

// Takes the place of FreeImage's own for the whole test program; it passes every call on unless
// a test asked for a failing PNG save.
BOOL DLL_CALLCONV FreeImage_SaveToMemory(FREE_IMAGE_FORMAT fif, FIBITMAP* dib, FIMEMORY* stream,
                                         int flags) {
  if (pictaro::testing::gPngSaveFails && fif == FIF_PNG) return FALSE;
  using Save = BOOL(DLL_CALLCONV*)(FREE_IMAGE_FORMAT, FIBITMAP*, FIMEMORY*, int);
  static const auto real = reinterpret_cast<Save>(dlsym(RTLD_NEXT, "FreeImage_SaveToMemory"));
  return real(fif, dib, stream, flags);
}
