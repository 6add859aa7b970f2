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
#include <utility>
#include <vector>

#include "icofile/PngImage.h"
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

TEST(IcoWriterTest, GridsLayOutAndReadBack) {
  std::vector<int> no256 = kAllIndices;
  no256.erase(no256.begin() + 8);
  struct Row {
    std::vector<int> indices;
    int png;      // 0 off, 1 on, 2 on but the PNG save fails
    bool opaque;  // the 256 px image without transparency, which FreeImage alone saves as RGB
  };
  const std::vector<Row> rows = {
      {{}, 0, false},          {{3}, 0, false},        {kAllIndices, 0, false}, {no256, 1, false},
      {kAllIndices, 1, false}, {kAllIndices, 1, true}, {{8, 12}, 2, false}};
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

    // The file holds the header, an entry for each resource (16 colours for 4 bits) and the
    // blocks back to back with biSizeImage 0, the 256 px one as a PNG stream when asked; the
    // grid keeps its own blocks.
    std::vector<HandEntry> entries;
    for (const int index : row.indices) {
      const IconResource& r = grid.resources[index];
      HandEntry& e = entries.emplace_back(HandEntry{std::uint8_t(r.width), std::uint8_t(r.height),
                                                    1, std::uint16_t(r.depth), AsWritten(r)});
      e.colors = r.depth == 4 ? 16 : 0;
      EXPECT_TRUE(index != 8 || row.png != 1 || EncodePng(r, e.data) == PngEncoding::Encoded);
      EXPECT_EQ(GetU32(r.block.data() + 20), 0x01020304u);
      EXPECT_EQ(r.blockSize, r.block.size());
    }
    const Bytes file = ReadBytes(path);
    EXPECT_EQ(file, BuildIco(entries));

    // What it reads back as, stored as it was.
    ResourceGrid back;
    std::array<StoredEntry, 13> stored;
    std::vector<SkippedEntry> skipped;
    ASSERT_EQ(back.ReadIco(path, desktop, &stored, &skipped), 1);
    EXPECT_EQ(back.AnyModified(), 0);
    EXPECT_TRUE(skipped.empty());
    for (std::size_t n = 0; n < row.indices.size(); ++n) {
      const int index = row.indices[n];
      EXPECT_EQ(AsWritten(back.resources[index]), AsWritten(grid.resources[index])) << index;
      EXPECT_EQ(stored[index].storedBytes, entries[n].data.size()) << index;
      EXPECT_EQ(stored[index].png, index == 8 && row.png == 1) << index;
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
  const auto at = [&folder](const std::string& name) { return folder.Path() / name; };
  const Bytes previous = {0, 0, 1, 0, 0, 0};
  for (const char* name : {"keep.ico", "locked.ico", "real.ico"}) WriteBytes(at(name), previous);
  fs::permissions(at("locked.ico"), fs::perms(0444));
  fs::permissions(at("real.ico"), fs::perms(0640));
  fs::create_directory(at("dir.ico"));
  fs::create_symlink("real.ico", at("link.ico"));
  // No file of a failed save stays behind.
  const auto files = [&folder] { return std::distance(fs::directory_iterator(folder.Path()), {}); };
  const auto fileCount = files();
  // The largest file this process may write: 0 fails the header, 300 bytes a later write. A link
  // is written through.
  const rlim_t any = RLIM_INFINITY;
  const std::vector<std::pair<std::string, rlim_t>> saves = {
      {"keep.ico", 0}, {"keep.ico", 300}, {"dir.ico", any}, {"locked.ico", any}, {"link.ico", any}};
  for (const auto& [name, limit] : saves) {
    SCOPED_TRACE(::testing::Message() << name << ", limit " << limit);
    const bool link = name == "link.ico";
    if (name == "locked.ico" && geteuid() == 0) continue;  // root writes anyway
    ResourceGrid grid;
    PaintGrid(grid, kAllIndices);
    RecordingDesktop desktop;
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    const rlimit lowered{limit, before.rlim_max};
    // An oversized write fails instead of ending the process; nothing else (not even a test
    // report) may be written to a file while the limit holds.
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &lowered);
    const int result = grid.WriteIco(at(name), desktop);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(result, link ? 1 : 0);
    EXPECT_EQ(ErrorsShown(desktop, at(name)), limit == 0 ? "Error writing .ICO file" : "");
    for (const IconResource& r : grid.resources) EXPECT_EQ(r.modified, link ? 0 : 1);
    EXPECT_EQ(files(), fileCount);
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
