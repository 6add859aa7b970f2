// The main window built for real on the display, inside a call of the host: its layout,
// painting, selection, colours, menus, keys, options and tabs.
#include "ui/main/MainDialog.h"

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <sstream>

#include "model/ActFile.h"
#include "model/SettingsRecord.h"
#include "substitute/SubstituteHost.h"
#include "support/FakePluginUi.h"
#include "support/Files.h"
#include "support/SampleLayer.h"
#include "support/TempFolder.h"
#include "ui/WxTestSupport.h"
#include "ui/main/GridPanel.h"
#include "ui/views/CapturePage.h"
#include "ui/views/DialogBuilder.h"

namespace pictaro {
namespace {

using testing::Click;
using testing::Key;
using testing::Snapshot;

class MainWindowTest : public ::testing::Test {
 protected:
  explicit MainWindowTest(Layer layer = {64, 48, 4, std::vector<std::uint8_t>(64 * 48 * 4, 0x80)})
      : host(std::move(layer)) {}

  // Opens the window on the host's layer, runs `body` on it and closes it.
  void WithWindow(const std::function<void(MainDialog&)>& body) {
    ASSERT_TRUE(wx.IsOk());
    host.RunInside([&](HostContext& context) {
      auto* window = new MainDialog(context, desktop, settings.Path());
      window->Show();
      testing::Settle();
      body(*window);
      window->Destroy();
      testing::Settle();
    });
  }

