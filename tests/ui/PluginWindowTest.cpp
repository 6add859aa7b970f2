// The plug-in opened through its entry with real wx windows, driven from inside the main
// window's modal loop.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>

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

using testing::Click;

// The real plug-in on the sample layer, whose artwork stands at the standard positions.
class PluginWindowTest : public ::testing::Test {
 protected:
  PluginWindowTest() {
    RecordFirstRun(folder.Path());  // no Welcome in the way
    services.settingsFolder = folder.Path();
    services.applyStep = [this](HostContext& host, Desktop& desktop) {
      ++applySteps;
      DoFilterRect(host, desktop);
    };
    testing::gEntryServices = &services;
  }
  ~PluginWindowTest() override { testing::gEntryServices = nullptr; }

  // Runs the filter; `drive` acts on the open window from inside its loop.
  int16 RunWith(std::function<void(MainDialog&)> drive) {
    ui.SetMainWindowDriver([drive, this](MainDialog& window) {
      window.CallAfter([drive, &window, this] {
        shown = window.GetTitle().utf8_string() + (window.IsShown() ? " shown" : "");
        drive(window);
      });
    });
    return host.RunFilter(testing::EntryUnderTest);
  }

  testing::TempFolder folder;
  WxPluginUi ui;
  EntryServices services{ui, {}, nullptr};
  SubstituteHost host{testing::SampleLayer()};
  int applySteps = 0;
  std::string shown;
};

// Build, Save and Apply in the window: the host gets the selection and the working file in the
// parameter block, and its layer the selected resource as the saved file has it.
TEST_F(PluginWindowTest, BuildSaveApplyWritesTheSavedResourceIntoTheLayer) {
  const std::string saved = (folder.Path() / "robot.ico").string();
  const Layer before = host.GetLayer();
  EXPECT_EQ(RunWith([&](MainDialog& window) {
              // The window paints itself, its buttons with their labels.
              testing::ExpectPicture({testing::Snapshot(*window.FindWindow(kIdApply)),
                                      testing::Snapshot(*window.FindWindow(kIdDone))},
                                     "plugin-buttons");
              Click(window, main_ids::kBuild);
              window.document.workingPath = saved;
              window.document.workingName = "robot.ico";
              Click(window, main_ids::kSave);
              window.currentSlot = GridSlot(1, 2, 1, 2);  // 24 x 24, 32-bit, the mask shown
              Click(window, kIdApply);
            }),
            kNoErr);
  EXPECT_EQ(shown + std::to_string(applySteps), "Pictaro shown1");
  ASSERT_TRUE(host.ParameterHandle() != nullptr);
  const char* block = *host.ParameterHandle();
  std::uint32_t fields[4];
  std::memcpy(fields, block + 4, sizeof fields);
  EXPECT_EQ(GridSlot(fields[0], fields[1], fields[2], fields[3]), GridSlot(1, 2, 1, 2));
  EXPECT_STREQ(block + 24, "robot.ico");
  EXPECT_EQ(block + 280, saved);
  EXPECT_EQ(host.DataCell(), 0);
  EXPECT_EQ(wxTheApp, nullptr);  // wx was cleaned up after the start call

  ResourceGrid file;
  testing::RecordingDesktop quiet;
  ASSERT_EQ(file.ReadIco(saved, quiet), 1);
  EXPECT_EQ(file.CountPresent(), 13);
  // The resource in the middle of the layer; the rest unchanged.
  const IconResource& resource = file.resources[ResourceGrid::IndexOf(GridSlot(1, 2, 1))];
  Layer expected = before;
  const int left = (before.width - 24) / 2, top = (before.height - 24) / 2;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) {
      const ResourcePixel p = PixelAt(resource, x, y);
      const std::uint8_t rgba[4] = {p.red, p.green, p.blue, p.alpha};
      std::copy_n(rgba, 4, expected.At(left + x, top + y));
    }
  }
  EXPECT_TRUE(host.LayerChanged());
  EXPECT_TRUE(host.GetLayer().pixels == expected.pixels);

  // A second run in the same process reopens the saved file.
  EXPECT_EQ(RunWith([&](MainDialog& window) {
              EXPECT_EQ(window.grid.CountPresent(), 13);
              EXPECT_EQ(window.FindWindow(main_ids::kWorkingName)->GetLabel(), "robot.ico");
              Click(window, kIdDone);
            }),
            kUserCanceledErr);
}

TEST_F(PluginWindowTest, DoneEscapeAndTheCloseBoxCancel) {
  // Esc pressed on any control of the window but the pages' is Done. The close box is Done as
  // well; the frame survives until its owner ends it.
  for (const auto& leave : std::vector<std::function<void(MainDialog&)>>{
           [](MainDialog& window) { Click(window, kIdDone); },
           [](MainDialog& window) {
             testing::Key(*window.FindWindow(main_ids::kCycle), WXK_ESCAPE);
           },
           [](MainDialog& window) { window.Close(); }}) {
    shown.clear();
    EXPECT_EQ(RunWith(leave), kUserCanceledErr);
    EXPECT_EQ(shown, "Pictaro shown");
  }
  {
    // A handler that throws ends the run as an error and takes the window with it, also when the
    // process runs wx itself, so that no later message box is parented to a freed frame.
    testing::WxSession hostRunsWx;
    EXPECT_EQ(RunWith([](MainDialog&) { throw std::runtime_error("handler failed"); }), kParamErr);
    EXPECT_TRUE(wxTopLevelWindows.IsEmpty());
  }
  EXPECT_EQ(applySteps, 0);
  EXPECT_FALSE(host.LayerChanged());
  // The options were stored when the window closed; Done stores no selection for the host.
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "Settings"));
  EXPECT_STREQ(host.ParameterHandle() ? *host.ParameterHandle() + 24 : "", "");
  EXPECT_EQ(wxTheApp, nullptr);
}

}  // namespace
}  // namespace pictaro
