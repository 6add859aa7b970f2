#include "host/LayerViewPicture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace pictaro {
namespace {

constexpr int kSide = 256;

using Color = std::array<std::uint8_t, 4>;  // red, green, blue, transparency

// A delivered 256 x 256 region whose pixel (x, y) is color(x, y), with 3 or 4 planes.
struct Region {
  Region(int planes, const std::function<Color(int x, int y)>& color) : planes(planes) {
    bytes.resize(static_cast<std::size_t>(kSide) * kSide * planes);
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        const Color c = color(x, y);
        std::copy_n(c.begin(), planes, bytes.begin() + (y * kSide + x) * planes);
      }
    }
  }
  LayerImage Image() const {
    return {Rect{0, 0, kSide, kSide}, bytes.data(), kSide * planes, planes};
  }

  int planes;
  std::vector<std::uint8_t> bytes;
};

Color At(const Raster& r, int x, int y) {
  const std::uint8_t* p = r.At(x, y);
  return {p[0], p[1], p[2], p[3]};
}

Raster Render(const Region& region, const LayerViewLook& look) {
  Raster area(kSide, kSide);
  EXPECT_TRUE(RenderLayerPicture(region.Image(), look, area));
  return area;
}

TEST(LayerViewPictureTest, TheSquareStaysUndimmedAndTheRestFollowsTheBackgroundsLuminance) {
  // The 48 px square of a 256 px area spans 104 to 151 both ways.
  const Region region(4, [](int, int) { return Color{201, 0, 255, 255}; });
  LayerViewLook look{.background = 0x808080, .squareSize = 48, .zoom = false};
  Raster area = Render(region, look);
  EXPECT_EQ(At(area, 104, 104), (Color{201, 0, 255, 255}));
  EXPECT_EQ(At(area, 151, 151), (Color{201, 0, 255, 255}));
  // 0x808080 is just light enough (L 0.502): three quarters, truncated.
  EXPECT_EQ(At(area, 103, 128), (Color{150, 0, 191, 255}));
  EXPECT_EQ(At(area, 152, 128), (Color{150, 0, 191, 255}));
  EXPECT_EQ(At(area, 128, 103), (Color{150, 0, 191, 255}));
  EXPECT_EQ(At(area, 0, 255), (Color{150, 0, 191, 255}));

  // 0x7F7F7F is dark: half way to white, white staying white.
  const Region darker(4, [](int, int) { return Color{100, 0, 255, 255}; });
  look.background = 0x7F7F7F;
  area = Render(darker, look);
  EXPECT_EQ(At(area, 128, 128), (Color{100, 0, 255, 255}));
  EXPECT_EQ(At(area, 20, 20), (Color{177, 127, 255, 255}));
}

TEST(LayerViewPictureTest, TransparencyShowsTheBackgroundAndThreePlanesAreOpaque) {
  const Region clear(4, [](int x, int) {
    return Color{200, 10, 20, static_cast<std::uint8_t>(x == 128 ? 0 : 255)};
  });
  const LayerViewLook look{.background = 0x3060C0, .squareSize = 16, .zoom = false};
  const Raster area = Render(clear, look);
  EXPECT_EQ(At(area, 128, 128), (Color{0xC0, 0x60, 0x30, 255}));
  EXPECT_EQ(At(area, 127, 128), (Color{200, 10, 20, 255}));

  // Without a transparency plane the byte after blue is the next pixel's red (0 here).
  const Region opaque(3, [](int, int) { return Color{0, 20, 30, 0}; });
  EXPECT_EQ(At(Render(opaque, look), 128, 128), (Color{0, 20, 30, 255}));
}

TEST(LayerViewPictureTest, ZoomEnlargesTheCentreOfSmallSelectionsOnly) {
  const Region region(4, [](int x, int y) {
    return Color{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 255, 255};
  });
  LayerViewLook look{.background = 0xFFFFFF, .squareSize = 48, .zoom = true};
  Raster area = Render(region, look);
  // The 64 px centre from (96, 96) fills the area in 4 x 4 blocks; the square covers
  // 192 x 192 screen pixels from (32, 32).
  EXPECT_EQ(At(area, 32, 32), (Color{104, 104, 255, 255}));
  EXPECT_EQ(At(area, 35, 35), (Color{104, 104, 255, 255}));
  EXPECT_EQ(At(area, 36, 32), (Color{105, 104, 255, 255}));
  EXPECT_EQ(At(area, 223, 223), (Color{151, 151, 255, 255}));
  EXPECT_EQ(At(area, 31, 128)[2], 191);  // dimmed
  EXPECT_EQ(At(area, 224, 128)[2], 191);
  EXPECT_EQ(At(area, 128, 224)[2], 191);

  // A 256 px selection is never enlarged.
  look.squareSize = 256;
  area = Render(region, look);
  EXPECT_EQ(At(area, 0, 0), (Color{0, 0, 255, 255}));
  EXPECT_EQ(At(area, 255, 7), (Color{255, 7, 255, 255}));
}

TEST(LayerViewPictureTest, NothingDeliveredDrawsNothing) {
  Raster area(kSide, kSide);
  const LayerImage nothing{Rect{0, 0, kSide, kSide}, nullptr, kSide * 4, 4};
  EXPECT_FALSE(RenderLayerPicture(nothing, LayerViewLook{}, area));
  EXPECT_EQ(At(area, 128, 128), (Color{0, 0, 0, 0}));
}

}  // namespace
}  // namespace pictaro
