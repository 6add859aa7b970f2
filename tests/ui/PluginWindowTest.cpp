// The plug-in opened through its entry with real wx windows, driven from
// inside the main window's modal loop.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "host/FilterParameters.h"
#include "host/LayerAccess.h"
#include "host/PluginEntry.h"
#include "model/ResourcePixels.h"
#include "platform/FirstRun.h"
#include "substitute/SubstituteHost.h"
#include "support/FakePluginUi.h"
#include "support/SampleLayer.h"
#include "support/TempFolder.h"
#include "ui/WxTestSupport.h"
#include "ui/main/MainDialog.h"
#include "ui/main/WxPluginUi.h"

namespace pictaro {
namespace {

class PluginWindowTest : public ::testing::Test {
 protected:
  explicit PluginWindowTest(Layer layer = Layer{64, 48, 4,
                                                std::vector<std::uint8_t>(64 * 48 * 4, 0x80)})
      : host(std::move(layer)) {
    RecordFirstRun(folder.Path());  // no Welcome in the way
    services.settingsFolder = folder.Path();
    services.applyStep = [this](HostContext&, Desktop&) { ++applySteps; };
    testing::gEntryServices = &services;
  }
  ~PluginWindowTest() override { testing::gEntryServices = nullptr; }

  // Runs the filter; `drive` acts on the open window from inside its loop.
  int16 RunWith(std::function<void(MainDialog&)> drive) {
    ui.SetMainWindowDriver([drive, this](MainDialog& window) {
      window.CallAfter([drive, &window, this] {
        shownTitle = window.GetTitle().utf8_string();
        wasShown = window.IsShown();
        drive(window);
      });
    });
    return host.RunFilter(testing::EntryUnderTest);
  }

  static void Click(MainDialog& window, int id) {
    auto* button = dynamic_cast<wxButton*>(window.FindWindow(id));
    ASSERT_NE(button, nullptr);
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
  }

  testing::TempFolder folder;
  WxPluginUi ui;
  EntryServices services{ui, {}, nullptr};
  SubstituteHost host;
  int applySteps = 0;
  std::string shownTitle;
  bool wasShown = false;
};

TEST_F(PluginWindowTest, ApplyStoresTheSelectionAndSucceeds) {
  std::string buttonLabels;
  const int16 result = RunWith([&](MainDialog& window) {
    window.currentSlot = GridSlot(0, 1, 0, 2);
    window.document.workingName = "robot.ico";
    window.document.workingPath = "/icons/robot.ico";
    for (int id : {kIdApply, kIdDone}) {
      buttonLabels += window.FindWindow(id)->GetLabel().utf8_string() + ";";
    }
    Click(window, kIdApply);
  });
  EXPECT_EQ(result, kNoErr);
  EXPECT_EQ(shownTitle, "Pictaro");
  EXPECT_TRUE(wasShown);
  EXPECT_EQ(buttonLabels, "Apply;Done;");
  EXPECT_EQ(applySteps, 1);
  ASSERT_TRUE(host.ParameterHandle() != nullptr);
  const char* block = *host.ParameterHandle();
  std::uint32_t fields[4];
  std::memcpy(fields, block + 4, sizeof fields);
  EXPECT_EQ(GridSlot(fields[0], fields[1], fields[2], fields[3]), GridSlot(0, 1, 0, 2));
  EXPECT_STREQ(block + 24, "robot.ico");
  EXPECT_STREQ(block + 280, "/icons/robot.ico");
  EXPECT_EQ(host.DataCell(), 0);
  EXPECT_EQ(wxTheApp, nullptr);  // wx was cleaned up after the start call
}

TEST_F(PluginWindowTest, DoneEscapeAndTheCloseBoxCancel) {
  EXPECT_EQ(RunWith([](MainDialog& window) { Click(window, kIdDone); }), kUserCanceledErr);
  EXPECT_TRUE(wasShown);

  // Esc pressed on any control of the window but the pages' is Done.
  EXPECT_EQ(RunWith([](MainDialog& window) {
              wxKeyEvent escape(wxEVT_CHAR_HOOK);
              escape.m_keyCode = WXK_ESCAPE;
              window.FindWindow(main_ids::kCycle)->ProcessWindowEvent(escape);
            }),
            kUserCanceledErr);

  // The close box is Done as well; the frame survives until its owner ends it.
  EXPECT_EQ(RunWith([](MainDialog& window) { window.Close(); }), kUserCanceledErr);
  {
    // A handler that throws ends the run as an error and takes the window with it, also when the
    // process runs wx itself, so that no later message box is parented to a freed frame.
    testing::WxSession hostRunsWx;
    EXPECT_EQ(RunWith([](MainDialog&) { throw std::runtime_error("handler failed"); }), kParamErr);
    EXPECT_TRUE(wxTopLevelWindows.IsEmpty());
  }
  EXPECT_EQ(applySteps, 0);
  EXPECT_FALSE(host.LayerChanged());
  // The options were stored each time the window closed.
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "Settings"));
  // Done stores no selection for the host.
  if (host.ParameterHandle() != nullptr) {
    EXPECT_STREQ(*host.ParameterHandle() + 24, "");
  }
  EXPECT_EQ(wxTheApp, nullptr);
}

