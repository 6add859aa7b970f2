// The About and Welcome windows, opened as the entry opens them (no parent window) and looked
// at from inside their modal loops, and the compiled-in cursors and bitmaps they and the other
// windows show.
#include "ui/main/SmallDialogs.h"

#include <gtest/gtest.h>

#include "resources/ImageResources.h"
#include "resources/ResourceRegistry.h"
#include "ui/WxTestSupport.h"
#include "ui/views/ResourceImages.h"

namespace pictaro {
namespace {

// The whole window: its texts wherever their lines were broken, the logo, the version centred
// in its box, the bullets; then its button 1 ends it.
TEST(SmallDialogsTest, AboutAndWelcomeShowTheirTextsAndPicturesAndEndByTheirButton) {
  testing::WxSession wx;
  ASSERT_TRUE(wx.IsOk());
  std::string titles;
  for (const auto& [show, name] :
       {std::pair(&ShowAboutDialog, "about"), std::pair(&ShowWelcomeDialog, "welcome")}) {
    testing::DialogScript script({testing::InspectThenClose([&](wxDialog& dialog) {
      titles += dialog.GetTitle() + (dialog.GetParent() == nullptr ? "|" : " parented|");
      testing::ExpectPicture({testing::Snapshot(dialog)}, name);
    })});
    show(nullptr);
    EXPECT_EQ(script.answer, 1);
  }
  EXPECT_EQ(titles, "About Pictaro|Using Pictaro|");
}

TEST(SmallDialogsTest, AResourceHiddenOrDamagedGivesNoCursorOrBitmap) {
  EXPECT_TRUE(ResourceCursor(kCursorHand).IsOk() && ResourceCursor(kCursorMove).IsOk());
  ResourceOverride hiddenCursor(kCursorType, kCursorHand, std::nullopt);
  ResourceOverride damagedBitmap(kBitmapType, kBitmapLogo, std::vector<std::uint8_t>(39));
  EXPECT_FALSE(ResourceCursor(kCursorHand).IsOk());
  EXPECT_FALSE(ResourceBitmap(kBitmapLogo).IsOk());
}

}  // namespace
}  // namespace pictaro
