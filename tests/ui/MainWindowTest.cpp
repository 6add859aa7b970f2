// The main window built for real on the display, inside a call of the host: its layout,
// painting, selection, colours and menus.
#include "ui/main/MainDialog.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>

#include "model/SettingsRecord.h"
#include "substitute/SubstituteHost.h"
#include "support/FakePluginUi.h"
#include "support/Files.h"
#include "support/SampleLayer.h"
#include "support/TempFolder.h"
#include "ui/WxTestSupport.h"
#include "ui/main/GridPanel.h"
#include "ui/views/DialogBuilder.h"

namespace pictaro {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  explicit MainWindowTest(Layer layer = Layer{64, 48, 4,
                                              std::vector<std::uint8_t>(64 * 48 * 4, 0x80)})
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

  static void Click(MainDialog& window, int id) {
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(window.FindWindow(id));
    window.FindWindow(id)->ProcessWindowEvent(click);
  }

  testing::WxSession wx;
  SubstituteHost host;
  testing::RecordingDesktop desktop;
  testing::TempFolder settings;
};

// The ids of the radios that are checked, in creation order.
std::vector<int> CheckedRadios(wxWindow& window) {
  std::vector<int> checked;
  for (int id : {1031, 1032, 1033, 1034, 1043, 1037, 1036, 1035, 1040, 1039}) {
    auto* radio = dynamic_cast<wxRadioButton*>(window.FindWindow(id));
    if (radio != nullptr && radio->GetValue()) checked.push_back(id);
  }
  return checked;
}

// The tips that the Build button, the 256x256 cell and the Preview page's Add button carry.
std::string TipsOf(wxWindow& window) {
  std::string tips;
  for (int id : {1000, 1038, 1097}) tips += window.FindWindow(id)->GetToolTipText() + "|";
  return tips;
}
constexpr const char* kAddTip =
    "Update the selected icon resource using the data on the Photoshop layer|";

std::vector<int> SelectedCells(const MainDialog& window) {
  std::vector<int> selected;
  for (GridCell* cell : window.cells) {
    if (cell->GetSelected()) selected.push_back(cell->GetId());
  }
  return selected;
}

