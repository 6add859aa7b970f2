#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "substitute/SubstituteHost.h"

namespace pictaro {
namespace {

namespace fs = std::filesystem;

constexpr const char* kConvert = "/usr/bin/convert";
// The PNG header's colour type: 2 RGB, 6 RGBA.
constexpr std::size_t kPngColorTypeOffset = 25;
constexpr std::uint8_t kPngRgb = 2;
constexpr std::uint8_t kPngRgba = 6;

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Pixels as ImageMagick reads them, top row first: "rgba" or "rgb".
std::vector<std::uint8_t> ConvertToRaw(const fs::path& image, const std::string& layout) {
  const std::string command =
      std::string(kConvert) + " '" + image.string() + "' -depth 8 " + layout + ":-";
  std::vector<std::uint8_t> bytes;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return bytes;
  int c;
  while ((c = std::fgetc(pipe)) != EOF) bytes.push_back(static_cast<std::uint8_t>(c));
  pclose(pipe);
  return bytes;
}

// A second reader's view of a written file, when ImageMagick is there.
void ExpectImageMagickReads(const fs::path& image, const std::string& layout,
                            const std::vector<std::uint8_t>& pixels) {
  if (access(kConvert, X_OK) != 0) return;
  EXPECT_EQ(ConvertToRaw(image, layout), pixels);
}

class LayerImageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "pictaro-layer-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }

  // Writes `raw` pixels (3 wide, 2 high) as a PNG with ImageMagick; `format` is
  // PNG32 (RGBA) or PNG24 (RGB).
  fs::path MakePng(const std::vector<std::uint8_t>& raw, const std::string& layout,
                   const std::string& format) {
    if (access(kConvert, X_OK) != 0) return {};
    const fs::path rawPath = dir / "pixels.raw";
    const fs::path png = dir / "layer.png";
    WriteFile(rawPath, raw);
    const std::string command = std::string(kConvert) + " -size 3x2 -depth 8 " + layout + ":'" +
                                rawPath.string() + "' " + format + ":'" + png.string() + "'";
    if (std::system(command.c_str()) != 0) return {};
    return png;
  }

  fs::path dir;
  // Six pixels whose every byte differs, with partial transparency.
  const std::vector<std::uint8_t> rgba = {10, 20, 30, 255, 40, 50, 60, 0,   70, 80, 90, 128,
                                          11, 21, 31, 1,   41, 51, 61, 254, 71, 81, 91, 200};
  const std::vector<std::uint8_t> rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90,
                                         11, 21, 31, 41, 51, 61, 71, 81, 91};
};

TEST_F(LayerImageFileTest, LoadsAnRgbaPngWithTransparencyTopRowFirst) {
  const fs::path png = MakePng(rgba, "rgba", "PNG32");
  if (png.empty()) GTEST_SKIP() << "ImageMagick's convert is not available";
  std::string error;
  const std::optional<Layer> layer = LoadLayerImage(png.string(), false, error);
  ASSERT_TRUE(layer) << error;
  EXPECT_EQ(layer->width, 3);
  EXPECT_EQ(layer->height, 2);
  EXPECT_EQ(layer->planes, 4);
  EXPECT_EQ(layer->pixels, rgba);
}

TEST_F(LayerImageFileTest, OpaqueLoadDropsTheTransparency) {
  const fs::path png = MakePng(rgba, "rgba", "PNG32");
  if (png.empty()) GTEST_SKIP() << "ImageMagick's convert is not available";
  std::string error;
  const std::optional<Layer> layer = LoadLayerImage(png.string(), true, error);
  ASSERT_TRUE(layer) << error;
  EXPECT_EQ(layer->planes, 3);
  EXPECT_EQ(layer->pixels, rgb);
}

TEST_F(LayerImageFileTest, LoadsAnRgbPngAsThreePlanes) {
  const fs::path png = MakePng(rgb, "rgb", "PNG24");
  if (png.empty()) GTEST_SKIP() << "ImageMagick's convert is not available";
  std::string error;
  const std::optional<Layer> layer = LoadLayerImage(png.string(), false, error);
  ASSERT_TRUE(layer) << error;
  EXPECT_EQ(layer->planes, 3);
  EXPECT_EQ(layer->pixels, rgb);
}

TEST_F(LayerImageFileTest, AnRgbaPngWhoseAlphaIsAllOpaqueKeepsFourPlanes) {
  std::vector<std::uint8_t> opaque = rgba;
  for (std::size_t i = 3; i < opaque.size(); i += 4) opaque[i] = 255;
  const fs::path png = MakePng(opaque, "rgba", "PNG32");
  if (png.empty()) GTEST_SKIP() << "ImageMagick's convert is not available";
  ASSERT_EQ(ReadFile(png).at(kPngColorTypeOffset), kPngRgba);
  std::string error;
  const std::optional<Layer> layer = LoadLayerImage(png.string(), false, error);
  ASSERT_TRUE(layer) << error;
  EXPECT_EQ(layer->planes, 4);
  EXPECT_EQ(layer->pixels, opaque);
}

