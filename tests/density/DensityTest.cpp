// The windows at the display density the test is started with (PICTARO_TEST_DPI: Xft.dpi on
// the X display, set here for the run; under Wine the prefix's LogPixels, set by the caller):
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

#include <sstream>

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

#ifdef __WXGTK__
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace pictaro {
namespace {

using namespace testing;

int TestDpi() {
  const char* dpi = std::getenv("PICTARO_TEST_DPI");
  return dpi != nullptr ? std::atoi(dpi) : 96;
}

std::string NameOf(const wxWindow& control) {
  std::ostringstream name;
  name << wxString(control.GetClassInfo()->GetClassName()).utf8_string() << ' ' << control.GetId()
       << " \"" << control.GetLabel().utf8_string() << '"';
  return name.str();
}

// What of `control`'s text is cut off: a one-line text wider than the control, or wrapped
// lines taller than it; for a button, what its frame leaves.
bool TextFits(wxWindow& control) {
  const wxSize size = control.GetSize();
  if (auto* label = dynamic_cast<wxStaticText*>(&control)) {
    const wxArrayString lines = wxSplit(label->GetLabel(), '\n', '\0');
    int widest = 0;
    for (const wxString& line : lines) widest = std::max(widest, label->GetTextExtent(line).x);
    return widest <= size.x && static_cast<int>(lines.size()) * label->GetCharHeight() <= size.y;
  }
  if (dynamic_cast<wxButton*>(&control) != nullptr)
    return control.GetTextExtent(control.GetLabel()).x + 4 <= size.x;
  if (dynamic_cast<wxRadioButton*>(&control) != nullptr ||
      dynamic_cast<wxCheckBox*>(&control) != nullptr)
    return control.GetBestSize().x <= size.x;
  return true;
}

// The faults of the layout inside `parent`, one line each.
void CheckLayout(wxWindow& parent, const std::string& where, std::vector<std::string>& faults) {
  std::vector<wxWindow*> children;
  for (wxWindow* child : parent.GetChildren())
    if (!child->IsTopLevel() && child->IsShown() && child->GetSize() != wxSize(0, 0))
      children.push_back(child);
  // A page of tabs stands under their header, inside their frame.
  auto* tabs = dynamic_cast<wxBookCtrlBase*>(&parent);
  const wxRect area(tabs != nullptr ? parent.GetSize() : parent.GetClientSize());
  for (std::size_t i = 0; i < children.size(); ++i) {
    wxWindow& child = *children[i];
    const std::string name = where + " / " + NameOf(child);
    // The toolkit may place a page anywhere: it is only as large as its tabs.
    const wxRect rect = tabs != nullptr ? wxRect(child.GetSize()) : child.GetRect();
    if (!area.Contains(rect))
      faults.push_back(name + " stands out of its parent's " + std::to_string(area.width) + "x" +
                       std::to_string(area.height));
    if (!TextFits(child)) faults.push_back(name + ": the text is cut off");
    // A group box stands around its controls.
    for (std::size_t j = i + 1; j < children.size(); ++j) {
      if (dynamic_cast<wxStaticBox*>(&child) != nullptr ||
          dynamic_cast<wxStaticBox*>(children[j]) != nullptr)
        continue;
      if (rect.Intersects(children[j]->GetRect()))
        faults.push_back(name + " overlaps " + NameOf(*children[j]));
    }
    CheckLayout(child, name, faults);
  }
}

std::string Faults(wxTopLevelWindow& window) {
  std::vector<std::string> faults;
  CheckLayout(window, window.GetTitle().utf8_string(), faults);
  std::string text;
  for (const std::string& fault : faults) text += fault + "\n";
  return text;
}

// Whether the screen shows `picture` with each pixel as a `factor` x `factor` block.
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
  const int dpi = TestDpi();
  const int factor = std::max(1, dpi / 96);
#ifndef __WXGTK__
  // The prefix's LogPixels is what the program sees.
  ASSERT_EQ(wxScreenDC().GetPPI().y, dpi);
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
      EXPECT_EQ(Faults(*window), "") << "page " << page;
    }
    window->pageTabs->ChangeSelection(0);
    for (int i = 0; i < MainDialog::kCellCount; ++i) {
      GridCell& cell = *window->cells[i];
      const int side = static_cast<int>(window->slots[i].PixelSize()) + 6;
      EXPECT_EQ(cell.GetClientSize(), wxSize(side, side) * factor) << cell.GetId();
      EXPECT_TRUE(ShowsInWholePixels(cell, factor)) << cell.GetId();
    }
    EXPECT_TRUE(ShowsInWholePixels(*window->previewCell, factor));
    window->Destroy();
    Settle();
  });

  wxIcon icon;
  icon.CopyFromBitmap(wxBitmap(wxImage(48, 48)));
  for (const std::function<void()>& show : std::vector<std::function<void()>>{
           [] { ShowAboutDialog(nullptr); }, [] { ShowWelcomeDialog(nullptr); },
           [&] { ShowTestDialog(icon, nullptr); }}) {
    DialogScript script({WhileShown([&](wxDialog& dialog) {
      EXPECT_EQ(Faults(dialog), "");
      return wxID_OK;
    })});
    show();
  }
}

}  // namespace
}  // namespace pictaro

// On X, the display's text density is set for the run and taken away afterwards.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const char* display = std::getenv("DISPLAY");
#ifdef __WXGTK__
  if (display == nullptr || *display == '\0') {
    std::puts("no display: density tests skipped");
    return 77;
  }
  Display* x = XOpenDisplay(nullptr);
  if (x == nullptr) return 77;
  const std::string resources = "Xft.dpi:\t" + std::to_string(pictaro::TestDpi()) + "\n";
  const Atom manager = XInternAtom(x, "RESOURCE_MANAGER", False);
  XChangeProperty(x, DefaultRootWindow(x), manager, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(resources.data()),
                  static_cast<int>(resources.size()));
  XSync(x, False);
  setenv("GSETTINGS_BACKEND", "memory", 1);
  const int status = RUN_ALL_TESTS();
  XDeleteProperty(x, DefaultRootWindow(x), manager);
  XCloseDisplay(x);
  return status;
#else
  (void)display;
  return RUN_ALL_TESTS();
#endif
}
