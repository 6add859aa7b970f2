// The compiled-in cursors and bitmaps as wx objects.
#include "ui/views/ResourceImages.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "resources/ImageResources.h"
#include "resources/ResourceRegistry.h"
#include "ui/WxTestSupport.h"

namespace pictaro {
namespace {

TEST(ResourceImagesTest, CursorsAndBitmapsFromTheResources) {
  testing::WxSession wx;
  ASSERT_TRUE(wx.IsOk());

  const wxCursor hand = ResourceCursor(kCursorHand);
  ASSERT_TRUE(hand.IsOk());
  EXPECT_TRUE(ResourceCursor(kCursorMove).IsOk());

  const wxBitmap logo = ResourceBitmap(kBitmapLogo);
  ASSERT_TRUE(logo.IsOk());
  EXPECT_EQ(logo.GetWidth(), 285);
  EXPECT_EQ(logo.GetHeight(), 66);
  const std::optional<Raster> raster = LoadBitmapResource(kBitmapLogo);
  ASSERT_TRUE(raster);
  const wxImage image = logo.ConvertToImage();
  for (const auto& [x, y] : {std::pair{0, 0}, {284, 0}, {0, 65}, {60, 30}, {140, 20}}) {
    const std::uint8_t* pixel = raster->At(x, y);
    EXPECT_EQ(image.GetRed(x, y), pixel[0]) << x << "," << y;
    EXPECT_EQ(image.GetGreen(x, y), pixel[1]) << x << "," << y;
    EXPECT_EQ(image.GetBlue(x, y), pixel[2]) << x << "," << y;
  }
  EXPECT_EQ(ResourceBitmap(kBitmapBullet).GetSize(), wxSize(4, 4));

  ResourceOverride hiddenCursor(kCursorType, kCursorHand, std::nullopt);
  ResourceOverride damagedBitmap(kBitmapType, kBitmapLogo, std::vector<std::uint8_t>(39));
  EXPECT_FALSE(ResourceCursor(kCursorHand).IsOk());
  EXPECT_FALSE(ResourceBitmap(kBitmapLogo).IsOk());
}

}  // namespace
}  // namespace pictaro
