// Real .ico files written by other projects: each one reads to a known outcome, the images that
// land match the reference decodes, and a file that reads writes back to the same blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/FakePluginUi.h"
#include "support/IcoFixtures.h"
#include "support/TempFolder.h"

namespace pictaro::testing {

// Defined in IcoInteropTest.cpp.
Rgba ResourcePixel(const IconResource& resource, std::uint32_t x, std::uint32_t y);
::testing::AssertionResult ResourceShowsPng(const IconResource& resource,
                                            const std::filesystem::path& png);
::testing::AssertionResult ResourcesShowSame(const IconResource& a, const IconResource& b);

namespace {

const std::filesystem::path kCorpus = PICTARO_CORPUS_DIR;

struct CorpusFile {
  const char* name;
  int result;
  std::vector<int> present;
  std::vector<int> modified;
  const char* message;     // the one message of a failed read
  std::vector<int> png{};  // the resources read from PNG streams
};

// PNG entries land in the 32-bit resource of their own size, whatever the directory says, and
// count as modified unless they are 256 px 8-bit RGBA; bitmaps of other sizes and depths are
// skipped; an entry whose directory names no resource is identified from its own header, and a
// header whose image does not fit its entry fails the read.
const std::vector<CorpusFile>& Corpus() {
  static const std::vector<CorpusFile> files = {
      // PNG entries of every size; the 64 px one is skipped.
      {"icotools/all.ico", 1, {8, 9, 10, 11, 12}, {9, 10, 11, 12}, "", {8, 9, 10, 11, 12}},
      {"icotools/all_ext.ico", 1, {8, 9, 10, 11, 12}, {}, "", {8}},  // 64 px skipped
      {"icotools/x32.ico", 1, {10}, {10}, "", {10}},
      {"icotools/x32_ext.ico", 1, {10}, {}, ""},
      // Depth 0 in the directory; the header's 4-bit 32 px image needs 744 bytes, not 372.
      {"image-rs/Bad_smile-incorrect-image-length.ico",
       0,
       {},
       {},
       "Error converting format of icon with 32 x 32 pixels, 0 bits per pixel"},
      {"image-rs/bmp-24bpp-mask.ico", 1, {}, {}, ""},
      {"image-rs/bmp-32bpp-alpha.ico", 1, {10}, {}, ""},
      {"image-rs/bmp-32bpp-conflicting-and-mask.ico", 1, {12}, {}, ""},
      {"image-rs/bmp_v5_with_icc.ico", 1, {}, {}, ""},  // 127 x 64, 24 bits
      // Depth 0 and a length of 0xFFFFFFF9, far past the end of the file.
      {"image-rs/crash-981fee302fe0fc543ee48292cc3d6ace7e97e633.ico",
       0,
       {},
       {},
       "Error reading all of temporary icon with 32 x 32 pixels, 0 bits per pixel"},
      {"image-rs/lenient-bpp.ico", 1, {8}, {8}, "", {8}},  // 256 px 1-bit PNG of depth 500
      {"image-rs/multiple_entries_with_different_bit_depth.ico",
       1,
       {1, 3, 4, 5, 7, 9, 10, 11, 12},
       {},
       ""},
      {"image-rs/oom-0d0085eb7f66ea55d9119206235cd29e089b9140.ico", 1, {}, {}, ""},  // 32 px PNG
      {"image-rs/oom-ff076e7064c13ec1f8e2c5bbbfb7a77a08db2361.ico",
       0,
       {},
       {},
       "Error reading all of icon with 32 x 32 pixels, 32 bits per pixel"},
      {"image-rs/png-32bpp-alpha.ico", 1, {10}, {10}, "", {10}},
      {"image-rs/png_l8.ico", 1, {10}, {10}, "", {10}},
      {"image-rs/png_rgb8.ico", 1, {10}, {10}, "", {10}},
      {"image-rs/smile.ico", 1, {1, 3}, {1, 3}, ""},  // depth 0: 4 bits by the headers
      // A 64 px entry whose mask runs 256 bytes past its end: completed, then skipped.
      {"image-rs/truncated_mask_32bpp.ico", 1, {}, {}, ""},
      {"image-rs/two-entry-order-test.ico", 1, {4}, {}, ""},
      {"pillow/black_and_white.ico", 1, {}, {}, ""},  // 1 bit
      // 1 bit by the directory, 65535 x 65535 pixels by the header.
      {"pillow/decompression_bomb.ico",
       0,
       {},
       {},
       "Error converting format of icon with 16 x 16 pixels, 1 bits per pixel"},
      {"pillow/hopper.ico", 1, {7}, {}, ""},
      {"pillow/hopper_256x256.ico", 1, {}, {}, ""},         // 256 px bitmap at 24 bits
      {"pillow/hopper_draw.ico", 1, {12}, {12}, "", {12}},  // 16 px PNG
      {"pillow/hopper_mask.ico", 1, {}, {}, ""},            // 1 bit, depth 0 in the directory
      {"pillow/hopper_unexpected.ico", 1, {7}, {7}, ""},    // 16 x 32 in the directory
      {"pillow/pillow.ico", 1, {8, 9, 10, 11, 12}, {}, "", {8}},
      {"pillow/python.ico", 1, {9, 10, 12}, {}, ""},
      {"rust-ico/litexl.ico", 1, {8, 9, 10, 12}, {}, "", {8}},  // the 512 px PNG is skipped
      {"rust-ico/ship.ico", 1, {9, 10, 12}, {}, ""},
      {"rust-ico/wiki.ico", 1, {9, 10, 12}, {}, ""},
  };
  return files;
}

#define REQUIRE_CORPUS() \
  if (!std::filesystem::exists(kCorpus / "README.md")) GTEST_SKIP() << "no corpus at " << kCorpus

struct Loaded {
  int result = 0;
  ResourceGrid grid;
  std::array<StoredEntry, 13> stored{};
  RecordingDesktop desktop;
  explicit Loaded(const std::filesystem::path& path) {
    result = grid.ReadIco(path.string(), desktop, &stored);
  }
  std::vector<int> Where(int IconResource::*flag) const {
    std::vector<int> indices;
    for (int i = 0; i < 13; ++i) {
      if (grid.resources[i].*flag) indices.push_back(i);
    }
    return indices;
  }
};

// A block as the writer stores it: biSizeImage is always 0 in a written file.
std::vector<std::uint8_t> AsWritten(const IconResource& resource) {
  std::vector<std::uint8_t> block = resource.block;
  PutU32(block.data() + 20, 0);
  return block;
}

TEST(IcoCorpus, EveryFileReadsToItsKnownOutcome) {
  REQUIRE_CORPUS();
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kCorpus)) {
    if (entry.path().extension() == ".ico") {
      found.push_back(entry.path().lexically_relative(kCorpus).string());
    }
  }
  std::vector<std::string> listed;
  for (const CorpusFile& file : Corpus()) listed.push_back(file.name);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, listed);  // every file has a row

  for (const CorpusFile& file : Corpus()) {
    SCOPED_TRACE(file.name);
    const Loaded loaded(kCorpus / file.name);
    EXPECT_EQ(loaded.result, file.result);
    EXPECT_EQ(loaded.Where(&IconResource::present), file.present);
    EXPECT_EQ(loaded.Where(&IconResource::modified), file.modified);
    std::vector<int> png;
    for (int i = 0; i < 13; ++i) {
      if (loaded.stored[i].png) png.push_back(i);
    }
    EXPECT_EQ(png, file.png);
    if (file.result == 1) {
      EXPECT_TRUE(loaded.desktop.messages.empty());
    } else {
      ASSERT_EQ(loaded.desktop.messages.size(), 1u);
      EXPECT_EQ(loaded.desktop.messages[0].text, file.message);
      EXPECT_EQ(loaded.desktop.messages[0].caption, (kCorpus / file.name).string());
      EXPECT_EQ(loaded.desktop.messages[0].icon, MessageIcon::Error);
    }
  }
}