TEST_F(MainWindowTest, AFirstStartShowsTheDefaults) {
  wxImage panel;
  std::vector<std::string> tabs;
  std::string label;
  std::vector<int> radios, selected;
  std::vector<std::pair<wxRect, int>> cellRects;
  std::string tips;
  int tab = -1;
  std::vector<int> outside;
  bool minimiseBox = true;
  WithWindow([&](MainDialog& window) {
    // Every control lies wholly inside what shows of its page, and of the window.
    wxWindow* client = window.FindWindow(main_ids::kDone)->GetParent();
    for (wxWindow* area :
         {window.pageTabs->GetPage(0), window.pageTabs->GetPage(1), window.pageTabs->GetPage(2),
          client, client->FindWindow(main_ids::kGridPanel)}) {
      for (wxWindow* control : area->GetChildren()) {
        if (!wxRect(area->GetClientSize()).Contains(control->GetRect()))
          outside.push_back(control->GetId());
      }
    }
    minimiseBox = window.HasFlag(wxMINIMIZE_BOX);
    for (size_t i = 0; i < window.pageTabs->GetPageCount(); ++i) {
      tabs.push_back(window.pageTabs->GetPageText(i).utf8_string());
    }
    tab = window.pageTabs->GetSelection();
    label = window.FindWindow(main_ids::kWorkingName)->GetLabel().utf8_string();
    radios = CheckedRadios(window);
    selected = SelectedCells(window);
    for (GridCell* cell : window.cells) cellRects.emplace_back(cell->GetRect(), cell->GetId());
    tips = TipsOf(window);
    panel = testing::Snapshot(*window.gridPanel);
  });
  EXPECT_EQ(tabs, (std::vector<std::string>{"Preview", "Verify", "Capture"}));
  EXPECT_EQ(tab, 0);
  EXPECT_EQ(outside, std::vector<int>{});
  EXPECT_FALSE(minimiseBox);
  EXPECT_EQ(label, "Untitled.ico");
  EXPECT_EQ(radios, (std::vector<int>{1034, 1037, 1040}));
  EXPECT_EQ(selected, std::vector<int>{1029});  // 48x48 32-bit
  EXPECT_EQ(tips,
            "Build entire grid, all of same size (shift), all of same depth (control)|"
            "256x256 pixels with true color|" +
                std::string(kAddTip));

  // Each cell is its resource's size plus the frame, where the template puts its corner.
  const DialogTemplate& layout = *FindDialogTemplate(kMainDialog);
  for (const auto& [rect, id] : cellRects) {
    const int side = id == 1038             ? 256
                     : (id - 1018) % 4 == 3 ? 48
                     : (id - 1018) % 4 == 2 ? 32
                     : (id - 1018) % 4 == 1 ? 24
                                            : 16;
    EXPECT_EQ(rect.GetSize(), wxSize(side + 6, side + 6)) << id;
    for (const ControlTemplate& c : layout.controls) {
      if (c.id == id) {
        EXPECT_EQ(rect.GetPosition(), DialogRect(c).GetPosition()) << id;
      }
    }
  }

  // The panel: white behind the cells, its shade (191) in the bands, the white line at 430.
  ASSERT_TRUE(panel.IsOk());
  ASSERT_GT(panel.GetHeight(), 440);
  const int x = panel.GetWidth() - 4;
  EXPECT_EQ(testing::PixelOf(panel, x, 34), 0xBFBFBFu);
  EXPECT_EQ(testing::PixelOf(panel, x, 35), 0xFFFFFFu);
  EXPECT_EQ(testing::PixelOf(panel, x, 324), 0xFFFFFFu);
  EXPECT_EQ(testing::PixelOf(panel, x, 325), 0xBFBFBFu);
  EXPECT_EQ(testing::PixelOf(panel, x, 429), 0xBFBFBFu);
  EXPECT_EQ(testing::PixelOf(panel, x, 430), 0xFFFFFFu);
  EXPECT_EQ(testing::PixelOf(panel, x, 431), 0xBFBFBFu);
}

TEST_F(MainWindowTest, ADarkBackgroundLightensTheBandsAndTheirControls) {
  wxImage panel;
  wxRect label, radio;
  std::uint32_t cellBackground = 0;
  WithWindow([&](MainDialog& window) {
    window.BackgroundColors[0] = 0x000000;
    Click(window, main_ids::kCycle);  // from 15 to 0
    cellBackground = window.cells[0]->GetBackgroundColor();
    label = window.FindWindow(main_ids::kWorkingName)->GetRect();
    radio = window.FindWindow(1043)->GetRect();
    panel = testing::Snapshot(*window.gridPanel);
  });
  EXPECT_EQ(cellBackground, 0u);
  ASSERT_TRUE(panel.IsOk());
  EXPECT_EQ(testing::PixelOf(panel, panel.GetWidth() - 4, 20), 0x7F7F7Fu);
  EXPECT_EQ(testing::PixelOf(panel, panel.GetWidth() - 4, 100), 0x000000u);
  // Past the end of its text the label shows the band's colour, and so does the radio's edge.
  EXPECT_EQ(testing::PixelOf(panel, label.GetRight() - 1, label.y + label.height / 2), 0x7F7F7Fu);
  EXPECT_EQ(testing::PixelOf(panel, radio.x + radio.width / 2, radio.y), 0x7F7F7Fu);
}

TEST_F(MainWindowTest, CycleWithShiftGoesBackwards) {
  std::uint32_t color = 0;
  int index = -1;
  WithWindow([&](MainDialog& window) {
    desktop.shift = true;
    Click(window, main_ids::kCycle);
    color = window.backgroundColor;
    index = window.backgroundIndex;
  });
  EXPECT_EQ(color, 0xCCCCCCu);
  EXPECT_EQ(index, 14);
}

