// The Test window as a real window: the picture follows the icon's size and the slider, the
// buttons and the tree carry the icon, and the picture shows the icon's own pixels.
#include "ui/views/TestDialog.h"

#include <gtest/gtest.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/treectrl.h>

#include "ui/WxTestSupport.h"
#include "ui/views/RasterBitmap.h"

namespace pictaro {
namespace {

using namespace test_ids;
using testing::Snapshot;

// An opaque red icon with one blue pixel at (1, 0).
wxImage RedImage(int side) {
  wxImage image(side, side);
  image.SetRGB(wxRect(0, 0, side, side), 255, 0, 0);
  image.SetRGB(1, 0, 0, 0, 255);
  return image;
}
wxIcon RedIcon(int side) {
  wxIcon icon;
  icon.CopyFromBitmap(wxBitmap(RedImage(side)));
  return icon;
}

TEST(TestDialogTest, ShowsTheIconInEachControlAtItsSize) {
  testing::WxSession wx;
  ASSERT_TRUE(wx.IsOk());
  TestDialog* dialog = nullptr;
  auto open = [&dialog](int side) {
    if (dialog != nullptr) dialog->Destroy();
    dialog = new TestDialog(RedIcon(side), nullptr);
    dialog->Show();
    testing::Settle();
  };
  auto picture = [&dialog]() -> wxWindow& { return *dialog->FindWindow(kPicture); };
  // The picture's size, the slider's position and the size text.
  auto sizes = [&] {
    const wxSize size = picture().GetSize();
    const int slider = dynamic_cast<wxSlider*>(dialog->FindWindow(kSlider))->GetValue();
    return wxString::Format("%dx%d %d ", size.x, size.y, slider).utf8_string() +
           dialog->FindWindow(kSizeText)->GetLabel().utf8_string();
  };
  auto slide = [&dialog](wxEventType type, int position) {
    dynamic_cast<wxSlider*>(dialog->FindWindow(kSlider))->SetValue(position);
    wxCommandEvent moved(type, kSlider);
    moved.SetInt(position);
    testing::Send(*dialog->FindWindow(kSlider), moved);
  };

  open(256);
  EXPECT_EQ(sizes(), "256x256 256 256 x 256 pixels");
  open(48);
  EXPECT_FALSE(dialog->GetIcons().IsEmpty());
  EXPECT_EQ(sizes(), "48x48 48 48 x 48 pixels");
  for (const bool off : {true, false}) {
    testing::Check(*dialog, kDisableButtons, off);
    for (int id : {kSmallButton, kMediumButton, kLargeButton})
      EXPECT_EQ(dialog->FindWindow(id)->IsEnabled(), !off) << id;
  }
  // At its own size; twice the size, every pixel 2 x 2 with no blend at the edges; at its own
  // size centred on the window's background; and in the tree, twice under "Parent Item".
  auto& tree = dynamic_cast<wxTreeCtrl&>(*dialog->FindWindow(kTree));
  wxTreeItemIdValue cookie;
  tree.SelectItem(tree.GetFirstChild(tree.GetRootItem(), cookie));  // the icon when selected
  const wxImage own = Snapshot(picture()), treeShot = Snapshot(tree);
  slide(wxEVT_SLIDER, 96);
  const wxImage twice = Snapshot(picture());
  testing::Check(*dialog, kCenterImage, true);
  testing::ExpectPicture({own, twice, Snapshot(picture()), treeShot}, "test-window");

  // A frame keeps the outer size and takes its room from the inside.
  testing::Check(*dialog, kClientEdge, true);
  EXPECT_EQ(picture().GetSize(), wxSize(96, 96));
  EXPECT_LT(picture().GetClientSize().x, 96);
  testing::Check(*dialog, kClientEdge, false);
  EXPECT_EQ(picture().GetClientSize(), wxSize(96, 96));
  testing::Check(*dialog, kStaticEdge, true);
  EXPECT_LT(picture().GetClientSize().x, 96);
  slide(wxEVT_SLIDER, 0);
  EXPECT_EQ(sizes(), "0x0 0 0 x 0 pixels");
  slide(wxEVT_SCROLL_THUMBTRACK, 100);
  EXPECT_EQ(sizes(), "100x100 100 100 x 100 pixels");

  // The buttons show the icon's own pixels, one for one, the smallest button too.
  open(16);
  for (int id : {kSmallButton, kMediumButton, kLargeButton})
    EXPECT_TRUE(testing::Contains(Snapshot(*dialog->FindWindow(id)), RedImage(16))) << id;
  dialog->Destroy();
  testing::Settle();
}

// Done (button 1) is shown ending the window from the Verify tab; Esc ends it as Done too.
TEST(TestDialogTest, EscapeEndsTheModalWindowAsDone) {
  testing::WxSession wx;
  ASSERT_TRUE(wx.IsOk());
  testing::DialogScript script({testing::WhileShown([](wxDialog& modal) {
    testing::Key(modal, WXK_ESCAPE);
    return wxID_CANCEL;  // unless Esc ended it
  })});
  ShowTestDialog(RedIcon(32), nullptr);
  EXPECT_EQ(script.answer, kDone);
}

// The icon the Test window is given: made of a resource, with its alpha or its mask.
TEST(TestDialogTest, IconsCarryAlphaOrTheMask) {
  testing::WxSession wx;
  ASSERT_TRUE(wx.IsOk());
  // An icon as an image with alpha, whatever form it carries its transparency in.
  auto imageOf = [](const wxIcon& icon) {
    wxBitmap bitmap;
    bitmap.CopyFromIcon(icon);
    wxImage image = bitmap.ConvertToImage();
    if (!image.HasAlpha()) image.InitAlpha();
    return image;
  };
  ResourceGrid grid;
  const GridSlot deep(1, 2, 1), flat(0, 0, 0);  // 24 x 24 32-bit, 16 x 16 4-bit
  grid.PrepareResource(deep);
  IconResource& d = grid.resources[ResourceGrid::IndexOf(deep)];
  const std::uint8_t green[4] = {0, 255, 0, 200};  // blue, green, red, alpha
  std::copy_n(green, 4, d.colorBits + ((d.height - 1 - 1) * d.width + 2) * 4);  // (2, 1)
  const wxImage image = imageOf(CreateIcon(grid, deep));
  ASSERT_EQ(image.GetWidth(), 24);
  EXPECT_EQ(testing::PixelOf(image, 2, 1), 0x00FF00u);
  EXPECT_EQ((std::pair<int, int>(image.GetAlpha(2, 1), image.GetAlpha(0, 0))), std::pair(200, 0));

  // A 4-bit icon is transparent where its mask is set, opaque elsewhere.
  grid.PrepareResource(flat);
  IconResource& f = grid.resources[ResourceGrid::IndexOf(flat)];
  f.maskBits[(f.height - 1) * 4] = 0x40;  // (1, 0) transparent
  const wxImage flatImage = imageOf(CreateIcon(grid, flat));
  ASSERT_EQ(flatImage.GetWidth(), 16);
  EXPECT_EQ((std::pair<int, int>(flatImage.GetAlpha(0, 0), flatImage.GetAlpha(1, 0))),
            std::pair(255, 0));
  EXPECT_FALSE(CreateIcon(grid, GridSlot(2, 1, 0)).IsOk());  // not present
}

}  // namespace
}  // namespace pictaro
