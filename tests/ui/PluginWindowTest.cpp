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

using namespace testing;

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
  EntryServices services{ui, {}, nullptr};
  SubstituteHost host{SampleLayer()};
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
  EXPECT_EQ(shown + std::to_string(applySteps), "Pictaro shown1");
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

  // A second run in the same process reopens the saved file.
  EXPECT_EQ(RunWith([&](MainDialog& window) {
              EXPECT_EQ(window.FindWindow(main_ids::kWorkingName)->GetLabel() +
                            std::to_string(window.grid.CountPresent()),
                        "robot.ico13");
              Click(window, kIdDone);
            }),
            kUserCanceledErr);
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
  EXPECT_TRUE(applySteps == 0 && !host.LayerChanged() && wxTheApp == nullptr);
  // The options were stored when the window closed; Done stores no selection for the host.
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "Settings"));
  EXPECT_STREQ(host.ParameterHandle() ? *host.ParameterHandle() + 24 : "", "");
}

}  // namespace
}  // namespace pictaro
