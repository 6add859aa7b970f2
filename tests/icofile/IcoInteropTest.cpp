// Files this program writes, read by icoutils, ImageMagick and Pillow; and files those tools
// write, read by this program. A missing tool skips its tests.
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "model/ResourcePixels.h"
#include "support/FakePluginUi.h"
#include "support/IcoFixtures.h"
#include "support/TempFolder.h"

namespace pictaro::testing {
namespace {

// RGBA pixels, rows top to bottom.
struct Picture {
  std::uint32_t width = 0, height = 0;
  std::vector<Rgba> pixels;
  Rgba At(std::uint32_t x, std::uint32_t y) const { return pixels[y * width + x]; }
};

std::optional<Picture> LoadPng(const std::filesystem::path& path) {
  FIBITMAP* loaded = FreeImage_Load(FIF_PNG, path.c_str(), PNG_DEFAULT);
  if (loaded == nullptr) return std::nullopt;
  FIBITMAP* dib = FreeImage_ConvertTo32Bits(loaded);
  FreeImage_Unload(loaded);
  Picture picture{FreeImage_GetWidth(dib), FreeImage_GetHeight(dib), {}};
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    const BYTE* row = FreeImage_GetScanLine(dib, static_cast<int>(picture.height - 1 - y));
    for (std::uint32_t x = 0; x < picture.width; ++x) {
      const BYTE* p = row + 4 * x;
      picture.pixels.push_back({p[FI_RGBA_RED], p[FI_RGBA_GREEN], p[FI_RGBA_BLUE], p[3]});
    }
  }
  FreeImage_Unload(dib);
  return picture;
}

// What a resource shows: the 1-bit mask as alpha for 1, 4 and 8 bits, the alpha channel for 32.
Picture Decode(const IconResource& r) {
  Picture picture{r.width, r.height, {}};
  for (std::uint32_t y = 0; y < r.height; ++y) {
    for (std::uint32_t x = 0; x < r.width; ++x) {
      const ResourcePixel p = PixelAt(r, x, y);
      const std::uint8_t alpha = r.depth == 32 ? p.alpha : p.masked ? 0 : 255;
      picture.pixels.push_back({p.red, p.green, p.blue, alpha});
    }
  }
  return picture;
}

// Alpha must match everywhere, colour only where the wanted pixel is not fully transparent.
::testing::AssertionResult SamePixels(const Picture& got, const Picture& want) {
  if (got.width != want.width || got.height != want.height) {
    return ::testing::AssertionFailure() << "size " << got.width << "x" << got.height << ", want "
                                         << want.width << "x" << want.height;
  }
  int wrong = 0;
  std::ostringstream first;
  for (std::uint32_t y = 0; y < want.height; ++y) {
    for (std::uint32_t x = 0; x < want.width; ++x) {
      const Rgba g = got.At(x, y), w = want.At(x, y);
      if (g.alpha == w.alpha && (w.alpha == 0 || g == w)) continue;
      if (wrong++ == 0) {
        first << "(" << x << "," << y << ") is " << +g.red << "," << +g.green << "," << +g.blue
              << "," << +g.alpha << ", want " << +w.red << "," << +w.green << "," << +w.blue << ","
              << +w.alpha;
      }
    }
  }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong << " pixels differ; first " << first.str();
}

}  // namespace

// Pixel checks of resources read from files, shared with IcoCorpusTest.cpp.
Rgba ResourcePixel(const IconResource& resource, std::uint32_t x, std::uint32_t y) {
  return Decode(resource).At(x, y);
}

::testing::AssertionResult ResourceShowsPng(const IconResource& resource,
                                            const std::filesystem::path& png) {
  const std::optional<Picture> picture = LoadPng(png);
  if (!picture) return ::testing::AssertionFailure() << "cannot load " << png;
  return SamePixels(Decode(resource), *picture);
}

::testing::AssertionResult ResourcesShowSame(const IconResource& a, const IconResource& b) {
  return SamePixels(Decode(a), Decode(b));
}