TEST(IcoCorpus, LandedImagesMatchTheReferenceDecodes) {
  REQUIRE_CORPUS();
  const std::filesystem::path rs = kCorpus / "image-rs";
  const Loaded alpha(rs / "bmp-32bpp-alpha.ico");
  EXPECT_TRUE(ResourceShowsPng(alpha.grid.resources[10], rs / "bmp-32bpp-alpha.ico.png"));
  // The reference is the 48 px 32-bit entry.
  const std::string multiple = "multiple_entries_with_different_bit_depth.ico";
  const Loaded depths(rs / multiple);
  EXPECT_TRUE(ResourceShowsPng(depths.grid.resources[9], rs / (multiple + ".png")));
  // Every entry, the 4- and 8-bit ones included, as ImageMagick decodes it.
  TempFolder folder;
  if (std::system(("/usr/bin/convert '" + (rs / multiple).string() + "' '" +
                   (folder.Path() / "frame-%d.png").string() + "' 2>/dev/null")
                      .c_str()) == 0) {
    const int kLandsIn[] = {1, 3, 4, 5, 7, 9, 10, 11, 12};
    for (int n = 0; n < 9; ++n) {
      EXPECT_TRUE(ResourceShowsPng(depths.grid.resources[kLandsIn[n]],
                                   folder.Path() / ("frame-" + std::to_string(n) + ".png")))
          << "entry " << n;
    }
  }
  // 4-bit images of depth 0 in the directory, with a table of implied length.
  const Loaded smile(rs / "smile.ico");
  EXPECT_TRUE(ResourceShowsPng(smile.grid.resources[1], rs / "smile.ico.png"));

  // Two entries for one resource: the later one's bytes win.
  const std::filesystem::path order = rs / "two-entry-order-test.ico";
  const std::vector<std::uint8_t> bytes = ReadBytes(order);
  const Loaded twice(order);
  EXPECT_EQ(
      twice.grid.resources[4].block,
      std::vector<std::uint8_t>(bytes.begin() + GetU32(bytes.data() + 6 + 16 + 12), bytes.end()));
  EXPECT_FALSE(ResourceShowsPng(twice.grid.resources[4], rs / "two-entry-order-test.ico.png"));

  // An 8-bit image shows its table colours; the height the directory claims does not matter.
  for (const char* name : {"hopper.ico", "hopper_unexpected.ico"}) {
    const Loaded hopper(kCorpus / "pillow" / name);
    EXPECT_EQ(ResourcePixel(hopper.grid.resources[7], 0, 0), (Rgba{1, 1, 9, 255})) << name;
  }

  // PNG streams of every colour type show what the reference decodes show.
  for (const auto& [name, index] : {std::pair{"png-32bpp-alpha.ico", 10},
                                    {"png_l8.ico", 10},
                                    {"png_rgb8.ico", 10},
                                    {"lenient-bpp.ico", 8}}) {
    const Loaded png(rs / name);
    EXPECT_TRUE(ResourceShowsPng(png.grid.resources[index], rs / (std::string(name) + ".png")))
        << name;
  }

  // The same pictures, written as PNG by one program and as bitmaps (but 256 px) by another.
  const Loaded all(kCorpus / "icotools/all.ico");
  const Loaded allExt(kCorpus / "icotools/all_ext.ico");
  for (const int i : {8, 9, 10, 11, 12}) {
    EXPECT_TRUE(ResourcesShowSame(all.grid.resources[i], allExt.grid.resources[i])) << i;
  }
  const Loaded x32(kCorpus / "icotools/x32.ico");
  const Loaded x32Ext(kCorpus / "icotools/x32_ext.ico");
  EXPECT_TRUE(ResourcesShowSame(x32.grid.resources[10], x32Ext.grid.resources[10]));
}

TEST(IcoCorpus, FilesThatReadWriteBackToTheSameBlocks) {
  REQUIRE_CORPUS();
  TempFolder folder;
  for (const CorpusFile& file : Corpus()) {
    if (file.result != 1 || file.present.empty()) continue;
    for (const int png : {0, 1}) {
      SCOPED_TRACE(std::string(file.name) + (png ? " as PNG" : " as bitmaps"));
      Loaded original(kCorpus / file.name);
      original.grid.SetPngCompression(png);
      const std::filesystem::path copy = folder.Path() / "copy.ico";
      ASSERT_EQ(original.grid.WriteIco(copy.string(), original.desktop), 1);

      const Loaded back(copy);
      EXPECT_EQ(back.result, 1);
      EXPECT_EQ(back.Where(&IconResource::present), file.present);
      // Written with square sizes and real depths, nothing needs converting any more.
      EXPECT_EQ(back.grid.AnyModified(), 0);
      for (const int i : file.present) {
        EXPECT_TRUE(back.grid.resources[i].block == AsWritten(original.grid.resources[i])) << i;
      }
    }
  }
}

}  // namespace
}  // namespace pictaro::testing
