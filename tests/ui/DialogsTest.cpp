// The small windows opened for real and looked at from inside their modal loops: About and
// Welcome, as the entry opens them (no parent window), and the Test window, whose picture follows
// the icon's size and the slider, whose buttons and tree carry the icon, and whose picture shows
// the icon's own pixels; and the compiled-in cursors and bitmaps the windows show.
#include <gtest/gtest.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/treectrl.h>

#include "resources/ImageResources.h"
#include "resources/ResourceRegistry.h"
#include "ui/WxTestSupport.h"
#include "ui/main/SmallDialogs.h"
#include "ui/views/RasterBitmap.h"
#include "ui/views/ResourceImages.h"
#include "ui/views/TestDialog.h"

namespace pictaro {
namespace {

using namespace test_ids;
using namespace testing;

// The windows whole, opened modally as the entry and the Verify tab open them (no parent
// window): About's and Welcome's texts wherever their lines were broken, the logo, the version
// centred in its box, the bullets; the Test window on an icon made of a resource, which keeps the
// resource's alpha. Esc ends each as its button 1 (Close, OK or Done).
TEST(DialogsTest, TheModalWindowsShowTheirTextsAndPicturesAndEscapeEndsThem) {
  WxSession wx;
  ASSERT_TRUE(wx.IsOk());
  ResourceGrid grid;
  const GridSlot slot(1, 2, 1);  // 24 x 24 32-bit, transparent but for (2, 1)
  grid.PrepareResource(slot);
  IconResource& r = grid.resources[ResourceGrid::IndexOf(slot)];
  const std::uint8_t green[4] = {0, 255, 0, 200};  // blue, green, red, alpha
  std::copy_n(green, 4, r.colorBits + ((r.height - 2) * r.width + 2) * 4);
  std::string titles;
  for (const auto& [show, name] : std::vector<std::pair<std::function<void()>, const char*>>{
           {[] { ShowAboutDialog(nullptr); }, "about"},
           {[] { ShowWelcomeDialog(nullptr); }, "welcome"},
           {[&] { ShowTestDialog(CreateIcon(grid, slot), nullptr); }, "test"}}) {
    DialogScript script({WhileShown([&](wxDialog& dialog) {
      titles += dialog.GetTitle() + (dialog.GetParent() == nullptr ? "|" : " parented|");
      ExpectPicture({Snapshot(dialog)}, name);
      Key(dialog, WXK_ESCAPE);
      return wxID_CANCEL;  // unless Esc ended it
    })});
    show();
    EXPECT_EQ(script.answer, 1) << name;
  }
  EXPECT_EQ(titles, "About Pictaro|Using Pictaro|Pictaro Test|");
}

TEST(DialogsTest, AResourceHiddenOrDamagedGivesNoCursorOrBitmap) {
  EXPECT_TRUE(ResourceCursor(kCursorHand).IsOk() && ResourceCursor(kCursorMove).IsOk());
  ResourceOverride hiddenCursor(kCursorType, kCursorHand, std::nullopt);
  ResourceOverride damagedBitmap(kBitmapType, kBitmapLogo, std::vector<std::uint8_t>(39));
  EXPECT_FALSE(ResourceCursor(kCursorHand).IsOk() || ResourceBitmap(kBitmapLogo).IsOk());
}

TEST(DialogsTest, TheTestWindowShowsTheIconInEachControlAtItsSize) {
  WxSession wx;
  ASSERT_TRUE(wx.IsOk());
  TestDialog* dialog = nullptr;
  auto open = [&dialog](int side) {
    if (dialog != nullptr) dialog->Destroy();
    wxImage red(side, side);  // opaque, but for one blue pixel at (1, 0)
    red.SetRGB(wxRect(0, 0, side, side), 255, 0, 0);
    red.SetRGB(1, 0, 0, 0, 255);
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(red));
    dialog = new TestDialog(icon, nullptr);
    dialog->Show();
    Settle();
  };
  auto shot = [&dialog](int id) { return Snapshot(*dialog->FindWindow(id)); };
  auto slider = [&dialog] { return dynamic_cast<wxSlider*>(dialog->FindWindow(kSlider)); };
  // The picture's size and inner width, the slider's position and the size text.
  auto sizes = [&] {
    const wxWindow& picture = *dialog->FindWindow(kPicture);
    const wxSize size = picture.GetSize();
    return wxString::Format("%dx%d %d %d ", size.x, size.y, picture.GetClientSize().x,
                            slider()->GetValue()) +
           dialog->FindWindow(kSizeText)->GetLabel().utf8_string();
  };
  auto slide = [&](wxEventType type, int position) {
    slider()->SetValue(position);
    wxCommandEvent moved(type, kSlider);
    Send(*slider(), moved);
  };