TEST_F(MainWindowTest, ACellClickSelectsItsSlotAndKeepsTheViewMode) {
  GridSlot afterSmall, afterLarge;
  std::vector<int> radiosSmall, radiosLarge, selectedSmall, selectedLarge;
  WithWindow([&](MainDialog& window) {
    window.currentSlot.viewMode = 2;
    Click(window, 1018);  // 16x16 4-bit
    afterSmall = window.currentSlot;
    radiosSmall = CheckedRadios(window);
    selectedSmall = SelectedCells(window);
    Click(window, 1038);
    afterLarge = window.currentSlot;
    radiosLarge = CheckedRadios(window);
    selectedLarge = SelectedCells(window);
  });
  EXPECT_EQ(afterSmall, GridSlot(0, 0, 0, 2));
  EXPECT_EQ(radiosSmall, (std::vector<int>{1031, 1035, 1039}));
  EXPECT_EQ(selectedSmall, std::vector<int>{1018});
  EXPECT_EQ(afterLarge, GridSlot(4, 2, 1, 2));
  EXPECT_EQ(radiosLarge, (std::vector<int>{1043, 1037, 1040}));
  EXPECT_EQ(selectedLarge, std::vector<int>{1038});
}

TEST_F(MainWindowTest, EveryMenuItemWithItsStates) {
  // Each drop-down as it opens: label, then c for a check mark and - for a disabled item.
  auto describe = [](MainDialog& window) {
    std::string text;
    wxMenuBar* bar = window.GetMenuBar();
    for (size_t m = 0; m < bar->GetMenuCount(); ++m) {
      wxMenu* menu = bar->GetMenu(m);
      wxMenuEvent open(wxEVT_MENU_OPEN, 0, menu);
      window.ProcessWindowEvent(open);
      text += bar->GetMenuLabel(m).utf8_string() + ":";
      for (wxMenuItem* item : menu->GetMenuItems()) {
        if (item->IsSeparator()) {
          text += " |";
          continue;
        }
        text += ' ' + item->GetItemLabel().utf8_string();
        if (item->IsCheckable() && item->IsChecked()) text += "[c]";
        if (!item->IsEnabled()) text += "[-]";
      }
      text += "\n";
    }
    return text;
  };
  std::string fresh, changed;
  int png = -1;
  WithWindow([&](MainDialog& window) {
    fresh = describe(window);
    for (int id : {menu_ids::kUseCustomTable, menu_ids::kShowToolTips, menu_ids::kPngCompression,
                   menu_ids::kSamePosition}) {
      wxCommandEvent command(wxEVT_MENU, WxMenuId(id));
      window.ProcessWindowEvent(command);
    }
    changed = describe(window);
    png = window.grid.pngCompress;
  });
  EXPECT_EQ(fresh,
            "&File: &New &Open... &Save Save &As...\n"
            "&Options: Show &Tool Tips[c] Set &Background Colors... | &Use Custom Color Table[c] "
            "&Set Custom Color Table... &Generate Custom Color Table Automatically[c] | "
            "Use Same Grid &Position for All Depths Use PNG &Compression on 256x256 Resource\n"
            "&Web: Pictaro &Product Page Pictaro &Support Page | Quillory: &Developer Support "
            "Microsoft: Creating Windows &XP Icons Microsoft: &Vista Icon Development Guidelines "
            "Microsoft: Vista &User Experience Guidelines | &Quillory Home Page\n");
  EXPECT_EQ(changed,
            "&File: &New &Open... &Save Save &As...\n"
            "&Options: Show &Tool Tips Set &Background Colors... | &Use Custom Color Table "
            "&Set Custom Color Table...[-] &Generate Custom Color Table Automatically[c][-] | "
            "Use Same Grid &Position for All Depths[c] Use PNG &Compression on 256x256 "
            "Resource[c]\n"
            "&Web: Pictaro &Product Page Pictaro &Support Page | Quillory: &Developer Support "
            "Microsoft: Creating Windows &XP Icons Microsoft: &Vista Icon Development Guidelines "
            "Microsoft: Vista &User Experience Guidelines | &Quillory Home Page\n");
  EXPECT_EQ(png, 1);
}

