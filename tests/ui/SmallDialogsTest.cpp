// The About and Welcome windows, opened as the entry opens them (no parent window) and looked
// at from inside their modal loops, and the compiled-in cursors and bitmaps they and the other
// windows show.
#include "ui/main/SmallDialogs.h"

#include <gtest/gtest.h>
#include <wx/stattext.h>

#include <algorithm>

#include "resources/ImageResources.h"
#include "resources/ResourceRegistry.h"
#include "ui/WxTestSupport.h"
#include "ui/views/ClickablePicture.h"
#include "ui/views/DialogBuilder.h"
#include "ui/views/ResourceImages.h"

namespace pictaro {
namespace {

using testing::Snapshot;

// The labels' texts, wherever their lines were broken, and the pictures.
std::string TextOf(wxDialog& dialog, std::vector<wxImage>& pictures) {
  std::string text;
  for (wxWindow* child : dialog.GetChildren()) {
    if (auto* label = dynamic_cast<wxStaticText*>(child))
      text += label->GetLabel().utf8_string() += "|";
    if (auto* picture = dynamic_cast<ClickablePicture*>(child))
      pictures.push_back(Snapshot(*picture));
  }
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

class SmallDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(wx.IsOk()); }
  testing::WxSession wx;
};

TEST_F(SmallDialogsTest, AboutShowsTheLogoAndTheVersionCentredAndCloses) {
  testing::DialogScript script({testing::InspectThenClose([](wxDialog& dialog) {
    EXPECT_EQ(dialog.GetParent(), nullptr);
    std::vector<wxImage> logo;
    const std::string text = TextOf(dialog, logo);
    EXPECT_NE(text.find("Version 2.0|"), std::string::npos);
    EXPECT_NE(text.find("Pictaro uses the FreeImage library"), std::string::npos);
    testing::ExpectPicture(logo, "about-logo");
    // "Version 2.0" stands in the middle of its box: as many rows without ink above as below.
    const wxImage shot = Snapshot(dialog);
    for (const ControlTemplate& c : FindDialogTemplate(kAboutDialog)->controls) {
      if (c.text == nullptr || std::string(c.text) != "Version 2.0") continue;
      const wxRect box = DialogRect(c);
      std::vector<int> inked;
      for (int y = box.y; y <= box.GetBottom(); ++y) {
        for (int x = box.x; x <= box.GetRight(); ++x)
          if (shot.GetRed(x, y) < 0x80) inked.push_back(y);
      }
      ASSERT_FALSE(inked.empty());
      EXPECT_NEAR(inked.front() - box.y, box.GetBottom() - inked.back(), 3);
    }
  })});
  ShowAboutDialog(nullptr);
  EXPECT_EQ(script.answer, 1);
}

TEST_F(SmallDialogsTest, WelcomeShowsItsAdviceWithBulletsAndEndsByOk) {
  testing::DialogScript script({testing::InspectThenClose([](wxDialog& dialog) {
    EXPECT_EQ(dialog.GetTitle(), "Using Pictaro");
    std::vector<wxImage> bullets;
    const std::string text = TextOf(dialog, bullets);
    EXPECT_NE(text.find("Welcome to Pictaro! Before starting"), std::string::npos);
    EXPECT_NE(text.find("Remember to check the Tutorial and Read Me files"), std::string::npos);
    testing::ExpectPicture(bullets, "welcome-bullets");
  })});
  ShowWelcomeDialog(nullptr);
  EXPECT_EQ(script.answer, 1);
}

TEST_F(SmallDialogsTest, AResourceHiddenOrDamagedGivesNoCursorOrBitmap) {
  EXPECT_TRUE(ResourceCursor(kCursorHand).IsOk() && ResourceCursor(kCursorMove).IsOk());
  ResourceOverride hiddenCursor(kCursorType, kCursorHand, std::nullopt);
  ResourceOverride damagedBitmap(kBitmapType, kBitmapLogo, std::vector<std::uint8_t>(39));
  EXPECT_FALSE(ResourceCursor(kCursorHand).IsOk());
  EXPECT_FALSE(ResourceBitmap(kBitmapLogo).IsOk());
}

}  // namespace
}  // namespace pictaro
