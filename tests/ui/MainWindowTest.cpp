// The main window built for real on the display over the sample layer, whose artwork stands at
// the standard positions, inside a call of the host: its layout, painting, selection, colours,
// menus, keys, options and tabs; and the plug-in opened through its entry with real windows,
// driven from inside the main window's modal loop.
#include "ui/main/MainDialog.h"

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include <cstring>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "host/LayerAccess.h"
#include "host/PluginEntry.h"
#include "hostengine/HostEngine.h"
#include "model/ActFile.h"
#include "model/ResourcePixels.h"
#include "model/SettingsRecord.h"
#include "platform/FirstRun.h"
#include "support/FakePluginUi.h"
#include "support/Files.h"
#include "support/SampleLayer.h"
#include "support/TempFolder.h"
#include "ui/WxTestSupport.h"
#include "ui/main/GridPanel.h"
#include "ui/main/WxPluginUi.h"
#include "ui/views/CapturePage.h"
#include "ui/views/DialogBuilder.h"

namespace pictaro {
namespace {

using namespace testing;

class MainWindowTest : public ::testing::Test {
 protected:
  // Opens the window on the host's layer, runs `body` on it and closes it.
  void WithWindow(const std::function<void(MainDialog&)>& body) {
    ASSERT_TRUE(wx.IsOk());
    host.RunInside([&](HostContext& context) {
      auto* window = new MainDialog(context, desktop, settings.Path());
      window->Show();
      Settle();
      body(*window);
      window->Destroy();
      Settle();
    });
  }