// The main window over the sample layer, whose artwork stands at the standard positions.
class SampleWindowTest : public MainWindowTest {
 protected:
  SampleWindowTest() : MainWindowTest(testing::SampleLayer()) {}
};

TEST_F(SampleWindowTest, BuildFillsTheListedSlotsAndKeepsTheSelection) {
  std::vector<int> counts;
  std::vector<int> radios;
  GridSlot after;
  bool askedAfterClear = true;
  std::vector<std::size_t> questions;
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
    after = window.currentSlot;
    radios = CheckedRadios(window);

    // Clear asks nothing afterwards. Delete and Insert, also the number pad's, then Esc, which
    // is Done and asks; none of them acts while a drop-down of the menu bar is open.
    Click(window, main_ids::kClear);
    askedAfterClear = !window.ConfirmDiscard();
    Click(window, main_ids::kBuild);
    desktop.answers = {MessageAnswer::Cancel};
    for (wxEventType menu : {wxEVT_MENU_OPEN, wxEVT_MENU_CLOSE}) {
      wxMenuEvent event(menu, 0, window.GetMenuBar()->GetMenu(1));
      window.ProcessWindowEvent(event);
      for (int key : {WXK_DELETE, WXK_INSERT, WXK_NUMPAD_DELETE, WXK_NUMPAD_INSERT, WXK_ESCAPE}) {
        wxKeyEvent press(wxEVT_CHAR_HOOK);
        press.m_keyCode = key;
        window.FindWindow(main_ids::kApply)->ProcessWindowEvent(press);
        counts.push_back(window.grid.CountPresent());
      }
      questions.push_back(desktop.messages.size());
    }
  });
  EXPECT_EQ(counts, (std::vector<int>{3, 4, 4, 4, 4, 4, 4, 3, 4, 3, 4, 4}));
  EXPECT_EQ(after, GridSlot(3, 1, 0, 1));
  EXPECT_EQ(radios, (std::vector<int>{1034, 1036, 1039}));
  EXPECT_FALSE(askedAfterClear);
  EXPECT_EQ(questions, (std::vector<std::size_t>{0, 1}));
}

TEST_F(SampleWindowTest, OptionsAndTheSavedFileComeBackInTheNextWindow) {
  const std::string saved = (settings.Path() / "robot.ico").string();
  WithWindow([&](MainDialog& window) {
    EXPECT_TRUE(desktop.messages.empty());  // no settings yet: silence
    Click(window, main_ids::kBuild);
    desktop.fileAnswers = {saved};
    Click(window, main_ids::kSave);  // untitled: straight to Save As
    window.SelectByRadio(kSizeRadio24);
    window.currentSlot.viewMode = 2;
    Click(window, main_ids::kCycle);
    for (int id : {menu_ids::kPngCompression, menu_ids::kShowToolTips, menu_ids::kSamePosition,
                   menu_ids::kGenerateTable}) {
      wxCommandEvent command(wxEVT_MENU, WxMenuId(id));
      window.ProcessWindowEvent(command);
    }
    window.layerView->window.gridPositions[3].left = -7;
    window.pageTabs->SetSelection(2);
    EXPECT_EQ(TipsOf(window), "||" + std::string(kAddTip));  // the pages keep theirs
  });
  ASSERT_EQ(std::filesystem::file_size(settings.Path() / "Settings"), 2264u);

  WithWindow([&](MainDialog& window) {
    EXPECT_EQ(window.currentSlot, GridSlot(1, 2, 1, 0));  // the view mode starts as both
    EXPECT_EQ(window.document.workingName, "robot.ico");
    EXPECT_EQ(window.FindWindow(main_ids::kWorkingName)->GetLabel(), "robot.ico");
    EXPECT_EQ(window.grid.CountPresent(), 13);
    EXPECT_FALSE(window.grid.AnyModified());
    EXPECT_EQ(window.backgroundColor, 0xFFA055u);
    EXPECT_EQ(window.cells[0]->GetBackgroundColor(), 0xFFA055u);
    EXPECT_TRUE(window.pngCompression);
    EXPECT_EQ(window.grid.pngCompress, 1);
    EXPECT_EQ(TipsOf(window), "||" + std::string(kAddTip));
    wxCommandEvent tipsOn(wxEVT_MENU, WxMenuId(menu_ids::kShowToolTips));
    window.ProcessWindowEvent(tipsOn);
    EXPECT_EQ(TipsOf(window).substr(0, 12), "Build entire");
    EXPECT_TRUE(window.layerView->window.samePosition);
    EXPECT_FALSE(window.generateTableAutomatically);
    EXPECT_FALSE(window.layerView->window.autoTable);
    EXPECT_EQ(window.layerView->window.gridPositions[3].left, -7);
    EXPECT_EQ(window.pageTabs->GetSelection(), 2);
    EXPECT_EQ(CheckedRadios(window), (std::vector<int>{1032, 1037, 1040}));
  });
}

