// Other programs' .ico files: the files this program writes as icoutils, ImageMagick and Pillow
// decode them; the files those tools write, and real files of other projects (the corpus), as
// this program reads them, each landed image compared with a tool's decode of its entry. A
// missing tool or corpus skips its part.
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model/ResourcePixels.h"
#include "support/IcoFixtures.h"
#include "support/TempFolder.h"

namespace pictaro::testing {
namespace {

namespace fs = std::filesystem;

// RGBA pixels, rows top to bottom.
using Picture = std::vector<Rgba>;

Picture LoadPng(const fs::path& path) {
  Picture picture;
  FIBITMAP* loaded = FreeImage_Load(FIF_PNG, path.c_str(), PNG_IGNOREGAMMA);
  FIBITMAP* dib = loaded != nullptr ? FreeImage_ConvertTo32Bits(loaded) : nullptr;
  for (std::uint32_t y = dib != nullptr ? FreeImage_GetHeight(dib) : 0; y-- > 0;) {
    const BYTE* p = FreeImage_GetScanLine(dib, static_cast<int>(y));
    for (std::uint32_t x = 0; x < FreeImage_GetWidth(dib); ++x, p += 4)
      picture.push_back({p[FI_RGBA_RED], p[FI_RGBA_GREEN], p[FI_RGBA_BLUE], p[3]});
  }
  FreeImage_Unload(loaded);
  FreeImage_Unload(dib);
  return picture;
}

// What a resource shows: the 1-bit mask as alpha for 1, 4 and 8 bits, the alpha channel for 32.
Picture Shown(const IconResource& r) {
  Picture picture;
  for (std::uint32_t y = 0; y < r.height; ++y) {
    for (std::uint32_t x = 0; x < r.width; ++x) {
      const ResourcePixel p = PixelAt(r, x, y);
      picture.push_back(
          {p.red, p.green, p.blue, r.depth == 32 ? p.alpha : std::uint8_t(p.masked ? 0 : 255)});
    }
  }
  return picture;
}

// Alpha must match everywhere, colour only where the wanted pixel is not fully transparent.
::testing::AssertionResult Same(const Picture& got, const Picture& want) {
  if (got.size() != want.size() || got.empty())
    return ::testing::AssertionFailure() << got.size() << " pixels, want " << want.size();
  for (std::size_t i = 0; i < want.size(); ++i) {
    const Rgba g = got[i], w = want[i];
    if (g.alpha != w.alpha || (w.alpha != 0 && !(g == w))) {
      return ::testing::AssertionFailure()
             << "pixel " << i << " is " << +g.red << "," << +g.green << "," << +g.blue << ","
             << +g.alpha << ", want " << +w.red << "," << +w.green << "," << +w.blue << ","
             << +w.alpha;
    }
  }
  return ::testing::AssertionSuccess();
}

// A 32-bit resource's mask is 1 exactly where its alpha is 0.
bool MaskFollowsAlpha(const IconResource& r) {
  for (std::uint32_t y = 0; y < r.height && r.depth == 32; ++y) {
    for (std::uint32_t x = 0; x < r.width; ++x) {
      const ResourcePixel p = PixelAt(r, x, y);
      if (p.masked != (p.alpha == 0)) return false;
    }
  }
  return true;
}

// `text` with each "{name}" of `values` replaced.
std::string Fill(std::string text, const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [name, value] : values) {
    for (std::size_t at; (at = text.find(name)) != std::string::npos;)
      text.replace(at, name.size(), value);
  }
  return text;
}

struct Ran {
  int status = -1;
  std::string output;  // stdout and stderr
};

// Runs a command on a file ({ico}, by default in.ico in {dir}); {py} runs the Pillow script.
Ran Shell(const std::string& command, const fs::path& dir, const fs::path& ico = {}) {
  const std::string line = Fill(
      command, {{"{ico}", ico.empty() ? (dir / "in.ico").string() : ico.string()},
                {"{dir}", dir.string()},
                {"{py}", "/usr/bin/python3 " PICTARO_SOURCE_DIR "/tests/icofile/pillow_ico.py"},
                {"{python}", "/usr/bin/python3"}});
  Ran ran;
  FILE* pipe = popen((line + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return ran;
  std::array<char, 4096> chunk{};
  while (std::fgets(chunk.data(), chunk.size(), pipe) != nullptr) ran.output += chunk.data();
  const int status = pclose(pipe);
  ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return ran;
}

// The tools these tests run, all of them or none.
bool HaveTools() {
  static const bool have = std::system(
                               "(/usr/bin/icotool --version && /usr/bin/identify -version && "
                               "/usr/bin/convert -version && /usr/bin/python3 -c 'import PIL') "
                               ">/dev/null 2>&1") == 0;
  return have;
}

// How a tool lists the entries of a file and where it puts what it decodes of each: {n} is the
// entry's place from 0 ({n1} from 1), {s} its size, {d} its depth, {p} its palette size, {kind}
// its image kind.
struct Tool {
  std::string command, line, picture;
  std::string Entry(const std::string& format, int index, std::size_t n, bool png = false) const {
    const GridSlot slot = SlotOf(index);
    return Fill(format, {{"{n1}", std::to_string(n + 1)},
                         {"{n}", std::to_string(n)},
                         {"{s}", std::to_string(slot.PixelSize())},
                         {"{d}", std::to_string(slot.BitsPerPixel())},
                         {"{p}", std::to_string(index < 8 ? 1 << slot.BitsPerPixel() : 0)},
                         {"{kind}", png ? "PNG" : "ICO"}});
  }
};
// clang-format off
const Tool kIcotool = {"/usr/bin/icotool -l {ico} && /usr/bin/icotool -x -o {dir} {ico}",
                       "--icon --index={n1} --width={s} --height={s} --bit-depth={d} --palette-size={p}", "in_{n1}_{s}x{s}x{d}.png"};
const Tool kMagick = {"/usr/bin/identify -format '%m %wx%h\\n' {ico} && /usr/bin/convert {ico} PNG32:{dir}/entry-%d.png",
                      "{kind} {s}x{s}", "entry-{n}.png"};
const Tool kPillow = {"{py} extract {ico} {dir}", "{s}x{s} {d}", "entry-{n}.png"};
// The pictures the command that made a file left beside it.
const Tool kMadeRefs = {"true", "", "ref-{n}.png"};
// clang-format on

TEST(IcoInteropTest, ToolsDecodeOurFiles) {
  if (!HaveTools()) GTEST_SKIP() << "icoutils, ImageMagick or Pillow is not installed";
  struct Written {
    std::vector<int> indices;
    int png;
  };
  for (const Tool& tool : {kIcotool, kMagick, kPillow}) {
    for (const Written& w :
         {Written{kAllIndices, 0}, {kAllIndices, 1}, {{3, 7, 12}, 0}, {{0, 8}, 1}}) {
      SCOPED_TRACE(tool.command + " on " + std::to_string(w.indices.size()) + " resources, png " +
                   std::to_string(w.png));
      TempFolder folder;
      ResourceGrid grid;
      PaintGrid(grid, w.indices);
      grid.SetPngCompression(w.png);
      RecordingDesktop desktop;
      ASSERT_EQ(grid.WriteIco(folder.Path() / "in.ico", desktop), 1);
      const Ran ran = Shell(tool.command, folder.Path());
      EXPECT_EQ(ran.status, 0);
      std::string listing;
      for (std::size_t n = 0; n < w.indices.size(); ++n) {
        const int index = w.indices[n];
        listing += tool.Entry(tool.line, index, n, index == 8 && w.png) + "\n";
        EXPECT_TRUE(Same(LoadPng(folder.Path() / tool.Entry(tool.picture, index, n)),
                         Shown(grid.resources[index])))
            << index;
      }
      EXPECT_EQ(ran.output, listing);
    }
  }
}

// Reads a file and checks the outcome: the message of a failed read, what lands, the picture of
// each "<N" resource against what `tool` decodes of entry N (into `dir`), with `maskFromAlpha`
// the mask of each 32-bit resource against its alpha; and that what was read writes back to the
// same blocks, nothing modified, as bitmaps and with PNG compression.
void ExpectRead(const fs::path& path, const fs::path& dir, const std::string& expected,
                const std::string& message, const Tool& tool, bool maskFromAlpha) {
  ResourceGrid grid;
  std::array<StoredEntry, 13> stored;
  std::vector<SkippedEntry> skipped;
  RecordingDesktop desktop;
  EXPECT_EQ(grid.ReadIco(path, desktop, &stored, &skipped), message.empty() ? 1 : 0);
  EXPECT_EQ(ErrorsShown(desktop, path), message);
  std::vector<std::pair<int, int>> sources;
  EXPECT_EQ(Landed(grid, stored, skipped), Split(expected, sources));
  if (HaveTools() && !sources.empty()) {
    const Ran decoded = Shell(tool.command, dir, path);
    for (const auto& [index, entry] : sources) {
      EXPECT_TRUE(
          Same(Shown(grid.resources[index]),
               LoadPng(dir / tool.Entry(tool.picture, index, static_cast<std::size_t>(entry)))))
          << index;
    }
  }
  for (const IconResource& r : grid.resources) {
    EXPECT_TRUE(!maskFromAlpha || !r.present || MaskFollowsAlpha(r));
  }
  if (!message.empty()) return;
  for (const int png : {0, 1}) {
    grid.SetPngCompression(png);
    ASSERT_EQ(grid.WriteIco(dir / "copy.ico", desktop), 1);
    ResourceGrid back;
    ASSERT_EQ(back.ReadIco(dir / "copy.ico", desktop), 1);
    EXPECT_EQ(back.AnyModified(), 0);
    for (int i = 0; i < 13; ++i) {
      const IconResource& r = back.resources[i];
      std::vector<std::uint8_t> want = grid.resources[i].block;
      if (want.size() >= 40) PutU32(want.data() + 20, 0);
      // As a PNG stream the image keeps its pixels and mask, but gets this program's own header.
      if (png && i == 8 && r.present) std::copy_n(r.block.begin(), 40, want.begin());
      EXPECT_EQ(r.present, grid.resources[i].present) << i;
      EXPECT_TRUE(!r.present || r.block == want) << i;
    }
  }
}

TEST(IcoInteropTest, WeReadToolsFiles) {
  if (!HaveTools()) GTEST_SKIP() << "icoutils, ImageMagick or Pillow is not installed";
  struct Made {
    std::string command;  // makes {dir}/in.ico from {dir}/a16.png to a256.png
    const char* landed;
    const Tool& tool;    // the decoder to compare with
    bool maskFromAlpha;  // the file holds no mask of its own
  };
  const std::string pillowDefault = "{py} default {ico} ";
  // clang-format off
  const std::vector<Made> made = {
    {"/usr/bin/icotool -c -o {ico} {dir}/a16.png {dir}/a32.png {dir}/a48.png --raw={dir}/a256.png", "8p<3 9<2 10<1 12<0", kMagick, false},
    {"/usr/bin/convert {dir}/a16.png {dir}/a32.png {dir}/a48.png {dir}/a256.png {ico}", "8p<3 9<2 10<1 12<0", kPillow, false},
    // 16-bit samples (of 8-bit values, so that every reader agrees on them), in a file made by
    // hand since no tool here writes them into an icon; a stated gamma changes no sample.
    {"/usr/bin/convert {dir}/a256.png -depth 16 PNG64:{dir}/rgba16.png && cp {dir}/a256.png {dir}/ref-0.png && "
                         "/usr/bin/convert {dir}/a32.png -alpha off -colorspace gray -depth 8 {dir}/ref-1.png && "
                         "/usr/bin/convert {dir}/ref-1.png -depth 16 -define png:color-type=0 -define png:bit-depth=16 {dir}/grey16.png && "
                         "/usr/bin/convert {dir}/a48.png -set gamma 1.0 PNG32:{dir}/gamma.png && cp {dir}/a48.png {dir}/ref-2.png", "8*p<0 9*p<2 10*p<1", kMadeRefs, true},
    // Pillow's PNG entries have planes 0; they land by their own sizes.
    {"{py} save {ico} png {dir}/a16.png {dir}/a32.png {dir}/a256.png", "8p<2 10*p<1 12*p<0", kMagick, true},
    // Its 32-bit bitmaps come without any 1-bit mask: the mask is made from alpha.
    {"{py} save {ico} bmp {dir}/a16.png {dir}/a32.png {dir}/a256.png", "8*<2 10*<1 12*<0", kMagick, true},
    // Palette bitmaps with planes 0, identified by their own headers. Pillow packs its (opaque)
    // mask rows without padding, so the 48 px block ends before its mask, which is completed.
    {"{py} palette {dir} && {py} save {ico} bmp {dir}/p16.png {dir}/p32.png {dir}/p48.png && "
                         "cp {dir}/p16.png {dir}/ref-0.png && cp {dir}/p32.png {dir}/ref-1.png && cp {dir}/p48.png {dir}/ref-2.png", "4*<2 5*<1 7*<0", kMadeRefs, true},
    // By default, PNG entries of 16 to 256 px in the image's own mode; 64 and 128 px have no place.
    {pillowDefault + "RGBA {dir}/a256.png", "8p<6 9*p<3 10*p<2 11*p<1 12*p<0 -4 -5", kPillow, true},
    {pillowDefault + "RGB {dir}/a256.png", "8*p<6 9*p<3 10*p<2 11*p<1 12*p<0 -4 -5", kPillow, true},
    {pillowDefault + "P {dir}/a256.png", "8*p<6 9*p<3 10*p<2 11*p<1 12*p<0 -4 -5", kPillow, true},
    {pillowDefault + "L {dir}/a256.png", "8*p<6 9*p<3 10*p<2 11*p<1 12*p<0 -4 -5", kPillow, true},
    {pillowDefault + "LA {dir}/a256.png", "8*p<6 9*p<3 10*p<2 11*p<1 12*p<0 -4 -5", kPillow, true},
  };
  // clang-format on
  TempFolder sources;
  ASSERT_EQ(Shell("{py} sources {dir}", sources.Path()).status, 0);
  for (const Made& m : made) {
    SCOPED_TRACE(m.command);
    TempFolder folder;
    for (const auto& source : fs::directory_iterator(sources.Path()))
      fs::copy(source, folder.Path());
    const Ran ran = Shell(m.command, folder.Path());
    ASSERT_EQ(ran.status, 0) << ran.output;
    if (m.command.find("gamma") != std::string::npos) {
      const auto png = [&folder](const char* name) { return ReadBytes(folder.Path() / name); };
      WriteBytes(folder.Path() / "in.ico", BuildIco({{0, 0, 1, 32, png("rgba16.png")},
                                                     {32, 32, 0, 0, png("grey16.png")},
                                                     {48, 48, 1, 32, png("gamma.png")}}));
    }
    ExpectRead(folder.Path() / "in.ico", folder.Path(), m.landed, "", m.tool, m.maskFromAlpha);
  }
}

TEST(IcoInteropTest, WeReadTheCorpus) {
  const fs::path corpus = PICTARO_CORPUS_DIR;
  if (!fs::exists(corpus / "README.md")) GTEST_SKIP() << "no corpus at " << corpus;
  struct File {
    const char* name;
    const char* landed;
    const char* message = "";
  };
  // clang-format off
  const std::vector<File> files = {
    {"icotools/all.ico", "8p<0 9*p<2 10*p<3 11*p<4 12*p<5 -1"},  // PNG entries of every size
    {"icotools/all_ext.ico", "8p<0 9<2 10<3 11<4 12<5 -1"},      // the same, bitmaps but 256 px
    {"icotools/x32.ico", "10*p<0"},
    {"icotools/x32_ext.ico", "10<0"},
    // Depth 0 in the directory; the header's 4-bit 32 px image needs 744 bytes, not 372.
    {"image-rs/Bad_smile-incorrect-image-length.ico", "", "Error converting format of icon with 32 x 32 pixels, 0 bits per pixel"},
    {"image-rs/bmp-24bpp-mask.ico", "-0"},
    {"image-rs/bmp-32bpp-alpha.ico", "10<0"},
    {"image-rs/bmp-32bpp-conflicting-and-mask.ico", "12<0"},
    {"image-rs/bmp_v5_with_icc.ico", "-0"},  // 127 x 64, 24 bits
    // Depth 0 and a length of 0xFFFFFFF9, far past the end of the file.
    {"image-rs/crash-981fee302fe0fc543ee48292cc3d6ace7e97e633.ico", "", "Error reading all of temporary icon with 32 x 32 pixels, 0 bits per pixel"},
    {"image-rs/lenient-bpp.ico", "8*p<0"},  // 256 px 1-bit PNG of depth 500
    {"image-rs/multiple_entries_with_different_bit_depth.ico", "1<0 3<1 4<2 5<3 7<4 9<5 10<6 11<7 12<8"},
    {"image-rs/oom-0d0085eb7f66ea55d9119206235cd29e089b9140.ico", "-0"},  // IHDR 469762080 wide
    {"image-rs/oom-ff076e7064c13ec1f8e2c5bbbfb7a77a08db2361.ico", "", "Error reading all of icon with 32 x 32 pixels, 32 bits per pixel"},
    {"image-rs/png-32bpp-alpha.ico", "10*p<0"},
    {"image-rs/png_l8.ico", "10*p<0"},
    {"image-rs/png_rgb8.ico", "10*p<0"},
    {"image-rs/smile.ico", "1*<0 3*<1"},  // depth 0: 4 bits by the headers
    {"image-rs/truncated_mask_32bpp.ico", "-0"},  // 64 px, its mask cut short
    {"image-rs/two-entry-order-test.ico", "4<1"},  // the later entry wins
    {"pillow/black_and_white.ico", "-0"},  // 1 bit
    // 1 bit by the directory, 65535 x 65535 pixels by the header.
    {"pillow/decompression_bomb.ico", "", "Error converting format of icon with 16 x 16 pixels, 1 bits per pixel"},
    {"pillow/hopper.ico", "7<0"},
    {"pillow/hopper_256x256.ico", "-0"},  // 256 px bitmap at 24 bits
    {"pillow/hopper_draw.ico", "12*p<0"},
    {"pillow/hopper_mask.ico", "-0"},  // 1 bit, depth 0 in the directory
    {"pillow/hopper_unexpected.ico", "7*<0"},  // 16 x 32 in the directory
    {"pillow/pillow.ico", "8p<0 9<1 10<2 11<3 12<4"},
    {"pillow/python.ico", "9<2 10<1 12<0"},
    {"rust-ico/litexl.ico", "8p<1 9<4 10<5 12<6 -0 -2 -3"},  // 512 px PNG first
    {"rust-ico/ship.ico", "9<2 10<1 12<0 -3 -4"},
    {"rust-ico/wiki.ico", "9<0 10<1 12<2"},
  };
  // clang-format on
  std::vector<std::string> found, listed;
  for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
    if (entry.path().extension() == ".ico")
      found.push_back(entry.path().lexically_relative(corpus));
  }
  for (const File& file : files) listed.push_back(file.name);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, listed);  // every file has a row
  for (const File& file : files) {
    SCOPED_TRACE(file.name);
    TempFolder folder;
    ExpectRead(corpus / file.name, folder.Path(), file.landed, file.message, kMagick, false);
  }
}

}  // namespace
}  // namespace pictaro::testing
