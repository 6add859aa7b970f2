// The Test window as a real window: the picture follows the icon's size and the slider, the
// buttons and the tree carry the icon, and the picture shows the icon's own pixels.
#include "ui/views/TestDialog.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/treectrl.h>

#include "ui/WxTestSupport.h"

namespace pictaro {
namespace {

using namespace test_ids;
using testing::PixelOf;
using testing::Snapshot;

constexpr std::uint32_t kRed = 0x0000FF;  // 0x00BBGGRR
constexpr std::uint32_t kBlue = 0xFF0000;

// An opaque red icon with one blue pixel at (1, 0).
wxIcon RedIcon(int side) {
  wxImage image(side, side);
  image.SetRGB(wxRect(0, 0, side, side), 255, 0, 0);
  image.SetRGB(1, 0, 0, 0, 255);
  wxIcon icon;
  icon.CopyFromBitmap(wxBitmap(image));
  return icon;
}

// How many pixels of a `side` x `side` block of the shot differ from RedIcon(side), the block
// found by its blue pixel; -1 when there is none.
int PixelsUnlikeRedIcon(const wxImage& shot, int side) {
  for (int y = 0; y < shot.GetHeight(); ++y) {
    for (int x = 1; x < shot.GetWidth(); ++x) {
      if (PixelOf(shot, x, y) != kBlue) continue;
      int unlike = 0;
      for (int v = 0; v < side; ++v) {
        for (int u = 0; u < side; ++u) {
          const bool inside = x - 1 + u < shot.GetWidth() && y + v < shot.GetHeight();
          unlike += !inside || PixelOf(shot, x - 1 + u, y + v) != (u == 1 && v == 0 ? kBlue : kRed);
        }
      }
      return unlike;
    }
  }
  return -1;
}

class TestDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(wx.IsOk()); }
  void TearDown() override {
    if (dialog != nullptr) dialog->Destroy();
    testing::Settle();
  }

  void Open(int side) {
    if (dialog != nullptr) dialog->Destroy();
    dialog = new TestDialog(RedIcon(side), nullptr);
    dialog->Show();
    testing::Settle();
  }
  template <typename T>
  T& Control(int id) {
    return *dynamic_cast<T*>(dialog->FindWindow(id));
  }
  wxWindow& Picture() { return *dialog->FindWindow(kPicture); }
  wxString SizeText() { return Control<wxStaticText>(kSizeText).GetLabel(); }

  void Check(int id, bool on) {
    auto& box = Control<wxCheckBox>(id);
    box.SetValue(on);
    wxCommandEvent click(wxEVT_CHECKBOX, id);
    click.SetInt(on);
    click.SetEventObject(&box);
    box.ProcessWindowEvent(click);
  }
  void Slide(wxEventType type, int position) {
    auto& slider = Control<wxSlider>(kSlider);
    slider.SetValue(position);
    wxCommandEvent moved(type, kSlider);
    moved.SetInt(position);
    moved.SetEventObject(&slider);
    slider.ProcessWindowEvent(moved);
  }

  testing::WxSession wx;
  TestDialog* dialog = nullptr;
};

TEST_F(TestDialogTest, ShowsTheIconInEachControlAtItsSize) {
  Open(48);
  EXPECT_FALSE(dialog->GetIcons().IsEmpty());
  EXPECT_EQ(Picture().GetSize(), wxSize(48, 48));
  EXPECT_EQ(Control<wxSlider>(kSlider).GetValue(), 48);
  EXPECT_EQ(SizeText(), "48 x 48 pixels");
  Slide(wxEVT_SLIDER, 0);
  EXPECT_EQ(Picture().GetSize(), wxSize(0, 0));
  EXPECT_EQ(SizeText(), "0 x 0 pixels");
  Slide(wxEVT_SCROLL_THUMBTRACK, 100);
  EXPECT_EQ(Picture().GetSize(), wxSize(100, 100));
  EXPECT_EQ(SizeText(), "100 x 100 pixels");

  const int buttons[] = {kSmallButton, kMediumButton, kLargeButton};
  Check(kDisableButtons, true);
  for (int id : buttons) EXPECT_FALSE(Control<wxWindow>(id).IsEnabled()) << id;
  Check(kDisableButtons, false);
  for (int id : buttons) EXPECT_TRUE(Control<wxWindow>(id).IsEnabled()) << id;

  auto& tree = Control<wxTreeCtrl>(kTree);
  const wxTreeItemId root = tree.GetRootItem();
  EXPECT_EQ(tree.GetItemText(root), "Parent Item");
  EXPECT_TRUE(tree.IsExpanded(root));
  EXPECT_EQ(tree.GetChildrenCount(root, false), 2u);
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(root, cookie); child.IsOk();
       child = tree.GetNextChild(root, cookie)) {
    EXPECT_EQ(tree.GetItemText(child), "Child Item");
    EXPECT_EQ(tree.GetItemImage(child, wxTreeItemIcon_Normal), 0);
    EXPECT_EQ(tree.GetItemImage(child, wxTreeItemIcon_Selected), 0);
  }

  Open(256);
  EXPECT_EQ(Picture().GetSize(), wxSize(256, 256));
  EXPECT_EQ(Control<wxSlider>(kSlider).GetValue(), 256);
  EXPECT_EQ(SizeText(), "256 x 256 pixels");
}