  WxSession wx;
  HostEngine host{SampleLayer()};
  RecordingDesktop desktop;
  TempFolder settings;
};

void Command(wxWindow& window, std::initializer_list<int> ids) {
  for (int id : ids) {
    wxCommandEvent command(wxEVT_MENU, WxMenuId(id));
    window.ProcessWindowEvent(command);
  }
}

// The selection: the slot, the checked radios (those of the size, depth, mask and the Preview
// page's view mode), the highlighted cells and the "Layer" menu's check marks.
std::string SelectionOf(MainDialog& w) {
  using namespace layer_menu_ids;
  std::ostringstream s;
  s << w.currentSlot.sizeIndex << w.currentSlot.depthIndex << w.currentSlot.maskIndex
    << w.currentSlot.viewMode << " |";
  for (int id : {1031, 1032, 1033, 1034, 1043, 1037, 1036, 1035, 1040, 1039, 1045, 1046, 1047})
    if (dynamic_cast<wxRadioButton*>(w.FindWindow(id))->GetValue()) s << ' ' << id;
  s << " |";
  for (GridCell* cell : w.cells)
    if (cell->GetSelected()) s << ' ' << cell->GetId();
  s << " | ";
  std::unique_ptr<wxMenu> menu(w.layerView->CreateLayerMenu());
  for (int id : {k4Bits, k8Bits, k32Bits, k16Pixels, k24Pixels, k32Pixels, k48Pixels, k256Pixels})
    s << menu->IsChecked(WxMenuId(id));
  return s.str();
}

// The document, the colours, the options, the tab, the tips of the Build button, the 256x256
// cell and the Preview page's Add button, and the Options drop-down as it opens: an item with a
// check mark is c (C when disabled), one without . (- when disabled), a separator |.
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
  for (int id : {1000, 1038, 1097}) s << '[' << w.FindWindow(id)->GetToolTipText() << ']';
  wxMenu* menu = w.GetMenuBar()->GetMenu(1);
  wxMenuEvent open(wxEVT_MENU_OPEN, 0, menu), close(wxEVT_MENU_CLOSE);
  w.ProcessWindowEvent(open);
  s << " menu ";
  for (wxMenuItem* item : menu->GetMenuItems()) {
    const bool checked = item->IsCheckable() && item->IsChecked();
    s << (item->IsSeparator() ? '|' : "-C.c"[2 * item->IsEnabled() + checked]);
  }
  w.ProcessWindowEvent(close);
  return s.str();
}

// A record one byte short is reported and the defaults shown; a valid record is stored on
// leaving.
TEST_F(MainWindowTest, AnUnreadableRecordLeavesTheDefaultsAndCellPressesSelect) {
  WriteBytes(settings.Path() / "Settings", std::vector<std::uint8_t>(2263, 1));
  WithWindow([&](MainDialog& window) {
    EXPECT_FALSE(window.HasFlag(wxMINIMIZE_BOX));
    EXPECT_EQ(SelectionOf(window), "3210 | 1034 1037 1040 1045 | 1029 | 00100010");
    EXPECT_EQ(OptionsOf(window),
              "Untitled.ico|Untitled.ico 0 colour ffffff|ffffff png 00 same 0 auto 11 custom 11 "
              "left 22 tab 0 tips [Build entire grid, all of same size (shift), all of same depth "
              "(control)][256x256 pixels with true color][Update the selected icon resource using "
              "the data on the Photoshop layer] menu c.|c.c|..");
    // The window with each page whole under its tab: the cells in their places at their sizes,
    // the bands, the line between the radios and the buttons; black (cycled to from the last
    // colour) lightens the bands and what stands on them.
    std::vector<wxImage> shots;
    for (int page : {1, 2, 0}) {
      window.pageTabs->SetSelection(page);
      shots.push_back(Snapshot(window));
    }
    window.BackgroundColors[0] = 0x000000;
    Click(window, main_ids::kCycle);
    shots.push_back(Snapshot(*window.gridPanel));

    // A press on a cell selects its slot, the view mode kept, and takes the focus. The preview
    // can't be clicked: it leaves the focus where it was and shows no pointing hand, but the
    // window still hears of the press.
    bool heard = false;
    window.previewCell->Bind(wxEVT_BUTTON, [&heard](wxCommandEvent&) { heard = true; });
    window.currentSlot.viewMode = 2;
    Mouse(*window.cells[0], wxEVT_LEFT_DOWN);  // 16x16 4-bit
    EXPECT_EQ(SelectionOf(window), "0002 | 1031 1035 1039 1045 | 1018 | 10010000");
    Mouse(*window.previewCell, wxEVT_LEFT_DOWN);
    Settle();
    EXPECT_TRUE(heard && window.cells[0]->HasFocus() && window.cells[0]->GetCursor().IsOk() &&
                !window.previewCell->GetCursor().IsOk());
    Mouse(*window.cells[12], wxEVT_LEFT_DOWN);
    EXPECT_EQ(SelectionOf(window), "4212 | 1043 1037 1040 1045 | 1038 | 00100001");
    // Clickable and unselected, the stretched preview shows the focus in its frame's middle ring
    // while it has it.
    window.previewCell->SetSelected(0);
    window.previewCell->SetClickable(1);
    for (GridCell* cell : {window.previewCell, window.cells[0]}) {
      Mouse(*cell, wxEVT_LEFT_DOWN);
      shots.push_back(Snapshot(*window.previewCell).GetSubImage(wxRect(0, 0, 3, 200)));
    }
    ExpectPicture(shots, "main-window");
  });
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text,
            "Could not read settings, error was 0 - Success (2263 bytes of 2264)");
  EXPECT_EQ(std::filesystem::file_size(settings.Path() / "Settings"), 2264u);
}