namespace {

struct Ran {
  int status = -1;
  std::string output;  // stdout and stderr
};

Ran Shell(const std::string& command) {
  Ran ran;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return ran;
  std::array<char, 4096> chunk{};
  while (std::fgets(chunk.data(), chunk.size(), pipe) != nullptr) ran.output += chunk.data();
  const int status = pclose(pipe);
  ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return ran;
}

std::string Quoted(const std::filesystem::path& path) {
  return "'" + path.string() + "'";
}

bool Have(const char* tool) {
  return access(tool, X_OK) == 0;
}

const std::string kPython = "/usr/bin/python3";
const std::string kScript = PICTARO_SOURCE_DIR "/tests/icofile/pillow_ico.py";

#define REQUIRE_TOOL(available, name) \
  if (!(available)) GTEST_SKIP() << name << " is not installed"

bool HavePillow() {
  return Have(kPython.c_str()) && Shell(kPython + " -c 'import PIL'").status == 0;
}

std::uint32_t PixelsOf(int index) {
  return SlotOf(index).PixelSize();
}

std::uint32_t DepthOf(int index) {
  return SlotOf(index).BitsPerPixel();
}

Picture Painted(int index) {
  Picture picture{PixelsOf(index), PixelsOf(index), {}};
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    for (std::uint32_t x = 0; x < picture.width; ++x) {
      picture.pixels.push_back(PaintedColor(index, x, y));
    }
  }
  return picture;
}

::testing::AssertionResult PngShowsPainted(const std::filesystem::path& png, int index) {
  const std::optional<Picture> picture = LoadPng(png);
  if (!picture) return ::testing::AssertionFailure() << "cannot load " << png;
  return SamePixels(*picture, Painted(index)) << " in " << png;
}

struct WrittenCase {
  const char* name;
  std::vector<int> indices;  // ascending, as the entries follow
  int pngCompress;
};

const std::vector<WrittenCase>& WrittenCases() {
  static const std::vector<WrittenCase> cases = {{"full", kAllIndices, 0},
                                                 {"fullpng", kAllIndices, 1},
                                                 {"small", {3, 7, 12}, 0},
                                                 {"mixed", {0, 8}, 1}};
  return cases;
}

std::filesystem::path Write(const TempFolder& folder, const WrittenCase& c) {
  ResourceGrid grid;
  PaintGrid(grid, c.indices);
  grid.SetPngCompression(c.pngCompress);
  RecordingDesktop desktop;
  const std::filesystem::path path = folder.Path() / (std::string(c.name) + ".ico");
  EXPECT_EQ(grid.WriteIco(path.string(), desktop), 1);
  return path;
}

std::vector<int> Sorted(std::vector<int> indices) {
  std::sort(indices.begin(), indices.end());
  return indices;
}

TEST(IcoInteropIcotool, ListsAndExtractsEveryEntry) {
  REQUIRE_TOOL(Have("/usr/bin/icotool"), "icotool");
  TempFolder folder;
  for (const WrittenCase& c : WrittenCases()) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path file = Write(folder, c);
    const std::vector<int>& indices = c.indices;
    std::string listing;
    for (std::size_t n = 0; n < indices.size(); ++n) {
      const std::uint32_t depth = DepthOf(indices[n]);
      listing += "--icon --index=" + std::to_string(n + 1) +
                 " --width=" + std::to_string(PixelsOf(indices[n])) +
                 " --height=" + std::to_string(PixelsOf(indices[n])) +
                 " --bit-depth=" + std::to_string(depth) +
                 " --palette-size=" + std::to_string(depth == 32 ? 0 : 1 << depth) + "\n";
    }
    const Ran listed = Shell("/usr/bin/icotool -l " + Quoted(file));
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.output, listing);

    const std::filesystem::path out = folder.Path() / (std::string(c.name) + "-icotool");
    std::filesystem::create_directory(out);
    EXPECT_EQ(Shell("/usr/bin/icotool -x -o " + Quoted(out) + " " + Quoted(file)).status, 0);
    for (std::size_t n = 0; n < indices.size(); ++n) {
      const std::string size = std::to_string(PixelsOf(indices[n]));
      EXPECT_TRUE(
          PngShowsPainted(out / (std::string(c.name) + "_" + std::to_string(n + 1) + "_" + size +
                                 "x" + size + "x" + std::to_string(DepthOf(indices[n])) + ".png"),
                          indices[n]));
    }
  }
}