TEST_F(PluginWindowTest, TheWindowPaintsItsButtons) {
  wxBitmap shot;
  wxRect apply;
  RunWith([&](MainDialog& window) {
    apply = window.FindWindow(kIdApply)->GetRect();
    window.Update();
    const wxSize size = window.GetClientSize();
    shot.Create(size);
    wxMemoryDC memory(shot);
    wxClientDC screen(&window);
    memory.Blit(0, 0, size.x, size.y, &screen, 0, 0);
    memory.SelectObject(wxNullBitmap);
    Click(window, kIdDone);
  });
  ASSERT_TRUE(shot.IsOk());
  const wxImage image = shot.ConvertToImage();
  // A light window, and inside the Apply button the dark strokes of its label.
  ASSERT_FALSE(apply.IsEmpty());
  auto brightness = [&image](int x, int y) {
    return image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y);
  };
  EXPECT_GT(brightness(image.GetWidth() / 4, image.GetHeight() / 2), 3 * 200);
  int darkPixels = 0;
  for (int y = apply.y; y < apply.GetBottom(); ++y) {
    for (int x = apply.x; x < apply.GetRight(); ++x) {
      if (brightness(x, y) < 3 * 100) ++darkPixels;
    }
  }
  EXPECT_GT(darkPixels, 10);
}

// The real plug-in on the sample layer: Build, Save and Apply in the window, then the host's
// layer holds the selected resource as the saved file has it.
class SamplePluginTest : public PluginWindowTest {
 protected:
  SamplePluginTest() : PluginWindowTest(testing::SampleLayer()) {
    services.applyStep = DoFilterRect;
  }
};

TEST_F(SamplePluginTest, BuildSaveApplyWritesTheSavedResourceIntoTheLayer) {
  const std::string saved = (folder.Path() / "robot.ico").string();
  const Layer before = host.GetLayer();
  EXPECT_EQ(RunWith([&](MainDialog& window) {
              Click(window, 1000);  // Build
              window.document.workingPath = saved;
              window.document.workingName = "robot.ico";
              Click(window, 1050);  // Save
              Click(window, kIdApply);
            }),
            kNoErr);
  ASSERT_TRUE(host.LayerChanged());

  ResourceGrid file;
  testing::RecordingDesktop quiet;
  ASSERT_EQ(file.ReadIco(saved, quiet), 1);
  EXPECT_EQ(file.CountPresent(), 13);
  const GridSlot selected;  // the first start's 48 x 48 32-bit
  const IconResource& resource = file.resources[ResourceGrid::IndexOf(selected)];
  const Layer& after = host.GetLayer();
  const int left = (after.width - 48) / 2;
  const int top = (after.height - 48) / 2;
  int differing = 0, changedOutside = 0;
  for (int y = 0; y < after.height; ++y) {
    for (int x = 0; x < after.width; ++x) {
      const std::uint8_t* pixel = const_cast<Layer&>(after).At(x, y);
      const bool inside = x >= left && x < left + 48 && y >= top && y < top + 48;
      if (!inside) {
        changedOutside += std::memcmp(pixel, const_cast<Layer&>(before).At(x, y), 4) != 0;
        continue;
      }
      const ResourcePixel p = PixelAt(resource, x - left, y - top);
      const std::uint8_t expected[4] = {p.red, p.green, p.blue, p.alpha};
      differing += std::memcmp(pixel, expected, 4) != 0;
    }
  }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(changedOutside, 0);

  // A second run in the same process reopens the saved file.
  int present = 0;
  std::string label;
  EXPECT_EQ(RunWith([&](MainDialog& window) {
              present = window.grid.CountPresent();
              label = window.FindWindow(1096)->GetLabel().utf8_string();
              Click(window, kIdDone);
            }),
            kUserCanceledErr);
  EXPECT_EQ(present, 13);
  EXPECT_EQ(label, "robot.ico");
}

}  // namespace
}  // namespace pictaro