TEST_F(MainWindowTest, MenusShowTheirStatesOpenColorTablesAndWebPagesAndPagesKeepTheirKeys) {
  std::vector<std::uint8_t> act(772, 0);
  act[3] = 0x42;  // entry 1's red
  WriteBytes(settings.Path() / "good.act", act);
  act.resize(767);
  WriteBytes(settings.Path() / "short.act", act);
  std::vector<int> reachedWindow;
  WithWindow([&](MainDialog& window) {
    Command(window, {menu_ids::kUseCustomTable, menu_ids::kShowToolTips, menu_ids::kPngCompression,
                     menu_ids::kSamePosition});
    EXPECT_EQ(OptionsOf(window),
              "Untitled.ico|Untitled.ico 0 colour ffffff|ffffff png 11 same 1 auto 11 custom 00 "
              "left 22 tab 0 tips [][][Update the selected icon resource using the data on the "
              "Photoshop layer] menu ..|.-C|cc");

    desktop.urlOpens = false;  // a page that can't be opened changes nothing and says nothing
    Command(window, {menu_ids::kProductPage, menu_ids::kSupportPage, menu_ids::kDeveloperSupport,
                     menu_ids::kXpIcons, menu_ids::kVistaIcons, menu_ids::kVistaExperience,
                     menu_ids::kHomePage});
    EXPECT_EQ(SelectionOf(window), "3210 | 1034 1037 1040 1045 | 1029 | 00100010");

    // Keys as the focused control of each page sees them first: only Delete goes on to the
    // window, where Esc would have meant Done.
    window.Bind(wxEVT_CHAR_HOOK, [&reachedWindow](wxKeyEvent& event) {
      reachedWindow.push_back(event.GetKeyCode());
      event.Skip();
    });
    for (int control : {1082, kViewRadioBoth}) {
      for (int key : {WXK_ESCAPE, WXK_RETURN, WXK_DELETE}) Key(*window.FindWindow(control), key);
    }

    // 256 x 256 is 32-bit only: 8 bits per pixel from the "Layer" menu selects the 48 x 48 8-bit
    // position, which the window and the view then show; 256 pixels selects 32 bits again.
    Click(window, 1038);
    Command(*window.layerView, {layer_menu_ids::k8Bits});
    EXPECT_EQ(SelectionOf(window), "3100 | 1034 1036 1039 1045 | 1025 | 01000010");
    EXPECT_EQ(host.Record().inRect, window.layerView->window.ViewRect(window.currentSlot));
    Command(*window.layerView, {layer_menu_ids::k256Pixels});
    EXPECT_EQ(SelectionOf(window), "4210 | 1043 1037 1040 1045 | 1038 | 00100001");

    // A colour table read turns the automatic table off; one that can't be read, the custom
    // table as well.
    for (auto [file, options] : {std::pair("good.act", "auto 00 custom 11"),
                                 {"short.act", "auto 00 custom 00"},
                                 {"missing.act", "auto 00 custom 00"}}) {
      window.useCustomTable = true;
      desktop.fileAnswers = {(settings.Path() / file).string()};
      Command(window, {menu_ids::kSetCustomTable});
      EXPECT_NE(OptionsOf(window).find(options), std::string::npos) << file;
    }
    EXPECT_EQ(desktop.fileRequests.back().filter,
              "Photoshop Color Tables (*.act)|*.act|All Files (*.*)|*.*||");
    EXPECT_EQ(window.customTable[3] + window.layerView->window.customTable[3], 2 * 0x42);
  });
  EXPECT_EQ(reachedWindow, (std::vector<int>{WXK_DELETE, WXK_DELETE}));
  std::string kinds;  // the maker's pages are the documentation installed beside the module
  for (const std::string& url : desktop.openedUrls) {
    kinds += url.rfind("https://learn.microsoft.com/", 0) == 0 ? 'm'
             : url.rfind("file://", 0) == 0 && std::filesystem::is_regular_file(url.substr(7))
                 ? 'f'
                 : '?';
  }
  EXPECT_EQ(kinds, "fffmmmf");
  EXPECT_EQ(
      desktop.messages,
      (std::vector<ShownMessage>{
          {kActTooShortMessage, "Pictaro", MessageIcon::None, MessageButtons::Ok},
          {"Can't open color table file", "Pictaro", MessageIcon::None, MessageButtons::Ok}}));
}