TEST(IcoInteropImageMagick, IdentifiesAndConvertsEveryFrame) {
  REQUIRE_TOOL(Have("/usr/bin/identify") && Have("/usr/bin/convert"), "ImageMagick");
  TempFolder folder;
  for (const WrittenCase& c : WrittenCases()) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path file = Write(folder, c);
    const std::vector<int>& indices = c.indices;
    std::string frames;
    for (const int index : indices) {
      const std::string size = std::to_string(PixelsOf(index));
      // The PNG stream is a frame of its own kind.
      frames += (index == 8 && c.pngCompress ? "PNG " : "ICO ") + size + "x" + size + "\n";
    }
    const Ran identified = Shell("/usr/bin/identify -format '%m %wx%h\\n' " + Quoted(file));
    EXPECT_EQ(identified.status, 0);
    EXPECT_EQ(identified.output, frames);

    const std::filesystem::path out = folder.Path() / (std::string(c.name) + "-magick");
    std::filesystem::create_directory(out);
    EXPECT_EQ(Shell("/usr/bin/convert " + Quoted(file) + " " + Quoted(out / "out-%d.png")).status,
              0);
    for (std::size_t n = 0; n < indices.size(); ++n) {
      EXPECT_TRUE(PngShowsPainted(out / ("out-" + std::to_string(n) + ".png"), indices[n]));
    }
  }
}

TEST(IcoInteropPillow, OpensSizesAndEveryEntry) {
  REQUIRE_TOOL(HavePillow(), "Pillow");
  TempFolder folder;
  for (const WrittenCase& c : WrittenCases()) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path file = Write(folder, c);
    const std::vector<int>& indices = c.indices;
    const std::filesystem::path out = folder.Path() / (std::string(c.name) + "-pillow");
    std::filesystem::create_directory(out);
    const Ran extracted =
        Shell(kPython + " " + kScript + " extract " + Quoted(file) + " " + Quoted(out));
    ASSERT_EQ(extracted.status, 0) << extracted.output;

    // Pillow's sizes, smallest first; for a size it gives the deepest entry, which is the one
    // with the highest resource index.
    std::string sizes;
    for (const std::uint32_t size : {16, 24, 32, 48, 256}) {
      int deepest = -1;
      for (const int index : indices) {
        if (PixelsOf(index) == size) deepest = index;
      }
      if (deepest < 0) continue;
      sizes += std::to_string(size) + "x" + std::to_string(size) + "\n";
      EXPECT_TRUE(PngShowsPainted(out / ("size-" + std::to_string(size) + ".png"), deepest));
    }
    EXPECT_EQ(extracted.output, sizes);
    for (std::size_t n = 0; n < indices.size(); ++n) {
      EXPECT_TRUE(PngShowsPainted(out / ("entry-" + std::to_string(n) + ".png"), indices[n]));
    }
  }
}

// Source images with partial alpha for the tools to pack: fully transparent, opaque and
// translucent pixels.
Picture Source(std::uint32_t size) {
  Picture picture{size, size, {}};
  for (std::uint32_t y = 0; y < size; ++y) {
    for (std::uint32_t x = 0; x < size; ++x) {
      const std::uint32_t alpha = (x + 3 * y) % 11 == 0 ? 0
                                  : (x + y) % 4 == 0    ? 255
                                                        : 30 + (x * 5 + y * 3) % 200;
      picture.pixels.push_back(
          {static_cast<std::uint8_t>(x * 9 + size), static_cast<std::uint8_t>(y * 7),
           static_cast<std::uint8_t>(x * y + 3), static_cast<std::uint8_t>(alpha)});
    }
  }
  return picture;
}

std::filesystem::path SaveSource(const TempFolder& folder, std::uint32_t size) {
  const Picture picture = Source(size);
  FIBITMAP* dib = FreeImage_Allocate(static_cast<int>(size), static_cast<int>(size), 32);
  for (std::uint32_t y = 0; y < size; ++y) {
    BYTE* row = FreeImage_GetScanLine(dib, static_cast<int>(size - 1 - y));
    for (std::uint32_t x = 0; x < size; ++x) {
      const Rgba c = picture.At(x, y);
      row[4 * x + FI_RGBA_RED] = c.red;
      row[4 * x + FI_RGBA_GREEN] = c.green;
      row[4 * x + FI_RGBA_BLUE] = c.blue;
      row[4 * x + FI_RGBA_ALPHA] = c.alpha;
    }
  }
  const std::filesystem::path path = folder.Path() / ("a" + std::to_string(size) + ".png");
  EXPECT_TRUE(FreeImage_Save(FIF_PNG, dib, path.c_str(), PNG_DEFAULT));
  FreeImage_Unload(dib);
  return path;
}