TEST_F(LayerImageFileTest, SavesAFourPlaneLayerAsAnRgbaPng) {
  const Layer layer{3, 2, 4, rgba};
  const fs::path out = dir / "out.png";
  std::string error;
  ASSERT_TRUE(SaveLayerImage(layer, out.string(), error)) << error;
  EXPECT_EQ(ReadFile(out).at(kPngColorTypeOffset), kPngRgba);
  ExpectImageMagickReads(out, "rgba", rgba);
  const std::optional<Layer> back = LoadLayerImage(out.string(), false, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->planes, 4);
  EXPECT_EQ(back->pixels, rgba);
}

TEST_F(LayerImageFileTest, AnOpaqueFourPlaneLayerStaysRgbaOnDisk) {
  Layer layer{3, 2, 4, rgba};
  for (std::size_t i = 3; i < layer.pixels.size(); i += 4) layer.pixels[i] = 255;
  const fs::path out = dir / "out.png";
  std::string error;
  ASSERT_TRUE(SaveLayerImage(layer, out.string(), error)) << error;
  EXPECT_EQ(ReadFile(out).at(kPngColorTypeOffset), kPngRgba);
  ExpectImageMagickReads(out, "rgba", layer.pixels);
  const std::optional<Layer> back = LoadLayerImage(out.string(), false, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->planes, 4);
  EXPECT_EQ(back->pixels, layer.pixels);
}

TEST_F(LayerImageFileTest, SavesAThreePlaneLayerAsAnRgbPng) {
  const Layer layer{3, 2, 3, rgb};
  const fs::path out = dir / "out.png";
  std::string error;
  ASSERT_TRUE(SaveLayerImage(layer, out.string(), error)) << error;
  EXPECT_EQ(ReadFile(out).at(kPngColorTypeOffset), kPngRgb);
  ExpectImageMagickReads(out, "rgb", rgb);
  const std::optional<Layer> back = LoadLayerImage(out.string(), false, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->planes, 3);
  EXPECT_EQ(back->pixels, rgb);
}

TEST_F(LayerImageFileTest, AFailedWriteKeepsThePreviousFileAndLeavesNothingBehind) {
  const fs::path target = dir / "kept.webp";
  WriteFile(target, {'o', 'l', 'd'});
  // WebP takes at most 16383 pixels a side, which the encoder finds out while writing.
  Layer wide{16384, 1, 3, std::vector<std::uint8_t>(16384 * 3, 128)};
  std::string error;
  EXPECT_FALSE(SaveLayerImage(wide, target.string(), error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadFile(target), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(LayerImageFileTest, AWriteOverADirectoryFailsAndLeavesNothingBehind) {
  const fs::path target = dir / "folder.png";
  fs::create_directory(target);
  std::string error;
  EXPECT_FALSE(SaveLayerImage(Layer{3, 2, 3, rgb}, target.string(), error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(LayerImageFileTest, AWriteReplacesThePreviousFile) {
  const fs::path target = dir / "layer.png";
  WriteFile(target, {'o', 'l', 'd'});
  std::string error;
  ASSERT_TRUE(SaveLayerImage(Layer{3, 2, 3, rgb}, target.string(), error)) << error;
  const std::optional<Layer> back = LoadLayerImage(target.string(), false, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->pixels, rgb);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(LayerImageFileTest, ReportsFilesItCannotRead) {
  std::string error;
  EXPECT_FALSE(LoadLayerImage((dir / "missing.png").string(), false, error));
  EXPECT_NE(error.find("missing.png"), std::string::npos);

  const fs::path text = dir / "notes.png";
  WriteFile(text, {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
  error.clear();
  EXPECT_FALSE(LoadLayerImage(text.string(), false, error));
  EXPECT_FALSE(error.empty());
}

TEST_F(LayerImageFileTest, ReportsFilesItCannotWrite) {
  std::string error;
  EXPECT_FALSE(SaveLayerImage(Layer{3, 2, 4, rgba}, (dir / "out.unknown").string(), error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(fs::exists(dir / "out.unknown"));

  // JPEG keeps no transparency.
  error.clear();
  EXPECT_FALSE(SaveLayerImage(Layer{3, 2, 4, rgba}, (dir / "out.jpg").string(), error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(fs::exists(dir / "out.jpg"));

  error.clear();
  EXPECT_FALSE(
      SaveLayerImage(Layer{3, 2, 4, rgba}, (dir / "no-such-dir" / "out.png").string(), error));
  EXPECT_FALSE(error.empty());

  error.clear();
  EXPECT_FALSE(SaveLayerImage(Layer{3, 3, 4, rgba}, (dir / "short.png").string(), error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace pictaro