  testing::WxSession wx;
  SubstituteHost host;
  testing::RecordingDesktop desktop;
  testing::TempFolder settings;
};

void Command(wxWindow& window, std::initializer_list<int> ids) {
  for (int id : ids) {
    wxCommandEvent command(wxEVT_MENU, WxMenuId(id));
    window.ProcessWindowEvent(command);
  }
}

// The selection: the slot, the checked radios (those of the size, depth, mask and the Preview
// page's view mode) and the highlighted cells.
std::string SelectionOf(MainDialog& w) {
  std::ostringstream s;
  s << w.currentSlot.sizeIndex << w.currentSlot.depthIndex << w.currentSlot.maskIndex
    << w.currentSlot.viewMode << " radios";
  for (int id : {1031, 1032, 1033, 1034, 1043, 1037, 1036, 1035, 1040, 1039, 1045, 1046, 1047})
    if (dynamic_cast<wxRadioButton*>(w.FindWindow(id))->GetValue()) s << ' ' << id;
  s << " cells";
  for (GridCell* cell : w.cells)
    if (cell->GetSelected()) s << ' ' << cell->GetId();
  return s.str();
}

// The document, the colours, the options, the tab, and whether the Build button, the 256x256
// cell and the Preview page's Add button have a tip.
std::string OptionsOf(MainDialog& w) {
  const LayerWindow& view = w.layerView->window;
  std::ostringstream s;
  s << w.document.workingName << '|' << w.FindWindow(main_ids::kWorkingName)->GetLabel() << ' '
    << w.grid.CountPresent() << (w.grid.AnyModified() ? "*" : "") << std::hex << " colour "
    << w.backgroundColor << '|' << w.cells[0]->GetBackgroundColor() << std::dec << " png "
    << w.pngCompression << w.grid.pngCompress << " same " << view.samePosition << " auto "
    << w.generateTableAutomatically << view.autoTable << " custom " << w.useCustomTable
    << view.useCustomTable << " left " << view.gridPositions[3].left << " tab "
    << w.pageTabs->GetSelection() << " tips ";
  for (int id : {1000, 1038, 1097}) s << !w.FindWindow(id)->GetToolTipText().empty();
  return s.str();
}

constexpr const char* kFirstSelection = "3210 radios 1034 1037 1040 1045 cells 1029";
constexpr const char* kFirstOptions =
    "Untitled.ico|Untitled.ico 0 colour ffffff|ffffff png 00 same 0 auto 11 custom 11 left 22 "
    "tab 0 tips 111";

TEST_F(MainWindowTest, AFirstStartShowsTheDefaultsAndCellPressesSelect) {
  WithWindow([&](MainDialog& window) {
    // Every control lies wholly inside what shows of its page, and of the window.
    wxWindow* client = window.FindWindow(main_ids::kDone)->GetParent();
    for (wxWindow* area :
         {window.pageTabs->GetPage(0), window.pageTabs->GetPage(1), window.pageTabs->GetPage(2),
          client, window.FindWindow(main_ids::kGridPanel)}) {
      for (wxWindow* control : area->GetChildren())
        EXPECT_TRUE(wxRect(area->GetClientSize()).Contains(control->GetRect())) << control->GetId();
    }
    EXPECT_FALSE(window.HasFlag(wxMINIMIZE_BOX));
    std::string texts;
    for (size_t i = 0; i < window.pageTabs->GetPageCount(); ++i)
      texts += window.pageTabs->GetPageText(i).utf8_string() + "|";
    for (int id : {1000, 1038, 1097}) texts += window.FindWindow(id)->GetToolTipText() + "|";
    EXPECT_EQ(texts,
              "Preview|Verify|Capture|Build entire grid, all of same size (shift), all of same "
              "depth (control)|256x256 pixels with true color|Update the selected icon resource "
              "using the data on the Photoshop layer|");
    EXPECT_EQ(SelectionOf(window), kFirstSelection);
    EXPECT_EQ(OptionsOf(window), kFirstOptions);
    // The cells in their places at their sizes, the bands, the line between the radios and the
    // buttons; black (cycled to from the last colour) lightens the bands and what stands on them.
    const wxImage light = Snapshot(*window.gridPanel);
    window.BackgroundColors[0] = 0x000000;
    Click(window, main_ids::kCycle);
    testing::ExpectPicture({light, Snapshot(*window.gridPanel)}, "main-panel");

    // A press on a cell selects its slot, the view mode kept, and takes the focus. The preview
    // can't be clicked: it leaves the focus where it was and shows no pointing hand, but the
    // window still hears of the press.
    std::vector<int> pressed;
    for (GridCell* cell : {window.cells[0], window.previewCell, window.cells[12]}) {
      cell->Bind(wxEVT_BUTTON, [&pressed](wxCommandEvent& event) {
        pressed.push_back(event.GetId());
        event.Skip();
      });
    }
    auto press = [](wxWindow& cell) {
      wxMouseEvent down(wxEVT_LEFT_DOWN);
      testing::Send(cell, down);
      testing::Settle();
    };
    window.currentSlot.viewMode = 2;
    press(*window.cells[0]);  // 16x16 4-bit
    EXPECT_EQ(SelectionOf(window), "0002 radios 1031 1035 1039 1045 cells 1018");
    press(*window.previewCell);
    EXPECT_TRUE(window.cells[0]->HasFocus());
    EXPECT_TRUE(window.cells[0]->GetCursor().IsOk() && !window.previewCell->GetCursor().IsOk());
    press(*window.cells[12]);
    EXPECT_EQ(SelectionOf(window), "4212 radios 1043 1037 1040 1045 cells 1038");
    EXPECT_EQ(pressed, (std::vector<int>{1018, 1041, 1038}));
    // Clickable and unselected, the stretched preview shows the focus in its frame's middle ring
    // while it has it.
    window.previewCell->SetSelected(0);
    window.previewCell->SetClickable(1);
    std::vector<std::uint32_t> ring;
    for (GridCell* cell : {window.previewCell, window.cells[0]}) {
      press(*cell);
      ring.push_back(testing::PixelOf(Snapshot(*window.previewCell), 1, 100));
    }
    EXPECT_EQ(ring, (std::vector<std::uint32_t>{0x5C5C5C, 0x000000}));
  });
}

TEST_F(MainWindowTest, MenusShowTheirStatesWebPagesOpenAndPagesKeepTheirKeys) {
  // The Options drop-down as it opens: an item with a check mark is c (C when disabled), one
  // without . (- when disabled), a separator |.
  auto options = [](MainDialog& window) {
    wxMenu* menu = window.GetMenuBar()->GetMenu(1);
    wxMenuEvent open(wxEVT_MENU_OPEN, 0, menu), close(wxEVT_MENU_CLOSE);
    window.ProcessWindowEvent(open);
    std::string text;
    for (wxMenuItem* item : menu->GetMenuItems()) {
      const bool checked = item->IsCheckable() && item->IsChecked();
      text += item->IsSeparator() ? '|' : "-C.c"[2 * item->IsEnabled() + checked];
    }
    window.ProcessWindowEvent(close);
    return text;
  };
  std::vector<int> reachedWindow;
  WithWindow([&](MainDialog& window) {
    EXPECT_EQ(options(window), "c.|c.c|..");
    Command(window, {menu_ids::kUseCustomTable, menu_ids::kShowToolTips, menu_ids::kPngCompression,
                     menu_ids::kSamePosition});
    EXPECT_EQ(options(window), "..|.-C|cc");
    EXPECT_EQ(window.grid.pngCompress, 1);

    desktop.urlOpens = false;  // a page that can't be opened changes nothing and says nothing
    Command(window, {menu_ids::kProductPage, menu_ids::kSupportPage, menu_ids::kDeveloperSupport,
                     menu_ids::kXpIcons, menu_ids::kVistaIcons, menu_ids::kVistaExperience,
                     menu_ids::kHomePage});
    EXPECT_EQ(SelectionOf(window), kFirstSelection);

    // Keys as the focused control of each page sees them first: only Delete goes on to the
    // window, where Esc would have meant Done.
    window.Bind(wxEVT_CHAR_HOOK, [&reachedWindow](wxKeyEvent& event) {
      reachedWindow.push_back(event.GetKeyCode());
      event.Skip();
    });
    for (int control : {1082, kViewRadioBoth}) {
      for (int key : {WXK_ESCAPE, WXK_RETURN, WXK_DELETE}) Key(*window.FindWindow(control), key);
    }
  });
  EXPECT_EQ(reachedWindow, (std::vector<int>{WXK_DELETE, WXK_DELETE}));
  // The maker's pages are the documentation installed beside the module.
  std::string kinds;
  for (const std::string& url : desktop.openedUrls) {
    const bool file =
        url.rfind("file://", 0) == 0 && std::filesystem::is_regular_file(url.substr(7));
    kinds += file ? 'f' : url.rfind("https://learn.microsoft.com/", 0) == 0 ? 'm' : '?';
  }
  EXPECT_EQ(kinds, "fffmmmf");
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(MainWindowTest, ARecordOfAnotherSizeIsReportedAndStoredIndicesStayHarmless) {
  // A record one byte short: reported, the defaults kept, a valid record stored on leaving.
  testing::WriteBytes(settings.Path() / "Settings", std::vector<std::uint8_t>(2263, 1));
  WithWindow([&](MainDialog& window) {
    EXPECT_EQ(SelectionOf(window) + OptionsOf(window),
              kFirstSelection + std::string(kFirstOptions));
  });
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text,
            "Could not read settings, error was 0 - Success (2263 bytes of 2264)");
  EXPECT_EQ(std::filesystem::file_size(settings.Path() / "Settings"), 2264u);

  desktop.messages.clear();
  SettingsRecord record;
  std::tie(record.sizeIndex, record.depthIndex, record.maskIndex) = std::tuple(3, 2, 1);
  for (std::uint32_t i = 0; i < 16; ++i) record.backgroundColors[i] = i + 1;
  record.backgroundIndex = -5;
  record.tabIndex = 7;
  testing::WriteBytes(settings.Path() / "Settings", EncodeSettings(record));
  WithWindow([&](MainDialog& window) {
    EXPECT_EQ(window.pageTabs->GetSelection(), 2);  // any other index shows Capture
    Click(window, main_ids::kCycle);                // the list wraps both ways
    EXPECT_EQ(std::pair(window.backgroundIndex, window.backgroundColor), std::pair(12, 13u));
    desktop.shift = true;  // backwards
    Click(window, main_ids::kCycle);
    EXPECT_EQ(std::pair(window.backgroundIndex, window.backgroundColor), std::pair(11, 12u));
  });
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(MainWindowTest, ColorTableFilesAndTheOptionsTheyTurnOff) {
  std::vector<std::uint8_t> act(772, 0);
  act[3] = 0x42;  // entry 1's red
  testing::WriteBytes(settings.Path() / "good.act", act);
  act.resize(767);
  testing::WriteBytes(settings.Path() / "short.act", act);
  const struct {
    const char *file, *message, *options;
  } rows[] = {
      {"good.act", "", "auto 00 custom 11"},
      {"short.act", kActTooShortMessage, "auto 00 custom 00"},
      {"missing.act", "Can't open color table file", "auto 00 custom 00"},
  };
  WithWindow([&](MainDialog& window) {
    for (const auto& row : rows) {
      desktop.messages.clear();
      window.useCustomTable = true;
      desktop.fileAnswers = {(settings.Path() / row.file).string()};
      Command(window, {menu_ids::kSetCustomTable});
      desktop.messages.push_back({"", "", MessageIcon::None, MessageButtons::Ok});  // none: ""
      EXPECT_EQ(desktop.messages[0].text, row.message);
      EXPECT_EQ(desktop.messages[0].icon, MessageIcon::None);
      EXPECT_NE(OptionsOf(window).find(row.options), std::string::npos) << row.file;
    }
    EXPECT_EQ(desktop.fileRequests.back().filter,
              "Photoshop Color Tables (*.act)|*.act|All Files (*.*)|*.*||");
    EXPECT_EQ(window.customTable[3] + window.layerView->window.customTable[3], 2 * 0x42);
  });
}

// The main window over the sample layer, whose artwork stands at the standard positions.
class SampleWindowTest : public MainWindowTest {
 protected:
  SampleWindowTest() : MainWindowTest(testing::SampleLayer()) {}
};

TEST_F(SampleWindowTest, BuildFillsTheListedSlotsAndKeysActOnlyWithTheMenusClosed) {
  std::vector<int> counts;
  WithWindow([&](MainDialog& window) {
    window.currentSlot.viewMode = 1;
    desktop.shift = true;  // the current size in its three depths
    Click(window, main_ids::kBuild);
    counts.push_back(window.grid.CountPresent());
    desktop.shift = false;
    desktop.control = true;  // 8-bit in the four sizes
    window.SelectByRadio(kDepthRadio8);
    window.grid.Clear();
    Click(window, main_ids::kBuild);
    counts.push_back(window.grid.CountPresent());
    EXPECT_EQ(SelectionOf(window), "3101 radios 1034 1036 1039 1045 cells 1025");

    // Clear asks nothing afterwards. Delete and Insert, also the number pad's, then Esc, which
    // is Done and asks; none of them acts while a drop-down of the menu bar is open.
    Click(window, main_ids::kClear);
    EXPECT_TRUE(window.ConfirmDiscard());
    Click(window, main_ids::kBuild);
    desktop.answers = {MessageAnswer::Cancel};
    for (wxEventType menu : {wxEVT_MENU_OPEN, wxEVT_MENU_CLOSE}) {
      wxMenuEvent event(menu, 0, window.GetMenuBar()->GetMenu(1));
      window.ProcessWindowEvent(event);
      for (int key : {WXK_DELETE, WXK_INSERT, WXK_NUMPAD_DELETE, WXK_NUMPAD_INSERT, WXK_ESCAPE}) {
        Key(*window.FindWindow(main_ids::kApply), key);
        counts.push_back(window.grid.CountPresent());
      }
      counts.push_back(static_cast<int>(desktop.messages.size()));
    }
  });
  EXPECT_EQ(counts, (std::vector<int>{3, 4, 4, 4, 4, 4, 4, 0, 3, 4, 3, 4, 4, 1}));
}

TEST_F(SampleWindowTest, OptionsAndTheSavedFileComeBackInTheNextWindow) {
  WithWindow([&](MainDialog& window) {
    Click(window, main_ids::kBuild);
    desktop.fileAnswers = {(settings.Path() / "robot.ico").string()};
    Click(window, main_ids::kSave);  // untitled: straight to Save As
    window.SelectByRadio(kSizeRadio24);
    window.currentSlot.viewMode = 2;
    Click(window, main_ids::kCycle);
    Command(window, {menu_ids::kPngCompression, menu_ids::kShowToolTips, menu_ids::kSamePosition,
                     menu_ids::kGenerateTable});
    window.layerView->window.gridPositions[3].left = -7;
    window.pageTabs->SetSelection(2);
  });
  EXPECT_TRUE(desktop.messages.empty());  // no settings at first: silence
  ASSERT_EQ(std::filesystem::file_size(settings.Path() / "Settings"), 2264u);
  WithWindow([&](MainDialog& window) {
    EXPECT_EQ(SelectionOf(window),
              "1210 radios 1032 1037 1040 1045 cells 1027");  // view mode: both
    // The pages keep their tips.
    EXPECT_EQ(OptionsOf(window),
              "robot.ico|robot.ico 13 colour ffa055|ffa055 png 11 same 1 "
              "auto 00 custom 11 left -7 tab 2 tips 001");
    Command(window, {menu_ids::kShowToolTips});
    EXPECT_EQ(OptionsOf(window).substr(OptionsOf(window).size() - 3), "111");
  });
}

TEST_F(SampleWindowTest, TheVerifyAndPreviewTabsShowTheSelection) {
  std::string title;
  testing::DialogScript script({testing::InspectThenClose(
      [&](wxDialog& dialog) { title = dialog.GetTitle().utf8_string(); })});
  WithWindow([&](MainDialog& window) {
    auto report = [&window] {
      return dynamic_cast<wxTextCtrl*>(window.FindWindow(1082))->GetValue().utf8_string();
    };
    EXPECT_EQ(report().rfind("\u2022 At least one 16x16 resource", 0), 0u);
    EXPECT_NE(report().find("interface.\n\n\u2022 At least one 32x32"), std::string::npos);
    Click(window, 1080);  // Test on an empty position: a message, no window
    Click(window, main_ids::kBuild);
    const std::string built = report();
    EXPECT_EQ(built.rfind("\u2022 The 48x48 pixel, 4-bit resource will cause problems", 0), 0u);
    Command(window, {menu_ids::kPngCompression});
    EXPECT_EQ(report(), built);  // the flag alone doesn't rebuild the report
    Click(window, 1026);         // a new selection does; 16x16 32-bit
    EXPECT_EQ(built.find("PNG compression"), std::string::npos);
    EXPECT_NE(report().find("will be compressed with PNG compression"), std::string::npos);
    Click(window, 1080);

    // The preview shows the selection sixteen times enlarged; the mask of another, the view
    // mode kept, while the grid's own cell shows its colours; then, deleted, nothing.
    const wxImage scaled = Snapshot(*window.previewCell);
    Click(window, kViewRadioMask, wxEVT_RADIOBUTTON);
    Click(window, 1029);
    EXPECT_EQ(SelectionOf(window), "3212 radios 1034 1037 1040 1047 cells 1029");
    const wxImage mask = Snapshot(*window.previewCell), cell = Snapshot(*window.cells[11]);
    Click(window, 1098);  // Delete on the page
    testing::ExpectPicture({scaled, mask, cell, Snapshot(*window.previewCell)}, "main-preview");
  });
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text,
            "Please select a grid location that contains an icon resource");
  EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(title + std::to_string(script.answer), "Pictaro Test1");
}

// A 400 x 400 opaque layer whose pixel (x, y) is red x, green y, blue 255 (wrapping at 256).
Layer Gradient() {
  Layer layer{400, 400, 4, std::vector<std::uint8_t>(400 * 400 * 4, 255)};
  for (int i = 0; i < 400 * 400; ++i)
    layer.pixels[4 * i] = i % 400 & 0xFF, layer.pixels[4 * i + 1] = i / 400 & 0xFF;
  return layer;
}

// The Capture tab over the gradient: what the layer view paints, how a drag, the arrow keys and
// the check boxes move the grid positions, and the "Layer" menu's commands.
class CaptureTabTest : public MainWindowTest {
 protected:
  CaptureTabTest() : MainWindowTest(Gradient()) {}