TEST_F(MainWindowTest, SettingsOfAnotherSizeAreReportedAndTheDefaultsKept) {
  for (const std::size_t size : {2263u, 2265u}) {
    testing::WriteBytes(settings.Path() / "Settings", std::vector<std::uint8_t>(size, 1));
    desktop.messages.clear();
    WithWindow([&](MainDialog& window) {
      EXPECT_EQ(window.currentSlot, GridSlot());
      EXPECT_EQ(window.backgroundColor, 0xFFFFFFu);
      EXPECT_EQ(window.pageTabs->GetSelection(), 0);
    });
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Could not read settings, error was 0 - Success (" +
                                            std::to_string(size) + " bytes of 2264)");
    // Leaving the window stored a valid record in its place.
    EXPECT_EQ(std::filesystem::file_size(settings.Path() / "Settings"), 2264u);
  }
}

TEST_F(MainWindowTest, StoredIndicesOutsideTheirListsStayHarmless) {
  SettingsRecord record;
  record.sizeIndex = 3;
  record.depthIndex = 2;
  record.maskIndex = 1;
  record.backgroundColors = {0x000001, 0x000002, 0x000003, 0x000004, 0x000005, 0x000006,
                             0x000007, 0x000008, 0x000009, 0x00000A, 0x00000B, 0x00000C,
                             0x00000D, 0x00000E, 0x00000F, 0x000010};
  record.backgroundIndex = -5;
  record.tabIndex = 7;
  testing::WriteBytes(settings.Path() / "Settings", EncodeSettings(record));
  WithWindow([&](MainDialog& window) {
    EXPECT_EQ(window.pageTabs->GetSelection(), 2);  // any other index shows Capture
    Click(window, main_ids::kCycle);
    EXPECT_EQ(window.backgroundIndex, 12);
    EXPECT_EQ(window.backgroundColor, 0x00000Du);
  });
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(MainWindowTest, ColorTableFilesAndTheOptionsTheyTurnOff) {
  std::vector<std::uint8_t> act(772, 0);
  act[3] = 0x42;  // entry 1's red
  testing::WriteBytes(settings.Path() / "good.act", act);
  act.resize(767);
  testing::WriteBytes(settings.Path() / "short.act", act);
  WithWindow([&](MainDialog& window) {
    auto command = [&window](int id) {
      wxCommandEvent event(wxEVT_MENU, WxMenuId(id));
      window.ProcessWindowEvent(event);
    };
    desktop.fileAnswers = {(settings.Path() / "good.act").string()};
    command(menu_ids::kSetCustomTable);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(desktop.fileRequests.back().filter,
              "Photoshop Color Tables (*.act)|*.act|All Files (*.*)|*.*||");
    EXPECT_TRUE(window.useCustomTable);
    EXPECT_FALSE(window.generateTableAutomatically);
    EXPECT_EQ(window.customTable[3], 0x42);
    EXPECT_EQ(window.layerView->window.customTable[3], 0x42);

    desktop.fileAnswers = {(settings.Path() / "short.act").string()};
    command(menu_ids::kSetCustomTable);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              "There was a problem reading the color table file: the number of color table "
              "entries is incorrect.");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::None);
    EXPECT_FALSE(window.useCustomTable);
    EXPECT_FALSE(window.layerView->window.useCustomTable);

    desktop.fileAnswers = {(settings.Path() / "missing.act").string()};
    window.useCustomTable = true;
    command(menu_ids::kSetCustomTable);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[1].text, "Can't open color table file");
    EXPECT_FALSE(window.useCustomTable);
  });
}

