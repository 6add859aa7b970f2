#include "host/LayerViewPicture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace pictaro {
namespace {

constexpr int kSide = 256;

// A delivered 256 x 256 region whose pixel (x, y) is (x, y, 202), column 130 fully transparent
// when there is a fourth plane.
std::vector<std::uint8_t> Region(int planes) {
  std::vector<std::uint8_t> bytes;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const std::uint8_t pixel[] = {std::uint8_t(x), std::uint8_t(y), 202,
                                    std::uint8_t(x == 130 ? 0 : 255)};
      bytes.insert(bytes.end(), pixel, pixel + planes);
    }
  }
  return bytes;
}

TEST(LayerViewPictureTest, TheSquareStaysUndimmedOverTheBackgroundAndSmallOnesEnlarge) {
  const std::vector<std::uint8_t> regions[] = {Region(3), Region(4)};
  // planes, background, square size, zoom, then at (x, y) the red, green and blue shown
  const std::uint32_t rows[][9] = {
      // The 48 px square spans 104 to 151 both ways; 0x808080 is just light enough (luminance
      // 0.502) to keep three quarters of the rest, truncated.
      {4, 0x808080, 48, 0, 104, 104, 104, 104, 202},
      {4, 0x808080, 48, 0, 151, 151, 151, 151, 202},
      {4, 0x808080, 48, 0, 103, 129, 77, 96, 151},
      {4, 0x808080, 48, 0, 153, 129, 114, 96, 151},
      {4, 0x808080, 48, 0, 129, 103, 96, 77, 151},
      {4, 0x808080, 48, 0, 0, 255, 0, 191, 151},
      {4, 0x7F7F7F, 48, 0, 20, 20, 137, 137, 228},  // dark: half way to white
      // Transparency shows the background; three planes are opaque.
      {4, 0x3060C0, 16, 0, 130, 128, 0xC0, 0x60, 0x30},
      {4, 0x3060C0, 16, 0, 129, 128, 129, 128, 202},
      {3, 0x3060C0, 16, 0, 130, 128, 130, 128, 202},
      // The 64 px centre from (96, 96) fills the area in 4 x 4 blocks: the square covers
      // 192 x 192 screen pixels from (32, 32).
      {4, 0xFFFFFF, 48, 1, 32, 32, 104, 104, 202},
      {4, 0xFFFFFF, 48, 1, 35, 35, 104, 104, 202},
      {4, 0xFFFFFF, 48, 1, 36, 32, 105, 104, 202},
      {4, 0xFFFFFF, 48, 1, 223, 223, 151, 151, 202},
      {4, 0xFFFFFF, 48, 1, 31, 132, 77, 96, 151},
      // A 256 px selection is never enlarged.
      {4, 0xFFFFFF, 256, 1, 0, 0, 0, 0, 202},
      {4, 0xFFFFFF, 256, 1, 255, 7, 255, 7, 202},
  };
  for (const auto& [planes, background, square, zoom, x, y, red, green, blue] : rows) {
    const LayerImage image{Rect{0, 0, kSide, kSide}, regions[planes - 3].data(),
                           int32(kSide * planes), int32(planes)};
    Raster area(kSide, kSide);
    ASSERT_TRUE(RenderLayerPicture(image, {background, int(square), zoom != 0}, area));
    const std::uint8_t* p = area.At(int(x), int(y));
    EXPECT_EQ((std::array<int, 4>{p[0], p[1], p[2], p[3]}),
              (std::array<int, 4>{int(red), int(green), int(blue), 255}))
        << std::hex << background << std::dec << " " << square << " at " << x << "," << y;
  }

  // Nothing delivered: nothing drawn.
  Raster area(kSide, kSide);
  const LayerImage nothing{Rect{0, 0, kSide, kSide}, nullptr, kSide * 4, 4};
  EXPECT_FALSE(RenderLayerPicture(nothing, LayerViewLook{}, area));
  EXPECT_EQ(area.At(128, 128)[3], 0);
}

}  // namespace
}  // namespace pictaro