  // The buttons show the icon's own pixels, one for one, the smallest button too; disabled, and
  // enabled again. A press holds the pointer until the release.
  open(16);
  std::vector<wxImage> parts;
  for (const bool off : {true, false}) {
    Check(*dialog, kDisableButtons, off);
    for (int id : {kSmallButton, kMediumButton, kLargeButton}) parts.push_back(shot(id));
  }
  wxWindow& small = *dialog->FindWindow(kSmallButton);
  Mouse(small, wxEVT_LEFT_DOWN);
  EXPECT_TRUE(small.HasCapture());
  Mouse(small, wxEVT_LEFT_UP);
  open(256);
  EXPECT_EQ(sizes(), "256x256 256 256 256 x 256 pixels");
  open(48);
  EXPECT_FALSE(dialog->GetIcons().IsEmpty());
  EXPECT_EQ(sizes(), "48x48 48 48 48 x 48 pixels");
  // At its own size; twice the size, every pixel 2 x 2 with no blend at the edges; at its own
  // size centred on the window's background; and in the tree, twice under "Parent Item".
  auto& tree = dynamic_cast<wxTreeCtrl&>(*dialog->FindWindow(kTree));
  wxTreeItemIdValue cookie;
  tree.SelectItem(tree.GetFirstChild(tree.GetRootItem(), cookie));  // the icon when selected
  // The items in the dialog's font: their letters as tall as a label's, neither with descenders.
  // The tree reported the dialog's font while it drew the system's.
  wxRect item;
  ASSERT_TRUE(tree.GetBoundingRect(tree.GetLastChild(tree.GetRootItem()), item, true));
  const auto dark = [](int r, int g, int b) { return std::max({r, g, b}) < 100; };
  EXPECT_EQ(HeightOf(shot(kTree).GetSubImage(item), dark), HeightOf(shot(kDisableButtons), dark));
  parts.insert(parts.end(), {shot(kPicture), shot(kTree)});
  slide(wxEVT_SLIDER, 96);
  parts.push_back(shot(kPicture));
  Check(*dialog, kCenterImage, true);
  parts.push_back(shot(kPicture));
  ExpectPicture(parts, "test-window");

  // A frame keeps the outer size and takes its room from the inside; the slider sets the size
  // as it moves, down to nothing.
  std::string framed;
  for (auto [id, on] : {std::pair(kClientEdge, true), {kClientEdge, false}, {kStaticEdge, true}}) {
    Check(*dialog, id, on);
    framed += sizes() + "|";
  }
  EXPECT_EQ(framed,
            "96x96 94 96 96 x 96 pixels|96x96 96 96 96 x 96 pixels|96x96 94 96 96 x 96 pixels|");
  slide(wxEVT_SLIDER, 0);
  EXPECT_EQ(sizes(), "0x0 0 0 0 x 0 pixels");
  slide(wxEVT_SCROLL_THUMBTRACK, 100);
  EXPECT_EQ(sizes(), "100x100 98 100 100 x 100 pixels");
  dialog->Destroy();
  Settle();
}

}  // namespace
}  // namespace pictaro
