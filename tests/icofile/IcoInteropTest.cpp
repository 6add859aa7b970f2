// Other programs' .ico files: the files this program writes as icoutils, ImageMagick and Pillow
// decode them; the files those tools write (tools-made.tsv), and real files of other projects
// (the corpus, corpus.tsv), as this program reads them, each landed image compared with a tool's
// decode of the file's entries. A missing tool or corpus skips its part.
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "model/ResourcePixels.h"
#include "support/IcoFixtures.h"
#include "support/ReferenceText.h"
#include "support/TempFolder.h"

namespace pictaro::testing {
namespace {

namespace fs = std::filesystem;

// Pixels as 0xRRGGBBAA, rows top to bottom; 0 wherever alpha is 0, whatever the colour there.
using Picture = std::vector<std::uint32_t>;

std::uint32_t Pixel(std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                    std::uint32_t alpha) {
  return alpha == 0 ? 0 : red << 24 | green << 16 | blue << 8 | alpha;
}

Picture LoadPng(const fs::path& path) {
  Picture picture;
  FIBITMAP* loaded = FreeImage_Load(FIF_PNG, path.c_str(), PNG_IGNOREGAMMA);
  FIBITMAP* dib = loaded != nullptr ? FreeImage_ConvertTo32Bits(loaded) : nullptr;
  for (std::uint32_t y = dib != nullptr ? FreeImage_GetHeight(dib) : 0; y-- > 0;) {
    const BYTE* p = FreeImage_GetScanLine(dib, static_cast<int>(y));
    for (std::uint32_t x = 0; x < FreeImage_GetWidth(dib); ++x, p += 4)
      picture.push_back(Pixel(p[FI_RGBA_RED], p[FI_RGBA_GREEN], p[FI_RGBA_BLUE], p[3]));
  }
  FreeImage_Unload(loaded);
  FreeImage_Unload(dib);
  return picture;
}

// What a resource shows: the 1-bit mask as alpha for 1, 4 and 8 bits, the alpha channel for 32.
// With `maskFromAlpha`, a 32-bit pixel whose mask is not 1 exactly where alpha is 0 shows as
// 0xFF00, which no picture holds.
Picture Shown(const IconResource& r, bool maskFromAlpha) {
  Picture picture;
  for (std::uint32_t y = 0; y < r.height; ++y) {
    for (std::uint32_t x = 0; x < r.width; ++x) {
      const ResourcePixel p = PixelAt(r, x, y);
      const bool wrongMask = maskFromAlpha && r.depth == 32 && p.masked != (p.alpha == 0);
      picture.push_back(wrongMask ? 0xFF00
                                  : Pixel(p.red, p.green, p.blue,
                                          r.depth == 32 ? p.alpha : (p.masked ? 0 : 255)));
    }
  }
  return picture;
}

// `text` with each "{name}" of `values` replaced.
std::string Fill(std::string text, const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [name, value] : values) {
    for (std::size_t at; (at = text.find(name)) != std::string::npos;)
      text.replace(at, name.size(), value);
  }
  return text;
}

// Runs a command in {dir} on a file ({ico}, by default in.ico there); {py} runs the Pillow
// script. Gives its exit status and what it printed.
std::pair<int, std::string> Shell(const std::string& command, const fs::path& dir,
                                  const fs::path& ico = {}) {
  const int status = std::system(
      Fill("(" + command + ") >{dir}/out.txt 2>&1",
           {{"{ico}", ico.empty() ? (dir / "in.ico").string() : ico.string()},
            {"{dir}", dir.string()},
            {"{py}", "/usr/bin/python3 " PICTARO_SOURCE_DIR "/tests/icofile/pillow_ico.py"}})
          .c_str());
  const std::vector<std::uint8_t> output = ReadBytes(dir / "out.txt");
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, {output.begin(), output.end()}};
}

// The tools these tests run, all of them or none.
bool HaveTools() {
  static const bool have = std::system(
                               "(/usr/bin/icotool --version && /usr/bin/identify -version && "
                               "/usr/bin/convert -version && /usr/bin/python3 -c 'import PIL') "
                               ">/dev/null 2>&1") == 0;
  return have;
}

// How a tool decodes a file, the line it lists each entry with, and where it puts the picture of
// each: {n} is the entry's place from 0 ({n1} from 1), {s} its size, {d} its depth, {p} its
// palette size, {kind} its image kind. "refs" stands for the pictures a command left beside the
// file it made.
struct Tool {
  std::string command, line, picture;
};
// clang-format off
const std::map<std::string, Tool> kTools = {
  {"icotool", {"/usr/bin/icotool -l {ico} && /usr/bin/icotool -x -o {dir} {ico}",
               "--icon --index={n1} --width={s} --height={s} --bit-depth={d} --palette-size={p}", "in_{n1}_{s}x{s}x{d}.png"}},
  {"magick", {"/usr/bin/identify -format '%m %wx%h\\n' {ico} && /usr/bin/convert {ico} PNG32:{dir}/entry-%d.png",
              "{kind} {s}x{s}", "entry-{n}.png"}},
  {"pillow", {"{py} extract {ico} {dir}", "{s}x{s} {d}", "entry-{n}.png"}},
  {"refs", {"true", "", "ref-{n}.png"}}};
// clang-format on

