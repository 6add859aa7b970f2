#include "host/LayerViewPicture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/ReferenceText.h"

namespace pictaro {
namespace {

constexpr int kSide = 256;

// A delivered 256 x 256 region whose pixel (x, y) is (x, y, 202), column 130 fully transparent
// when there is a fourth plane.
std::vector<std::uint8_t> Region(int planes) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < kSide * kSide; ++i) {
    const std::uint8_t x = i % kSide, y = i / kSide, alpha = x == 130 ? 0 : 255;
    const std::uint8_t pixel[] = {x, y, 202, alpha};
    bytes.insert(bytes.end(), pixel, pixel + planes);
  }
  return bytes;
}

TEST(LayerViewPictureTest, TheSquareStaysUndimmedOverTheBackgroundAndSmallOnesEnlarge) {
  const std::vector<std::uint8_t> regions[] = {Region(3), Region(4)};
  for (const auto& [n, what] : testing::NumberRows("host/layer-view-picture.txt")) {
    const int planes = int(n[0]);
    const LayerImage image{Rect{0, 0, kSide, kSide}, regions[planes - 3].data(),
                           int32(kSide * planes), int32(planes)};
    Raster area(kSide, kSide);
    ASSERT_TRUE(RenderLayerPicture(image, {std::uint32_t(n[1]), int(n[2]), n[3] != 0}, area));
    const std::uint8_t* p = area.At(int(n[4]), int(n[5]));
    EXPECT_EQ((std::vector<long long>{p[0], p[1], p[2], p[3]}),
              (std::vector<long long>{n[6], n[7], n[8], 255}))
        << std::hex << n[1] << std::dec << " " << n[2] << " at " << n[4] << "," << n[5] << what;
  }

  // Nothing delivered: nothing drawn.
  Raster area(kSide, kSide);
  const LayerImage nothing{Rect{0, 0, kSide, kSide}, nullptr, kSide * 4, 4};
  EXPECT_FALSE(RenderLayerPicture(nothing, LayerViewLook{}, area));
  EXPECT_EQ(area.At(128, 128)[3], 0);
}

}  // namespace
}  // namespace pictaro