TEST_F(SampleWindowTest, ThePreviewShowsTheSelectionInItsViewMode) {
  wxImage scaled, mask, grid, empty;
  std::vector<bool> maskChecked;
  GridSlot afterClick;
  WithWindow([&](MainDialog& window) {
    Click(window, main_ids::kBuild);
    Click(window, 1026);  // 16x16 32-bit
    scaled = testing::Snapshot(*window.previewCell);
    wxCommandEvent maskRadio(wxEVT_RADIOBUTTON, kViewRadioMask);
    window.FindWindow(kViewRadioMask)->ProcessWindowEvent(maskRadio);
    Click(window, 1029);  // another cell: the view mode stays
    afterClick = window.currentSlot;
    for (int id : {kViewRadioBoth, kViewRadioData, kViewRadioMask}) {
      maskChecked.push_back(dynamic_cast<wxRadioButton*>(window.FindWindow(id))->GetValue());
    }
    mask = testing::Snapshot(*window.previewCell);
    grid = testing::Snapshot(*window.cells[11]);
    Click(window, 1098);  // Delete on the page
    empty = testing::Snapshot(*window.previewCell);
  });
  ASSERT_TRUE(scaled.IsOk() && mask.IsOk() && grid.IsOk() && empty.IsOk());
  ASSERT_EQ(scaled.GetWidth(), 262);

  // Sixteen times enlarged: every 16 x 16 block of the image area holds one pixel's colour.
  int uniformBlocks = 0;
  std::set<std::uint32_t> blockColors;
  for (int by = 0; by < 16; ++by) {
    for (int bx = 0; bx < 16; ++bx) {
      const std::uint32_t first = testing::PixelOf(scaled, 3 + bx * 16, 3 + by * 16);
      bool same = true;
      for (int k = 0; k < 16; ++k)
        same &= testing::PixelOf(scaled, 3 + bx * 16 + k, 3 + by * 16 + k) == first;
      uniformBlocks += same ? 1 : 0;
      blockColors.insert(first);
    }
  }
  EXPECT_EQ(uniformBlocks, 256);
  EXPECT_GT(blockColors.size(), 2u);

  EXPECT_EQ(afterClick, GridSlot(3, 2, 1, 2));
  EXPECT_EQ(maskChecked, (std::vector<bool>{false, false, true}));
  // The mask is grey everywhere; the grid's own cells keep showing the icon in colour.
  auto grey = [](const wxImage& image, int x, int y) {
    return image.GetRed(x, y) == image.GetGreen(x, y) &&
           image.GetGreen(x, y) == image.GetBlue(x, y);
  };
  bool allGrey = true, anyColor = false;
  for (int y = 3; y < 259; y += 5) {
    for (int x = 3; x < 259; x += 5) allGrey &= grey(mask, x, y);
  }
  for (int y = 3; y < 51; ++y) {
    for (int x = 3; x < 51; ++x) anyColor |= !grey(grid, x, y);
  }
  EXPECT_TRUE(allGrey);
  EXPECT_TRUE(anyColor);

  // An empty selection: the background and the frame only.
  bool allWhite = true;
  for (int y = 3; y < 259; y += 3) {
    for (int x = 3; x < 259; x += 3) allWhite &= testing::PixelOf(empty, x, y) == 0xFFFFFFu;
  }
  EXPECT_TRUE(allWhite);
  EXPECT_EQ(testing::PixelOf(empty, 0, 100), 0xBFBFBFu);
  EXPECT_EQ(testing::PixelOf(empty, 1, 100), 0xFFFFFFu);
}

