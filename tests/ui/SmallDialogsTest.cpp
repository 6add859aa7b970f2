// The About and Welcome windows, opened as the entry opens them (no parent window) and
// looked at from inside their modal loops.
#include "ui/main/SmallDialogs.h"

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/stattext.h>

#include <functional>
#include <string>
#include <vector>

#include "resources/DialogTemplates.h"
#include "resources/ImageResources.h"
#include "ui/WxTestSupport.h"
#include "ui/views/ClickablePicture.h"
#include "ui/views/DialogBuilder.h"
#include "ui/views/ResourceImages.h"

namespace pictaro {
namespace {

using testing::PixelOf;
using testing::Snapshot;

// Whether some label of the dialog says `text`, wherever its lines were broken.
bool ShowsText(wxDialog& dialog, const wxString& text) {
  for (wxWindow* child : dialog.GetChildren()) {
    if (auto* label = dynamic_cast<wxStaticText*>(child)) {
      wxString shown = label->GetLabel();
      shown.Replace("\n", " ");
      if (shown.Contains(text)) return true;
    }
  }
  return false;
}

std::vector<ClickablePicture*> Pictures(wxDialog& dialog) {
  std::vector<ClickablePicture*> pictures;
  for (wxWindow* child : dialog.GetChildren()) {
    if (auto* picture = dynamic_cast<ClickablePicture*>(child)) pictures.push_back(picture);
  }
  return pictures;
}

// How many pixels of the picture on the screen, `inset` pixels in from its edges, differ from
// the bitmap resource.
int PixelsUnlike(ClickablePicture& picture, int bitmap, int inset) {
  const wxImage expected = ResourceBitmap(bitmap).ConvertToImage();
  const wxImage shown = Snapshot(picture);
  if (shown.GetSize() != expected.GetSize()) return -1;
  int unlike = 0;
  for (int y = inset; y < expected.GetHeight() - inset; ++y) {
    for (int x = inset; x < expected.GetWidth() - inset; ++x)
      unlike += PixelOf(shown, x, y) != PixelOf(expected, x, y);
  }
  return unlike;
}

class SmallDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(wx.IsOk()); }
  testing::WxSession wx;
};

TEST_F(SmallDialogsTest, AboutShowsTheLogoAndTheVersionAndCloses) {
  testing::DialogInspector inspector([](wxDialog& dialog) {
    EXPECT_EQ(dialog.GetParent(), nullptr);
    EXPECT_TRUE(ShowsText(dialog, "Version 2.0"));
    // "Version 2.0" stands in the middle of its box: as many rows without ink above as below.
    const wxImage shot = Snapshot(dialog);
    for (const ControlTemplate& c : FindDialogTemplate(kAboutDialog)->controls) {
      if (c.text == nullptr || std::string(c.text) != "Version 2.0") continue;
      const wxRect box = DialogRect(c);
      int top = -1, bottom = -1;
      for (int y = box.y; y <= box.GetBottom(); ++y) {
        for (int x = box.x; x <= box.GetRight(); ++x) {
          if ((PixelOf(shot, x, y) & 0xFF) >= 0x80) continue;
          if (top < 0) top = y;
          bottom = y;
        }
      }
      ASSERT_GE(top, 0);
      EXPECT_NEAR(top - box.y, box.GetBottom() - bottom, 3);
    }
    EXPECT_TRUE(ShowsText(dialog, "Pictaro uses the FreeImage library"));
    const auto pictures = Pictures(dialog);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0]->GetClientSize(), wxSize(285, 66));
    // The theme's rounded frame covers the logo's corners.
    EXPECT_EQ(PixelsUnlike(*pictures[0], kBitmapLogo, 4), 0);
  });
  ShowAboutDialog(nullptr);
  EXPECT_EQ(inspector.answer, 1);
}

TEST_F(SmallDialogsTest, WelcomeShowsItsAdviceWithBulletsAndEndsByOk) {
  testing::DialogInspector inspector([](wxDialog& dialog) {
    EXPECT_EQ(dialog.GetTitle(), "Using Pictaro");
    EXPECT_TRUE(ShowsText(dialog, "Welcome to Pictaro! Before starting"));
    EXPECT_TRUE(ShowsText(dialog, "Remember to check the Tutorial and Read Me files"));
    const auto bullets = Pictures(dialog);
    EXPECT_EQ(bullets.size(), 3u);
    for (ClickablePicture* bullet : bullets) EXPECT_EQ(PixelsUnlike(*bullet, kBitmapBullet, 0), 0);
  });
  ShowWelcomeDialog(nullptr);
  EXPECT_EQ(inspector.answer, 1);
}

}  // namespace
}  // namespace pictaro