TEST_F(TestDialogTest, PictureShowsTheIconsPixels) {
  Open(48);
  wxImage shot = Snapshot(Picture());
  EXPECT_EQ(PixelOf(shot, 0, 0), kRed);
  EXPECT_EQ(PixelOf(shot, 1, 0), kBlue);
  EXPECT_EQ(PixelOf(shot, 47, 47), kRed);

  // Twice the size: every pixel becomes 2 x 2, with no blend at the edges.
  Slide(wxEVT_SLIDER, 96);
  shot = Snapshot(Picture());
  ASSERT_EQ(shot.GetWidth(), 96);
  EXPECT_EQ(PixelOf(shot, 1, 0), kRed);
  for (int x : {2, 3}) {
    for (int y : {0, 1}) EXPECT_EQ(PixelOf(shot, x, y), kBlue) << x << ", " << y;
  }
  EXPECT_EQ(PixelOf(shot, 4, 0), kRed);
  EXPECT_EQ(PixelOf(shot, 2, 2), kRed);

  // Centred at its own size: the icon starts at (24, 24), around it the window's background.
  Check(kCenterImage, true);
  shot = Snapshot(Picture());
  EXPECT_EQ(PixelOf(shot, 25, 24), kBlue);
  EXPECT_EQ(PixelOf(shot, 24, 24), kRed);
  EXPECT_NE(PixelOf(shot, 10, 10), kRed);

  // A frame keeps the outer size and takes its room from the inside.
  Check(kClientEdge, true);
  EXPECT_EQ(Picture().GetSize(), wxSize(96, 96));
  EXPECT_LT(Picture().GetClientSize().x, 96);
  Check(kClientEdge, false);
  EXPECT_EQ(Picture().GetClientSize(), wxSize(96, 96));
  Check(kStaticEdge, true);
  EXPECT_LT(Picture().GetClientSize().x, 96);

  // The buttons show the icon's own pixels, one for one, the smallest button too.
  Open(16);
  for (int id : {kSmallButton, kMediumButton, kLargeButton})
    EXPECT_EQ(PixelsUnlikeRedIcon(Snapshot(Control<wxWindow>(id)), 16), 0) << id;
}

TEST_F(TestDialogTest, DoneAndEscapeEndTheModalWindow) {
  for (const bool escape : {false, true}) {
    TestDialog modal(RedIcon(32), nullptr);
    modal.CallAfter([&modal, escape] {
      if (escape) {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = WXK_ESCAPE;
        key.SetEventObject(&modal);
        modal.ProcessWindowEvent(key);
      } else {
        wxWindow* done = modal.FindWindow(kDone);
        wxCommandEvent click(wxEVT_BUTTON, kDone);
        click.SetEventObject(done);
        done->ProcessWindowEvent(click);
      }
    });
    // Whatever happens, the test does not hang in the window.
    modal.CallAfter([&modal] {
      if (modal.IsModal()) modal.EndModal(wxID_CANCEL);
    });
    EXPECT_EQ(modal.ShowModal(), kDone) << (escape ? "Esc" : "Done");
  }
}

}  // namespace
}  // namespace pictaro