TEST_F(MainWindowTest, EnterAndEscapeStayInsideThePages) {
  std::vector<int> reachedWindow;
  WithWindow([&](MainDialog& window) {
    window.Bind(wxEVT_CHAR_HOOK, [&reachedWindow](wxKeyEvent& event) {
      reachedWindow.push_back(event.GetKeyCode());
      event.Skip();
    });
    // Keys as the focused control of each page sees them first.
    for (int control : {1082, kViewRadioBoth}) {
      for (int key : {WXK_ESCAPE, WXK_RETURN, WXK_DELETE}) {
        wxKeyEvent press(wxEVT_CHAR_HOOK);
        press.m_keyCode = key;
        window.FindWindow(control)->ProcessWindowEvent(press);
      }
    }
  });
  // Only Delete goes on to the window, where Esc would have meant Done.
  EXPECT_EQ(reachedWindow, (std::vector<int>{WXK_DELETE, WXK_DELETE}));
}

TEST_F(MainWindowTest, TheWebMenuOpensItsPages) {
  std::vector<std::string> opened;
  GridSlot before, after;
  WithWindow([&](MainDialog& window) {
    before = window.currentSlot;
    desktop.urlOpens = false;  // a page that can't be opened changes nothing and says nothing
    for (int id : {menu_ids::kProductPage, menu_ids::kSupportPage, menu_ids::kDeveloperSupport,
                   menu_ids::kXpIcons, menu_ids::kVistaIcons, menu_ids::kVistaExperience,
                   menu_ids::kHomePage}) {
      wxCommandEvent command(wxEVT_MENU, WxMenuId(id));
      window.ProcessWindowEvent(command);
    }
    after = window.currentSlot;
  });
  opened = desktop.openedUrls;
  ASSERT_EQ(opened.size(), 7u);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(before, after);
  // The maker's pages are the documentation installed beside the module.
  for (std::size_t i : {0u, 1u, 2u, 6u}) {
    ASSERT_EQ(opened[i].rfind("file://", 0), 0u) << opened[i];
    EXPECT_TRUE(std::filesystem::is_regular_file(opened[i].substr(7))) << opened[i];
  }
  for (std::size_t i : {3u, 4u, 5u}) {
    EXPECT_EQ(opened[i].rfind("https://learn.microsoft.com/", 0), 0u) << opened[i];
  }
}

TEST_F(SampleWindowTest, TheVerifyTabReportsAndTestsTheSelection) {
  std::string emptyReport, builtReport, pngReport;
  std::vector<std::string> testedTitles;
  testing::DialogInspector inspector(
      [&](wxDialog& dialog) { testedTitles.push_back(dialog.GetTitle().utf8_string()); });
  WithWindow([&](MainDialog& window) {
    auto report = [&window] {
      return dynamic_cast<wxTextCtrl*>(window.FindWindow(1082))->GetValue().utf8_string();
    };
    emptyReport = report();
    Click(window, 1080);  // Test on an empty position: a message, no window
    Click(window, main_ids::kBuild);
    builtReport = report();
    wxCommandEvent png(wxEVT_MENU, WxMenuId(menu_ids::kPngCompression));
    window.ProcessWindowEvent(png);
    const std::string beforeRefresh = report();
    EXPECT_EQ(beforeRefresh, builtReport);  // the flag alone doesn't rebuild the report
    Click(window, 1026);                    // a new selection does
    pngReport = report();
    Click(window, 1080);
  });
  EXPECT_EQ(emptyReport,
            "\u2022 At least one 16x16 resource should be included in the grid. This icon will be "
            "used in favorites menus, window title bars, the taskbar and many other parts of the "
            "Windows user interface.\n\n\u2022 At least one 32x32 resource should be included in "
            "the grid. This icon will be used on the desktop and many other parts of the Windows "
            "user interface.\n\n");
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text,
            "Please select a grid location that contains an icon resource");
  EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(builtReport.find("PNG compression"), std::string::npos);
  EXPECT_EQ(builtReport.rfind("\u2022 The 48x48 pixel, 4-bit resource will cause problems", 0), 0u);
  EXPECT_NE(pngReport.find("will be compressed with PNG compression"), std::string::npos);
  EXPECT_EQ(testedTitles, std::vector<std::string>{"Pictaro Test"});
}

}  // namespace
}  // namespace pictaro
