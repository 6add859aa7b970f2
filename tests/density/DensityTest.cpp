// The windows at the display density that support/at_density.sh starts the test with
// (PICTARO_TEST_DPI: Xft.dpi on the X display, under Wine the prefix's LogPixels):
// every control inside its parent, no two siblings over each other, every text whole, and the
// cells, built from the sample layer, showing their pictures in whole pixels at the factor.
#include <gtest/gtest.h>
#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcscreen.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "hostengine/HostEngine.h"
#include "support/FakePluginUi.h"
#include "support/SampleLayer.h"
#include "support/TempFolder.h"
#include "ui/WxTestSupport.h"
#include "ui/main/MainDialog.h"
#include "ui/main/SmallDialogs.h"
#include "ui/views/DialogBuilder.h"
#include "ui/views/RasterBitmap.h"
#include "ui/views/TestDialog.h"

namespace pictaro {
namespace {

using namespace testing;

int TestDpi() {
  const char* dpi = std::getenv("PICTARO_TEST_DPI");
  return dpi != nullptr ? std::atoi(dpi) : 96;
}

// Whether `control`'s text shows whole: a label's lines, a button's text inside its frame, a
// box's or radio's mark and text.
bool TextFits(wxWindow& control) {
  const wxSize size = control.GetSize();
  int widest = 0, lines = 0;
  for (const wxString& line : wxSplit(control.GetLabel(), '\n', '\0'))
    widest = std::max(widest, control.GetTextExtent(line).x), ++lines;
  if (dynamic_cast<wxStaticText*>(&control) != nullptr)
    return widest <= size.x && lines * control.GetCharHeight() <= size.y;
  if (dynamic_cast<wxButton*>(&control) != nullptr) return widest + 4 <= size.x;
  const bool marked = dynamic_cast<wxCheckBox*>(&control) != nullptr ||
                      dynamic_cast<wxRadioButton*>(&control) != nullptr;
  return !marked || control.GetBestSize().x <= size.x;
}

// The faults of the layout inside `parent`, one line each: a control out of its parent's area,
// a text cut off, two controls over each other (a group box stands around its controls).
std::string Faults(wxWindow& parent, const std::string& where) {
  std::vector<wxWindow*> children;
  for (wxWindow* child : parent.GetChildren())
    if (!child->IsTopLevel() && child->IsShown() && child->GetSize() != wxSize(0, 0))
      children.push_back(child);
  // The toolkit places a page of tabs where it likes; it must only be no larger than they are.
  const bool tabs = dynamic_cast<wxBookCtrlBase*>(&parent) != nullptr;
  const wxRect area(tabs ? parent.GetSize() : parent.GetClientSize());
  auto name = [&](const wxWindow& c) {
    return where + " / " + wxString(c.GetClassInfo()->GetClassName()).utf8_string() + " \"" +
           c.GetLabel().utf8_string() + "\"";
  };
  std::string faults;
  for (std::size_t i = 0; i < children.size(); ++i) {
    wxWindow& child = *children[i];
    const wxRect rect = tabs ? wxRect(child.GetSize()) : child.GetRect();
    if (!area.Contains(rect)) faults += name(child) + " stands out of its parent\n";
    if (!TextFits(child)) faults += name(child) + ": the text is cut off\n";
    for (std::size_t j = i + 1; j < children.size(); ++j)
      if (dynamic_cast<wxStaticBox*>(&child) == nullptr &&
          dynamic_cast<wxStaticBox*>(children[j]) == nullptr &&
          rect.Intersects(children[j]->GetRect()))
        faults += name(child) + " overlaps " + name(*children[j]) + "\n";
    faults += Faults(child, name(child));
  }
  return faults;
}

// Whether the screen shows the cell's picture with each pixel as a `factor`-square block.
bool ShowsInWholePixels(GridCell& cell, int factor) {
  const wxImage want = Magnified(RasterToImage(cell.Picture(), false), factor);
  const wxImage got = Snapshot(cell);
  return want.GetSize() == got.GetSize() &&
         std::memcmp(want.GetData(), got.GetData(),
                     3 * std::size_t(want.GetWidth()) * want.GetHeight()) == 0;
}

TEST(DensityTest, EveryWindowFitsItsControlsAndTextsAndShowsIconsInWholePixels) {
  WxSession wx;
  ASSERT_TRUE(wx.IsOk());
  const int factor = std::max(1, TestDpi() / 96);
#ifndef __WXGTK__
  ASSERT_EQ(wxScreenDC().GetPPI().y, TestDpi());  // the prefix's LogPixels took
#endif
  EXPECT_EQ(PixelFactor(), factor);

  HostEngine host{SampleLayer()};
  RecordingDesktop desktop;
  TempFolder settings;
  host.RunInside([&](HostContext& context) {
    auto* window = new MainDialog(context, desktop, settings.Path());
    window->Show();
    Settle();
    Click(*window, main_ids::kBuild);
    for (std::size_t page = 0; page < window->pageTabs->GetPageCount(); ++page) {
      window->pageTabs->ChangeSelection(page);
      Settle();
      EXPECT_EQ(Faults(*window, "main"), "") << "page " << page;
    }
    // The screen of a display that dense (2560 x 1600 at 192) holds the whole window.
    EXPECT_TRUE(wxGetClientDisplayRect().Contains(window->GetScreenRect()));
    window->pageTabs->ChangeSelection(0);
    for (int i = 0; i < MainDialog::kCellCount; ++i) {
      const int side = (static_cast<int>(window->slots[i].PixelSize()) + 6) * factor;
      EXPECT_EQ(window->cells[i]->GetClientSize(), wxSize(side, side)) << i;
      EXPECT_TRUE(ShowsInWholePixels(*window->cells[i], factor)) << i;
    }
    EXPECT_TRUE(ShowsInWholePixels(*window->previewCell, factor));
    const DialogScript::Step check = WhileShown([](wxDialog& dialog) {
      EXPECT_EQ(Faults(dialog, dialog.GetTitle().utf8_string()), "");
      return wxID_OK;
    });
    DialogScript script({check, check, check});
    ShowAboutDialog(nullptr);
    ShowWelcomeDialog(nullptr);
    ShowTestDialog(CreateIcon(window->grid, window->currentSlot), window);
    EXPECT_EQ(script.entered, 3);
    window->Destroy();
    Settle();
  });
}

}  // namespace
}  // namespace pictaro
