#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "substitute/SubstituteHost.h"
#include "support/Files.h"

namespace pictaro {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kConvert = "/usr/bin/convert";
// The PNG header's colour type: 2 RGB, 6 RGBA.
constexpr std::size_t kPngColorTypeOffset = 25;

using testing::ReadBytes;
using testing::WriteBytes;

class LayerImageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "pictaro-layer-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path dir;
  // Six pixels (3 x 2) whose every byte differs, with partial transparency.
  const Bytes rgba = {10, 20, 30, 255, 40, 50, 60, 0,   70, 80, 90, 128,
                      11, 21, 31, 1,   41, 51, 61, 254, 71, 81, 91, 200};
  const Bytes rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 11, 21, 31, 41, 51, 61, 71, 81, 91};
  const Bytes opaqueRgba = {10, 20, 30, 255, 40, 50, 60, 255, 70, 80, 90, 255,
                            11, 21, 31, 255, 41, 51, 61, 255, 71, 81, 91, 255};
};

TEST_F(LayerImageFileTest, LoadsAndSavesPngsTopRowFirstWithTheirTransparency) {
  if (access(kConvert, X_OK) != 0) GTEST_SKIP() << "ImageMagick's convert is not available";
  // ImageMagick writes `raw` as an RGBA or RGB PNG, loaded opaque or not.
  const std::tuple<const char*, const Bytes&, bool> cases[] = {
      {"RGBA", rgba, false},
      {"RGBA loaded opaque", rgba, true},
      {"RGB", rgb, false},
      // FreeImage calls this opaque; the file has, and keeps, an alpha channel.
      {"RGBA whose alpha is all opaque", opaqueRgba, false},
  };
  for (const auto& [what, raw, opaque] : cases) {
    SCOPED_TRACE(what);
    const bool alpha = raw.size() == 6 * 4;
    const Bytes& pixels = opaque ? rgb : raw;
    const int planes = static_cast<int>(pixels.size() / 6);
    const fs::path rawPath = dir / "pixels.raw", png = dir / "layer.png";
    WriteBytes(rawPath, raw);
    const std::string command = std::string(kConvert) + " -size 3x2 -depth 8 " +
                                (alpha ? "rgba:'" : "rgb:'") + rawPath.string() +
                                (alpha ? "' PNG32:'" : "' PNG24:'") + png.string() + "'";
    ASSERT_EQ(system(command.c_str()), 0);
    ASSERT_EQ(ReadBytes(png).at(kPngColorTypeOffset), alpha ? 6 : 2);
    std::string error;
    const std::optional<Layer> layer = LoadLayerImage(png.string(), opaque, error);
    ASSERT_TRUE(layer) << error;
    EXPECT_EQ((std::vector<int>{layer->width, layer->height, layer->planes}),
              (std::vector<int>{3, 2, planes}));
    EXPECT_EQ(layer->pixels, pixels);

    // Saved over a previous file, it reads back the same.
    WriteBytes(png, {'o', 'l', 'd'});
    ASSERT_TRUE(SaveLayerImage(Layer{3, 2, planes, pixels}, png.string(), error)) << error;
    EXPECT_EQ(ReadBytes(png).at(kPngColorTypeOffset), planes == 4 ? 6 : 2);
    // The raw pixels and the image; no partial file is left.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
    const std::optional<Layer> back = LoadLayerImage(png.string(), false, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->planes, planes);
    EXPECT_EQ(back->pixels, pixels);
  }
}

TEST_F(LayerImageFileTest, FailuresSayWhyAndAFailedWriteKeepsThePreviousFile) {
  const fs::path kept = dir / "kept.webp", folder = dir / "folder.png", text = dir / "notes.png";
  WriteBytes(kept, {'o', 'l', 'd'});
  WriteBytes(text, {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
  fs::create_directory(folder);
  const Layer four{3, 2, 4, rgba};
  const std::pair<Layer, fs::path> writes[] = {
      // WebP takes at most 16383 pixels a side, which the encoder finds out while writing.
      {Layer{16384, 1, 3, Bytes(16384 * 3, 128)}, kept},
      {Layer{3, 2, 3, rgb}, folder},
      {four, dir / "out.unknown"},
      {four, dir / "out.bmp"},  // BMP keeps no transparency
      {four, dir / "no-such-dir" / "out.png"},
      {Layer{3, 3, 4, rgba}, dir / "short.png"},
  };
  for (const auto& [layer, path] : writes) {
    SCOPED_TRACE(path);
    std::string error;
    EXPECT_FALSE(SaveLayerImage(layer, path.string(), error));
    EXPECT_NE(error.find(path.filename().string()), std::string::npos) << error;
  }
  EXPECT_EQ(ReadBytes(kept), (Bytes{'o', 'l', 'd'}));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);

  for (const fs::path& path : {dir / "missing.png", text, folder}) {
    std::string error;
    EXPECT_FALSE(LoadLayerImage(path.string(), false, error));
    EXPECT_NE(error.find(path.filename().string()), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace pictaro