  void WithPage(const std::function<void(CapturePage&, LayerView&)>& body) {
    WithWindow([&](MainDialog& window) {
      window.pageTabs->SetSelection(2);
      testing::Settle();
      view = window.layerView;
      body(*window.pageTabs->capturePage, *view);
    });
    EXPECT_TRUE(desktop.messages.empty());
  }
  void Drag(int fromX, int fromY, int toX, int toY) {
    for (auto [type, x, y] :
         {std::tuple(wxEVT_LEFT_DOWN, fromX, fromY), std::tuple(wxEVT_MOTION, toX, toY),
          std::tuple(wxEVT_LEFT_UP, toX, toY)}) {
      wxMouseEvent event(type);
      event.SetPosition(wxPoint(x, y));
      event.SetLeftDown(type != wxEVT_LEFT_UP);
      testing::Send(*view, event);
    }
  }
  Rect Position48() const { return view->window.gridPositions[9]; }

  LayerView* view = nullptr;
};

TEST_F(CaptureTabTest, PaintsTheLayerAndMovesThePositionOnlyWhenUnlocked) {
  using namespace capture_ids;
  WithPage([&](CapturePage& page, LayerView& view) {
    // The 48 x 48 32-bit position (22, 101) in the middle, the rest dimmed, beyond the layer the
    // background; zoomed four times; with the focus in the frame's middle ring.
    page.FindWindow(kReset)->SetFocus();
    const wxImage plain = Snapshot(view);
    view.SetZoom(true);
    const wxImage zoomed = Snapshot(view);
    view.SetFocus();
    testing::Settle();
    ASSERT_TRUE(view.HasFocus());
    testing::ExpectPicture({plain, zoomed, Snapshot(view)}, "layer-view");
    view.SetZoom(false);

    // Locked, neither a drag nor a key moves it. Unlocked, the picture follows the mouse, so
    // the square moves over the layer the other way; zoomed, still one layer pixel per screen
    // pixel. Each arrow moves the picture one pixel its way under the square. Reset goes back.
    std::vector<Rect> at{Position48()};
    Drag(100, 100, 110, 95);
    Key(page, WXK_LEFT);
    at.push_back(Position48());
    EXPECT_FALSE(view.IsDragging());
    testing::Check(page, kUnlock, true);
    Drag(100, 100, 110, 95);
    at.push_back(Position48());
    EXPECT_FALSE(view.HasCapture());
    EXPECT_EQ(testing::PixelOf(Snapshot(view), 3 + 104, 3 + 104), 0xFF6A0Cu);  // layer (12, 106)
    testing::Check(page, kZoom, true);
    Drag(50, 50, 46, 53);
    at.push_back(Position48());
    for (int key : {WXK_LEFT, WXK_UP}) Key(page, key);
    at.push_back(Position48());
    for (int key : {WXK_RIGHT, WXK_DOWN, WXK_DOWN}) Key(page, key);
    at.push_back(Position48());
    EXPECT_EQ(host.Record().inRect, view.window.ViewRect(GridSlot()));
    Key(page, WXK_SPACE);
    EXPECT_FALSE(view.GetZoom() || dynamic_cast<wxCheckBox*>(page.FindWindow(kZoom))->GetValue());
    Click(page, kReset);
    at.push_back(Position48());
    EXPECT_EQ(at, (std::vector<Rect>{at[0],
                                     at[0],
                                     {106, 12, 154, 60},
                                     {103, 16, 151, 64},
                                     {104, 17, 152, 65},
                                     {102, 16, 150, 64},
                                     {101, 22, 149, 70}}));
    EXPECT_EQ(host.Record().inRect, (Rect{-3, -82, 253, 174}));
  });
}

TEST_F(CaptureTabTest, LayerMenuChecksTheSelectionAndChangesIt) {
  using namespace layer_menu_ids;
  WithWindow([&](MainDialog& window) {
    const auto checked = [&window] {
      std::unique_ptr<wxMenu> menu(window.layerView->CreateLayerMenu());
      std::string ids;
      for (int id :
           {k4Bits, k8Bits, k32Bits, k16Pixels, k24Pixels, k32Pixels, k48Pixels, k256Pixels})
        ids += menu->IsChecked(WxMenuId(id)) ? '1' : '0';
      return ids;
    };
    Click(window, 1038);
    EXPECT_EQ(checked(), "00100001");
    // 256 x 256 is 32-bit only: 8 bits per pixel selects the 48 x 48 8-bit position, which the
    // window and the view then show.
    Command(*window.layerView, {k8Bits});
    EXPECT_EQ(SelectionOf(window), "3100 radios 1034 1036 1039 1045 cells 1025");
    EXPECT_EQ(host.Record().inRect, window.layerView->window.ViewRect(window.currentSlot));
    EXPECT_EQ(checked(), "01000010");
  });
}

}  // namespace
}  // namespace pictaro