TEST_F(MainWindowTest, BuildFillsTheListedSlotsAndKeysActOnlyWithTheMenusClosed) {
  std::vector<int> counts;
  WithWindow([&](MainDialog& window) {
    window.currentSlot.viewMode = 1;
    // Shift: the current size in its three depths; control: 8-bit in the four sizes.
    for (const bool shift : {true, false}) {
      std::tie(desktop.shift, desktop.control) = std::pair(shift, !shift);
      window.grid.Clear();
      Click(window, main_ids::kBuild);
      counts.push_back(window.grid.CountPresent());
      window.SelectByRadio(kDepthRadio8);
    }
    EXPECT_EQ(SelectionOf(window), "3101 | 1034 1036 1039 1045 | 1025 | 01000010");

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

// The options and the saved file come back in the next window; indices out of range stay
// harmless there: any tab but the first two shows Capture, the colours' list wraps both ways.
TEST_F(MainWindowTest, OptionsAndTheSavedFileComeBackInTheNextWindow) {
  WithWindow([&](MainDialog& window) {
    Click(window, main_ids::kBuild);
    desktop.fileAnswers = {(settings.Path() / "robot.ico").string()};
    Click(window, main_ids::kSave);  // untitled: straight to Save As
    window.SelectByRadio(kSizeRadio24);
    window.currentSlot.viewMode = 2;
    Click(window, main_ids::kCycle);
    for (std::uint32_t i = 0; i < 16; ++i) window.BackgroundColors[i] = i + 1;
    window.backgroundIndex = -5;
    Command(window, {menu_ids::kPngCompression, menu_ids::kShowToolTips, menu_ids::kSamePosition,
                     menu_ids::kGenerateTable});
    window.layerView->window.gridPositions[3].left = -7;
    window.pageTabs->SetTabIndex(7);
  });
  WithWindow([&](MainDialog& window) {
    // The view mode: both. The pages keep their tips.
    EXPECT_EQ(SelectionOf(window), "1210 | 1032 1037 1040 1045 | 1027 | 00101000");
    EXPECT_EQ(OptionsOf(window),
              "robot.ico|robot.ico 13 colour ffa055|ffa055 png 11 same 1 auto 00 custom 11 left -7 "
              "tab 2 tips [][][Update the selected icon resource using the data on the Photoshop "
              "layer] menu ..|c..|cc");
    Command(window, {menu_ids::kShowToolTips});
    EXPECT_NE(OptionsOf(window).find("[256x256 pixels with true color]"), std::string::npos);
    Click(window, main_ids::kCycle);
    const std::uint32_t forward = window.backgroundColor;
    desktop.shift = true;  // backwards
    Click(window, main_ids::kCycle);
    EXPECT_EQ(std::tuple(forward, window.backgroundIndex, window.backgroundColor),
              std::tuple(13u, 11, 12u));
  });
  EXPECT_TRUE(desktop.messages.empty());  // no settings at first, then a valid record: silence
}

TEST_F(MainWindowTest, TheVerifyAndPreviewTabsShowTheSelection) {
  DialogScript script({WhileShown([](wxDialog& dialog) { return Click(dialog, 1), wxID_CANCEL; })});
  WithWindow([&](MainDialog& window) {
    auto& box = dynamic_cast<wxTextCtrl&>(*window.FindWindow(1082));
    auto report = [&box] { return box.GetValue().utf8_string(); };
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
    EXPECT_EQ(SelectionOf(window), "3212 | 1034 1037 1040 1047 | 1029 | 00100010");
    const wxImage mask = Snapshot(*window.previewCell), cell = Snapshot(*window.cells[11]);
    Click(window, 1098);  // Delete on the page
    ExpectPicture({scaled, mask, cell, Snapshot(*window.previewCell)}, "main-preview");
  });
  EXPECT_EQ(desktop.messages,
            (std::vector<ShownMessage>{{"Please select a grid location that contains an icon "
                                        "resource",
                                        "Pictaro", MessageIcon::Exclamation, MessageButtons::Ok}}));
  EXPECT_EQ(script.answer, 1);  // Done
}

// The Capture tab: what the layer view paints, and how a drag, the arrow keys and the check
// boxes move the 48 x 48 32-bit grid position.
TEST_F(MainWindowTest, TheCaptureTabPaintsTheLayerAndMovesThePositionOnlyWhenUnlocked) {
  using namespace capture_ids;
  WithWindow([&](MainDialog& window) {
    window.pageTabs->SetSelection(2);
    CapturePage& page = *window.pageTabs->capturePage;
    LayerView& view = *window.layerView;
    auto drag = [&view](wxPoint from, wxPoint to) {
      for (auto [type, at] :
           {std::pair(wxEVT_LEFT_DOWN, from), {wxEVT_MOTION, to}, {wxEVT_LEFT_UP, to}})
        Mouse(view, type, at);
    };
    // The position in the middle, the rest dimmed, beyond the layer the background.
    page.FindWindow(kReset)->SetFocus();
    std::vector<wxImage> shots{Snapshot(view)};

    // Locked, neither a drag nor a key moves it. Unlocked, the picture follows the mouse, so
    // the square moves over the layer the other way, and the view shows the focus in its frame's
    // middle ring; zoomed four times, still one layer pixel per screen pixel. Each arrow moves
    // the picture one pixel its way under the square. Reset goes back.
    const Rect& square = view.window.gridPositions[9];
    std::ostringstream at;
    at << square.top << ',' << square.left << ' ';
    drag({100, 100}, {110, 95});
    Key(page, WXK_LEFT);
    at << square.top << ',' << square.left << ' ';
    Check(page, kUnlock, true);
    drag({100, 100}, {110, 95});
    at << square.top << ',' << square.left << ' ';
    EXPECT_FALSE(view.IsDragging() || view.HasCapture());
    shots.push_back(Snapshot(view));
    Check(page, kZoom, true);
    drag({50, 50}, {46, 53});
    at << square.top << ',' << square.left << ' ';
    shots.push_back(Snapshot(view));
    for (int key : {WXK_LEFT, WXK_UP}) Key(page, key);
    at << square.top << ',' << square.left << ' ';
    for (int key : {WXK_RIGHT, WXK_DOWN, WXK_DOWN}) Key(page, key);
    at << square.top << ',' << square.left << ' ';
    EXPECT_EQ(host.Record().inRect, view.window.ViewRect(GridSlot()));
    Key(page, WXK_SPACE);
    EXPECT_FALSE(view.GetZoom() || dynamic_cast<wxCheckBox*>(page.FindWindow(kZoom))->GetValue());
    Click(page, kReset);
    at << square.top << ',' << square.left << ' ';
    EXPECT_EQ(at.str(), "101,22 101,22 106,12 103,16 104,17 102,16 101,22 ");
    EXPECT_EQ(host.Record().inRect, (Rect{-3, -82, 253, 174}));
    ExpectPicture(shots, "layer-view");
  });
  EXPECT_TRUE(desktop.messages.empty());
}

// The real plug-in on the sample layer, whose artwork stands at the standard positions.
class PluginWindowTest : public ::testing::Test {
 protected:
  PluginWindowTest() {
    RecordFirstRun(folder.Path());  // no Welcome in the way
    gEntryServices = &services;
  }
  ~PluginWindowTest() override { gEntryServices = nullptr; }

  // Runs the filter; `drive` acts on the open window from inside its loop.
  int16 RunWith(std::function<void(MainDialog&)> drive) {
    ui.SetMainWindowDriver([drive, this](MainDialog& window) {
      window.CallAfter([drive, &window, this] {
        shown = window.GetTitle().utf8_string() + (window.IsShown() ? " shown" : "");
        drive(window);
      });
    });
    return host.RunFilter(EntryUnderTest);
  }

  TempFolder folder;
  WxPluginUi ui;
  EntryServices services{ui, folder.Path(), DoFilterRect};
  HostEngine host{SampleLayer()};
  std::string shown;
};

// Build, Save and Apply in the window: the host gets the selection and the working file in the
// parameter block, and its layer the selected resource as the saved file has it.
TEST_F(PluginWindowTest, BuildSaveApplyWritesTheSavedResourceIntoTheLayer) {
  const std::string saved = (folder.Path() / "robot.ico").string();
  const Layer before = host.GetLayer();
  EXPECT_EQ(RunWith([&](MainDialog& window) {
              // The window paints itself, its buttons with their labels.
              ExpectPicture(
                  {Snapshot(*window.FindWindow(kIdApply)), Snapshot(*window.FindWindow(kIdDone))},
                  "plugin-buttons");
              Click(window, main_ids::kBuild);
              window.document.workingPath = saved;
              window.document.workingName = "robot.ico";
              Click(window, main_ids::kSave);
              window.currentSlot = GridSlot(1, 2, 1, 2);  // 24 x 24, 32-bit, the mask shown
              Click(window, kIdApply);
            }),
            kNoErr);
  EXPECT_EQ(shown, "Pictaro shown");
  ASSERT_TRUE(host.ParameterHandle() != nullptr);
  const char* block = *host.ParameterHandle();
  std::uint32_t fields[4];
  std::memcpy(fields, block + 4, sizeof fields);
  EXPECT_EQ(GridSlot(fields[0], fields[1], fields[2], fields[3]), GridSlot(1, 2, 1, 2));
  EXPECT_EQ(std::string(block + 24) + "|" + (block + 280), "robot.ico|" + saved);
  EXPECT_TRUE(host.DataCell() == 0 && wxTheApp == nullptr);  // wx ended after the start call

  ResourceGrid file;
  RecordingDesktop quiet;
  ASSERT_TRUE(file.ReadIco(saved, quiet) == 1 && file.CountPresent() == 13);
  // The resource in the middle of the layer; the rest unchanged.
  const IconResource& resource = file.resources[ResourceGrid::IndexOf(GridSlot(1, 2, 1))];
  Layer expected = before;
  for (int i = 0; i < 24 * 24; ++i) {
    const ResourcePixel p = PixelAt(resource, i % 24, i / 24);
    const std::uint8_t rgba[4] = {p.red, p.green, p.blue, p.alpha};
    std::copy_n(rgba, 4,
                expected.At((before.width - 24) / 2 + i % 24, (before.height - 24) / 2 + i / 24));
  }
  EXPECT_TRUE(host.LayerChanged() && host.GetLayer().pixels == expected.pixels);
}

TEST_F(PluginWindowTest, DoneEscapeAndTheCloseBoxCancel) {
  // Esc pressed on any control of the window but the pages' is Done. The close box is Done as
  // well; the frame survives until its owner ends it.
  for (const auto& leave : std::vector<std::function<void(MainDialog&)>>{
           [](MainDialog& window) { Click(window, kIdDone); },
           [](MainDialog& window) { Key(*window.FindWindow(main_ids::kCycle), WXK_ESCAPE); },
           [](MainDialog& window) { window.Close(); }}) {
    shown.clear();
    EXPECT_EQ(RunWith(leave), kUserCanceledErr);
    EXPECT_EQ(shown, "Pictaro shown");
  }
  {
    // A handler that throws ends the run as an error and takes the window with it, also when the
    // process runs wx itself, so that no later message box is parented to a freed frame.
    WxSession hostRunsWx;
    EXPECT_EQ(RunWith([](MainDialog&) { throw std::runtime_error("handler failed"); }), kParamErr);
    EXPECT_TRUE(wxTopLevelWindows.IsEmpty());
  }
  // The options were stored when the window closed; Done stores no selection for the host.
  EXPECT_TRUE(!host.LayerChanged() && wxTheApp == nullptr &&
              std::filesystem::exists(folder.Path() / "Settings"));
  EXPECT_STREQ(host.ParameterHandle() ? *host.ParameterHandle() + 24 : "", "");
}

}  // namespace
}  // namespace pictaro
