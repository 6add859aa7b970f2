#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "hostengine/HostEngine.h"
#include "support/Files.h"
#include "support/TempFolder.h"

namespace pictaro {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using namespace testing;

constexpr std::size_t kPngColorType = 25;  // in the PNG header: 2 RGB, 6 RGBA

long Entries(const fs::path& folder) {
  return std::distance(fs::directory_iterator(folder), {});
}

// Six pixels (3 x 2) whose every byte differs, with partial transparency.
const Bytes kRgba = {10, 20, 30, 255, 40, 50, 60, 0,   70, 80, 90, 128,
                     11, 21, 31, 1,   41, 51, 61, 254, 71, 81, 91, 200};
const Bytes kRgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 11, 21, 31, 41, 51, 61, 71, 81, 91};
const Bytes kOpaqueRgba = {10, 20, 30, 255, 40, 50, 60, 255, 70, 80, 90, 255,
                           11, 21, 31, 255, 41, 51, 61, 255, 71, 81, 91, 255};

TEST(LayerImageFileTest, LoadsAndSavesPngsTopRowFirstWithTheirTransparency) {
#ifdef _WIN32
  GTEST_SKIP() << "ImageMagick, which makes the inputs, runs on the Linux side";
#endif
  TempFolder folder;
  const fs::path raw = folder.Path() / "pixels.raw", png = folder.Path() / "layer.png";
  // ImageMagick writes the raw pixels as an RGBA or RGB PNG, loaded opaque or not; FreeImage
  // calls an RGBA file whose alpha is all opaque opaque, but it has, and keeps, its alpha.
  const std::pair<const Bytes&, bool> cases[] = {
      {kRgba, false}, {kRgba, true}, {kRgb, false}, {kOpaqueRgba, false}};
  for (const auto& [pixels, opaque] : cases) {
    SCOPED_TRACE(::testing::Message() << pixels.size() << (opaque ? " opaque" : ""));
    const bool alpha = pixels.size() == 6 * 4;
    WriteBytes(raw, pixels);
    const std::string command = "/usr/bin/convert -size 3x2 -depth 8 " +
                                std::string(alpha ? "rgba:'" : "rgb:'") + raw.string() +
                                (alpha ? "' PNG32:'" : "' PNG24:'") + png.string() + "'";
    ASSERT_EQ(system(command.c_str()), 0);
    ASSERT_EQ(ReadBytes(png).at(kPngColorType), alpha ? 6 : 2);
    const Bytes& want = opaque ? kRgb : pixels;
    const int planes = static_cast<int>(want.size() / 6);
    std::string error;
    const std::optional<Layer> layer = LoadLayerImage(png.string(), opaque, error);
    ASSERT_TRUE(layer) << error;
    EXPECT_EQ((std::vector<int>{layer->width, layer->height, layer->planes}),
              (std::vector<int>{3, 2, planes}));
    EXPECT_EQ(layer->pixels, want);

    // FreeImage's own bitmap, written through and saved as it is, makes the file a copy makes.
    const std::unique_ptr<LayerPixels> decoded = LoadLayerPixels(png.string(), opaque, error);
    Layer copy = *layer;
    const Rect corner{1, 2, 2, 3};
    const Bytes dark(planes, 7);
    decoded->Write(corner, {dark.data(), dark.size()});
    std::copy(dark.begin(), dark.end(), copy.At(2, 1));
    const fs::path own = folder.Path() / "own.png", copied = folder.Path() / "copied.png";
    ASSERT_TRUE(SaveLayerImage(*decoded, own.string(), error) &&
                SaveLayerImage(copy, copied.string(), error));
    EXPECT_EQ(ReadBytes(own), ReadBytes(copied));
    fs::remove(own), fs::remove(copied);

    // Saved over a previous file, it reads back the same, and no partial file is left.
    WriteBytes(png, {'o', 'l', 'd'});
    ASSERT_TRUE(SaveLayerImage(Layer{3, 2, planes, want}, png.string(), error)) << error;
    EXPECT_EQ(ReadBytes(png).at(kPngColorType), planes == 4 ? 6 : 2);
    EXPECT_EQ(Entries(folder.Path()), 2);
    const std::optional<Layer> back = LoadLayerImage(png.string(), false, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(std::pair(back->planes, back->pixels), std::pair(planes, want));
  }
}

TEST(LayerImageFileTest, FailuresSayWhyAndAFailedWriteKeepsThePreviousFile) {
  TempFolder temp;
  const fs::path dir = temp.Path(), kept = dir / "kept.webp", folder = dir / "folder.png",
                 text = dir / "notes.png";
  WriteBytes(kept, {'o', 'l', 'd'});
  WriteBytes(text, {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
  fs::create_directory(folder);
  const Layer four{3, 2, 4, kRgba};
  // WebP takes at most 16383 pixels a side, which the encoder finds out while writing; BMP
  // keeps no transparency; the last layer is short of pixels.
  const std::pair<Layer, fs::path> writes[] = {{Layer{16384, 1, 3, Bytes(16384 * 3, 128)}, kept},
                                               {Layer{3, 2, 3, kRgb}, folder},
                                               {four, dir / "out.unknown"},
                                               {four, dir / "out.bmp"},
                                               {four, dir / "no-such-dir" / "out.png"},
                                               {Layer{3, 3, 4, kRgba}, dir / "short.png"}};
  for (const auto& [layer, path] : writes) {
    std::string error;
    EXPECT_FALSE(SaveLayerImage(layer, path.string(), error)) << path;
    EXPECT_NE(error.find(path.filename().string()), std::string::npos) << error;
  }
  EXPECT_EQ(ReadBytes(kept), (Bytes{'o', 'l', 'd'}));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(Entries(dir), 3);

  for (const fs::path& path : {dir / "missing.png", text, folder}) {
    std::string error;
    EXPECT_FALSE(LoadLayerImage(path.string(), false, error)) << path;
    EXPECT_NE(error.find(path.filename().string()), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace pictaro