// `format` for entry `n` of a written file, which holds resource `index`.
std::string Entry(const std::string& format, int index, std::size_t n, bool png = false) {
  const GridSlot slot = SlotOf(index);
  return Fill(format, {{"{n1}", std::to_string(n + 1)},
                       {"{n}", std::to_string(n)},
                       {"{s}", std::to_string(slot.PixelSize())},
                       {"{d}", std::to_string(slot.BitsPerPixel())},
                       {"{p}", std::to_string(index < 8 ? 1 << slot.BitsPerPixel() : 0)},
                       {"{kind}", png ? "PNG" : "ICO"}});
}

TEST(IcoInteropTest, ToolsDecodeOurFiles) {
  if (!HaveTools()) GTEST_SKIP() << "icoutils, ImageMagick or Pillow is not installed";
  const std::vector<std::pair<std::vector<int>, int>> written = {
      {kAllIndices, 0}, {kAllIndices, 1}, {{3, 7, 12}, 0}, {{0, 8}, 1}};
  for (const char* name : {"icotool", "magick", "pillow"}) {
    for (const auto& [indices, png] : written) {
      SCOPED_TRACE(::testing::Message()
                   << name << " on " << indices.size() << " resources, png " << png);
      TempFolder folder;
      ResourceGrid grid;
      PaintGrid(grid, indices);
      grid.SetPngCompression(png);
      RecordingDesktop desktop;
      ASSERT_EQ(grid.WriteIco(folder.Path() / "in.ico", desktop), 1);
      const Tool& tool = kTools.at(name);
      const auto [status, output] = Shell(tool.command, folder.Path());
      std::string listing;
      for (std::size_t n = 0; n < indices.size(); ++n) {
        listing += Entry(tool.line, indices[n], n, indices[n] == 8 && png) + "\n";
        EXPECT_EQ(LoadPng(folder.Path() / Entry(tool.picture, indices[n], n)),
                  Shown(grid.resources[indices[n]], false))
            << indices[n];
      }
      EXPECT_EQ(output, listing);
      EXPECT_EQ(status, 0);
    }
  }
}

// Reads a file and checks the message of a failed read and what lands, where "<N" names the
// entry that `tool` decodes (into `dir`) to the picture of a resource; then that what was read
// writes back to the same blocks, nothing modified, as bitmaps and with PNG compression.
void ExpectRead(const fs::path& path, const fs::path& dir, const std::string& expected,
                const std::string& message, const Tool& tool, bool maskFromAlpha) {
  ResourceGrid grid;
  std::array<StoredEntry, 13> stored;
  std::vector<SkippedEntry> skipped;
  RecordingDesktop desktop;
  EXPECT_EQ(grid.ReadIco(path, desktop, &stored, &skipped), message.empty() ? 1 : 0);
  EXPECT_EQ(ErrorsShown(desktop, path), message);
  std::vector<Picture> decoded;
  if (HaveTools() && grid.CountPresent() > 0) {
    Shell(tool.command, dir, path);
    for (std::size_t n = 0; n < GetU16(ReadBytes(path).data() + 4); ++n)
      decoded.push_back(LoadPng(dir / Entry(tool.picture, 0, n)));
  }
  const auto source = [&](int index) {
    const auto at =
        std::find(decoded.begin(), decoded.end(), Shown(grid.resources[index], maskFromAlpha));
    return at == decoded.end() ? -1 : static_cast<int>(at - decoded.begin());
  };
  EXPECT_EQ(Landed(grid, stored, skipped, source),
            HaveTools() ? expected : std::regex_replace(expected, std::regex("<[0-9]+"), ""));
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
  TempFolder sources;
  ASSERT_EQ(Shell("{py} sources {dir}", sources.Path()).first, 0);
  for (const std::string& row : DataRows("icofile/tools-made.tsv")) {
    const std::vector<std::string> field = Fields(row, 4);  // decoder, mask, landed, command
    SCOPED_TRACE(field[3]);
    TempFolder folder;
    const fs::path& dir = folder.Path();
    for (const auto& source : fs::directory_iterator(sources.Path())) fs::copy(source, dir);
    const auto [status, output] = Shell(field[3], dir);
    ASSERT_EQ(status, 0) << output;
    if (fs::exists(dir / "rgba16.png")) {  // images for a file made by hand
      WriteBytes(dir / "in.ico", BuildIco({{0, 0, 1, 32, ReadBytes(dir / "rgba16.png")},
                                           {32, 32, 0, 0, ReadBytes(dir / "grey16.png")},
                                           {48, 48, 1, 32, ReadBytes(dir / "gamma.png")}}));
    }
    ExpectRead(dir / "in.ico", dir, field[2], "", kTools.at(field[0]), field[1] == "1");
  }
}

TEST(IcoInteropTest, WeReadTheCorpus) {
  const fs::path corpus = PICTARO_CORPUS_DIR;
  if (!fs::exists(corpus / "README.md")) GTEST_SKIP() << "no corpus at " << corpus;
  std::vector<std::string> found, listed;
  for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
    if (entry.path().extension() == ".ico")
      found.push_back(entry.path().lexically_relative(corpus));
  }
  std::sort(found.begin(), found.end());
  for (const std::string& row : DataRows("icofile/corpus.tsv")) {
    const std::vector<std::string> field = Fields(row, 3);  // file, landed, message
    listed.push_back(field[0]);
    SCOPED_TRACE(field[0]);
    TempFolder folder;
    ExpectRead(corpus / field[0], folder.Path(), field[1], field[2], kTools.at("magick"), false);
  }
  EXPECT_EQ(found, listed);  // every file has a row
}

}  // namespace
}  // namespace pictaro::testing