struct ReadBack {
  int result = 0;
  ResourceGrid grid;
  std::array<StoredEntry, 13> stored{};
  std::vector<SkippedEntry> skipped;
  RecordingDesktop desktop;
  std::vector<int> Present() const {
    std::vector<int> present;
    for (int i = 0; i < 13; ++i) {
      if (grid.resources[i].present) present.push_back(i);
    }
    return present;
  }
};

void Read(const std::filesystem::path& file, ReadBack& back) {
  back.result = back.grid.ReadIco(file.string(), back.desktop, &back.stored, &back.skipped);
}

// A 32-bit resource's mask is 1 exactly where its alpha is 0.
::testing::AssertionResult MaskFollowsAlpha(const IconResource& r) {
  const std::uint32_t maskRow = (r.width + 31) / 32 * 4;
  for (std::uint32_t y = 0; y < r.height; ++y) {
    for (std::uint32_t x = 0; x < r.width; ++x) {
      const bool clear = r.colorBits[(y * r.width + x) * 4 + 3] == 0;
      const bool masked = (r.maskBits[y * maskRow + x / 8] >> (7 - x % 8)) & 1;
      if (masked != clear) return ::testing::AssertionFailure() << "at " << x << "," << y;
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(IcoInteropIcotool, CreatedFileLandsInThe32BitResources) {
  REQUIRE_TOOL(Have("/usr/bin/icotool"), "icotool");
  TempFolder folder;
  const std::filesystem::path file = folder.Path() / "made.ico";
  const Ran made =
      Shell("/usr/bin/icotool -c -o " + Quoted(file) + " " + Quoted(SaveSource(folder, 16)) + " " +
            Quoted(SaveSource(folder, 32)) + " " + Quoted(SaveSource(folder, 48)) +
            " --raw=" + Quoted(SaveSource(folder, 256)));
  ASSERT_EQ(made.status, 0) << made.output;

  ReadBack back;
  Read(file, back);
  EXPECT_EQ(back.result, 1);
  EXPECT_TRUE(back.desktop.messages.empty());
  EXPECT_EQ(back.Present(), (std::vector<int>{8, 9, 10, 12}));
  EXPECT_TRUE(back.stored[8].png);
  EXPECT_FALSE(back.stored[12].png);
  EXPECT_EQ(back.grid.AnyModified(), 0);
  for (const auto& [index, size] : {std::pair{12, 16u}, {10, 32u}, {9, 48u}, {8, 256u}}) {
    EXPECT_TRUE(SamePixels(Decode(back.grid.resources[index]), Source(size))) << index;
  }
}

TEST(IcoInteropImageMagick, ConvertedFileLandsByItsDirectory) {
  REQUIRE_TOOL(Have("/usr/bin/convert"), "ImageMagick");
  TempFolder folder;
  const std::filesystem::path file = folder.Path() / "made.ico";
  const Ran made = Shell("/usr/bin/convert " + Quoted(SaveSource(folder, 16)) + " " +
                         Quoted(SaveSource(folder, 32)) + " " + Quoted(SaveSource(folder, 48)) +
                         " " + Quoted(SaveSource(folder, 256)) + " " + Quoted(file));
  ASSERT_EQ(made.status, 0) << made.output;

  // Whatever depth ImageMagick chose, its directory decides the resource: a bitmap by size and
  // planes x bit count, a PNG only at 256 px.
  const std::vector<std::uint8_t> bytes = ReadBytes(file);
  std::vector<int> expected;
  ReadBack back;
  Read(file, back);
  EXPECT_EQ(back.result, 1);
  for (std::size_t n = 0; n < GetU16(bytes.data() + 4); ++n) {
    const std::uint8_t* entry = bytes.data() + 6 + 16 * n;
    const std::uint32_t size = entry[0] == 0 ? 256 : entry[0];
    const std::uint32_t depth = std::uint32_t{GetU16(entry + 4)} * GetU16(entry + 6);
    const bool png = bytes[GetU32(entry + 12)] == 0x89;
    const int index = png ? (size == 256 ? 8 : -1) : ResourceGrid::IndexOf(size, size, depth);
    SCOPED_TRACE(size);
    if (index < 0) continue;
    expected.push_back(index);
    EXPECT_EQ(back.stored[index].png, png);
    if (back.grid.resources[index].depth == 32) {
      EXPECT_TRUE(SamePixels(Decode(back.grid.resources[index]), Source(size)));
    }
  }
  EXPECT_EQ(back.Present(), Sorted(expected));

  // 16-bit samples, which no tool here writes into an icon: ImageMagick makes the streams (of
  // 8-bit values, so that every reader agrees on them) and decodes them for reference. A stated
  // gamma leaves the samples as they are, as Pillow shows them.
  const std::filesystem::path rgba16 = folder.Path() / "rgba16.png";
  const std::filesystem::path grey16 = folder.Path() / "grey16.png";
  const std::filesystem::path gamma = folder.Path() / "gamma.png";
  ASSERT_EQ(Shell("/usr/bin/convert " + Quoted(SaveSource(folder, 48)) +
                  " -set gamma 1.0 PNG32:" + Quoted(gamma))
                .status,
            0);
  ASSERT_EQ(Shell("/usr/bin/convert " + Quoted(SaveSource(folder, 256)) +
                  " -depth 16 PNG64:" + Quoted(rgba16))
                .status,
            0);
  ASSERT_EQ(Shell("/usr/bin/convert " + Quoted(SaveSource(folder, 32)) +
                  " -alpha off -colorspace gray -depth 8 png:- | /usr/bin/convert - -depth 16 "
                  "-define png:color-type=0 -define png:bit-depth=16 " +
                  Quoted(grey16))
                .status,
            0);
  const std::filesystem::path deepFile = folder.Path() / "deep.ico";
  WriteBytes(deepFile, BuildIco({HandEntry(0, 0, 1, 32, ReadBytes(rgba16)),
                                 HandEntry(32, 32, 0, 0, ReadBytes(grey16)),
                                 HandEntry(48, 48, 1, 32, ReadBytes(gamma))}));
  ReadBack deep;
  Read(deepFile, deep);
  EXPECT_EQ(deep.Present(), (std::vector<int>{8, 9, 10}));
  EXPECT_TRUE(SamePixels(Decode(deep.grid.resources[9]), Source(48)));
  for (const auto& [index, png] : {std::pair{8, rgba16}, {10, grey16}}) {
    const std::filesystem::path reference = png.string() + ".8.png";
    ASSERT_EQ(Shell("/usr/bin/convert " + Quoted(png) + " PNG32:" + Quoted(reference)).status, 0);
    EXPECT_TRUE(ResourceShowsPng(deep.grid.resources[index], reference)) << index;
    EXPECT_EQ(deep.grid.resources[index].modified, 1);
  }
}

TEST(IcoInteropPillow, SavedFilesLandOrAreSkipped) {
  REQUIRE_TOOL(HavePillow(), "Pillow");
  TempFolder folder;
  const std::string sources = Quoted(SaveSource(folder, 16)) + " " +
                              Quoted(SaveSource(folder, 32)) + " " +
                              Quoted(SaveSource(folder, 256));
  auto save = [&](const char* name, const char* format, const std::string& pngs) {
    const std::filesystem::path file = folder.Path() / name;
    const Ran saved =
        Shell(kPython + " " + kScript + " save " + Quoted(file) + " " + format + " " + pngs);
    EXPECT_EQ(saved.status, 0) << saved.output;
    return file;
  };

  // PNG entries with planes 0 land by their own sizes; only the 256 px one is stored as this
  // program stores it.
  ReadBack pngs;
  Read(save("png.ico", "png", sources), pngs);
  EXPECT_EQ(pngs.result, 1);
  EXPECT_EQ(pngs.Present(), (std::vector<int>{8, 10, 12}));
  for (const auto& [index, size] : {std::pair{12, 16u}, {10, 32u}, {8, 256u}}) {
    const IconResource& resource = pngs.grid.resources[index];
    EXPECT_TRUE(pngs.stored[index].png);
    EXPECT_EQ(resource.modified, index == 8 ? 0 : 1);
    EXPECT_TRUE(SamePixels(Decode(resource), Source(size))) << index;
    EXPECT_TRUE(MaskFollowsAlpha(resource)) << index;
  }

  // Pillow's default save: PNG entries of 16, 24, 32, 48, 64, 128 and 256 px in the image's own
  // mode. Those of the grid's sizes land as Pillow decodes them; 64 and 128 px are left out.
  const std::filesystem::path large = SaveSource(folder, 256);
  for (const std::string mode : {"RGBA", "RGB", "P", "L", "LA"}) {
    SCOPED_TRACE(mode);
    const std::filesystem::path file = folder.Path() / (mode + ".ico");
    const std::filesystem::path out = folder.Path() / mode;
    std::filesystem::create_directory(out);
    ASSERT_EQ(Shell(kPython + " " + kScript + " default " + Quoted(file) + " " + mode + " " +
                    Quoted(large))
                  .status,
              0);
    ASSERT_EQ(
        Shell(kPython + " " + kScript + " extract " + Quoted(file) + " " + Quoted(out)).status, 0);
    ReadBack back;
    Read(file, back);
    EXPECT_EQ(back.Present(), (std::vector<int>{8, 9, 10, 11, 12}));
    ASSERT_EQ(back.skipped.size(), 2u);
    EXPECT_EQ(back.skipped[1].entry, 5u);
    EXPECT_EQ(back.skipped[1].width, 128u);
    for (const auto& [entry, index] : {std::pair{0, 12}, {1, 11}, {2, 10}, {3, 9}, {6, 8}}) {
      const IconResource& resource = back.grid.resources[index];
      EXPECT_TRUE(ResourceShowsPng(resource, out / ("entry-" + std::to_string(entry) + ".png")))
          << index;
      EXPECT_TRUE(MaskFollowsAlpha(resource)) << index;
      EXPECT_EQ(resource.modified, index == 8 && mode == "RGBA" ? 0 : 1) << index;
    }
  }

  // Palette bitmaps with planes 0 are identified from their own headers and count as modified.
  // Pillow packs its (all opaque) 1-bit mask rows without padding them to 4 bytes, so the 48 px
  // block ends before its mask; the mask is completed as opaque.
  ASSERT_EQ(Shell(kPython + " " + kScript + " palette " + Quoted(folder.Path())).status, 0);
  ReadBack palette;
  Read(save("palette.ico", "bmp",
            Quoted(folder.Path() / "p16.png") + " " + Quoted(folder.Path() / "p32.png") + " " +
                Quoted(folder.Path() / "p48.png")),
       palette);
  EXPECT_EQ(palette.result, 1);
  EXPECT_TRUE(palette.desktop.messages.empty());
  EXPECT_EQ(palette.Present(), (std::vector<int>{4, 5, 7}));
  for (const auto& [index, size] : {std::pair{7, 16}, {5, 32}, {4, 48}}) {
    EXPECT_EQ(palette.grid.resources[index].modified, 1);
    const std::optional<Picture> want =
        LoadPng(folder.Path() / ("p" + std::to_string(size) + ".png"));
    ASSERT_TRUE(want);
    EXPECT_TRUE(SamePixels(Decode(palette.grid.resources[index]), *want)) << index;
  }

  // Pillow stores 32-bit bitmaps without any 1-bit mask: the mask is made from alpha.
  ReadBack alpha;
  Read(save("alpha.ico", "bmp", sources), alpha);
  EXPECT_EQ(alpha.result, 1);
  EXPECT_TRUE(alpha.desktop.messages.empty());
  EXPECT_EQ(alpha.Present(), (std::vector<int>{8, 10, 12}));
  for (const auto& [index, size] : {std::pair{12, 16u}, {10, 32u}, {8, 256u}}) {
    const IconResource& resource = alpha.grid.resources[index];
    EXPECT_EQ(resource.modified, 1);
    EXPECT_TRUE(SamePixels(Decode(resource), Source(size))) << index;
    EXPECT_TRUE(MaskFollowsAlpha(resource)) << index;
  }
}

}  // namespace
}  // namespace pictaro::testing
