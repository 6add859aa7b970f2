// The desktop services with the real wx choosers: each modal dialog is played from inside its
// own loop by a script of steps.
#include "ui/main/WxDesktop.h"

#include <gtest/gtest.h>
#include <wx/colordlg.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/uiaction.h>

#include <fstream>
#include <optional>

#include "support/TempFolder.h"
#include "ui/WxTestSupport.h"

namespace pictaro {
namespace {

using namespace testing;

constexpr const char* kIconFilter = "Icon Files (*.ico)|*.ico|All Files (*.*)|*.*||";

class WxDesktopTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(wx.IsOk()); }

  WxSession wx;
  DialogScript script;
  WxDesktop desktop;
  TempFolder temp;
  const std::string robot = (temp.Path() / "robot.ico").string();
};

TEST_F(WxDesktopTest, AnOpenChooserAnswersTheFullPathOfTheChosenFile) {
  std::ofstream(robot) << "icon";
  script.steps = {WhileShown([&](wxDialog& dialog) {
    auto& chooser = static_cast<wxFileDialog&>(dialog);
    EXPECT_TRUE(chooser.HasFdFlag(wxFD_OPEN) && chooser.HasFdFlag(wxFD_FILE_MUST_EXIST));
    chooser.SetPath(wxString::FromUTF8(robot));
    // GTK selects the file only once it has listed the folder.
    for (int tries = 0; tries < 100 && chooser.GetPath() != robot; ++tries) Settle();
    return wxID_OK;
  })};
  EXPECT_EQ(desktop.ChooseFile({false, "ico", "", kIconFilter, temp.Path().string()}), robot);
}

TEST_F(WxDesktopTest, ASaveChooserConfirmsReplacingANameCompletedWithTheExtension) {
  // On text that is no folder the chooser opens in one that exists. A name typed without the
  // extension that completed names a file asks; No goes back to the chooser with the completed
  // name, Yes answers it.
  wxString seen;
  auto save = [&seen](const char* typed, int answer) {
    return WhileShown([&seen, typed, answer](wxDialog& dialog) {
      auto& chooser = static_cast<wxFileDialog&>(dialog);
      seen << '|' << chooser.IsShown() << chooser.HasFdFlag(wxFD_SAVE)
           << chooser.HasFdFlag(wxFD_OVERWRITE_PROMPT) << wxDirExists(chooser.GetDirectory()) << ' '
           << chooser.GetWildcard() << ' ';
      if (typed == nullptr) seen << chooser.GetFilename();  // proposed, or completed
      if (typed != nullptr) chooser.SetFilename(typed);
      return answer;
    });
  };
  auto question = [&seen](int answer) {
    return [&seen, answer](wxDialog& dialog) {
      seen << '|' << static_cast<wxMessageDialog&>(dialog).GetMessage();
      return answer;
    };
  };
  script.steps = {save(nullptr, wxID_CANCEL)};
  EXPECT_EQ(
      desktop.ChooseFile({true, "ico", "robot.ico", kIconFilter, "%USERPROFILE%\\My Documents"}),
      std::nullopt);
  std::ofstream(robot) << "icon";
  const FileRequest request{true, "ico", "", kIconFilter, temp.Path().string()};
  script.steps = {save("robot", wxID_OK), question(wxID_NO), save(nullptr, wxID_CANCEL)};
  EXPECT_EQ(desktop.ChooseFile(request), std::nullopt);
  script.steps = {save("robot", wxID_OK), question(wxID_YES)};
  EXPECT_EQ(desktop.ChooseFile(request), robot);
  const std::string shown = "|1111 Icon Files (*.ico)|*.ico|All Files (*.*)|* ";
  const std::string asked = "|" + robot + " already exists.\nDo you want to replace it?";
  EXPECT_EQ(seen.utf8_string(),
            shown + "robot.ico" + shown + asked + shown + "robot.ico" + shown + asked);
}

TEST_F(WxDesktopTest, TheColourChooserAnswersTheColourAndKeepsTheCustomColours) {
  CustomColors custom{};
  for (std::size_t i = 0; i < custom.size(); ++i) custom[i] = 0x00010203u * (i + 1);
  const CustomColors before = custom;
  wxString shown;
  script.steps = {
      WhileShown([&](wxDialog& dialog) {
        const wxColourData& data = static_cast<wxColourDialog&>(dialog).GetColourData();
        shown << data.GetColour().GetAsString(wxC2S_HTML_SYNTAX) << data.GetChooseFull();
        return wxID_OK;
      }),
      // Custom colours edited in a cancelled chooser still come back.
      WhileShown([](wxDialog& dialog) {
        static_cast<wxColourDialog&>(dialog).GetColourData().SetCustomColour(15, wxColour(1, 2, 3));
        return wxID_CANCEL;
      })};
  EXPECT_EQ(desktop.ChooseColor(0x00336699u, custom), 0x00336699u);
  EXPECT_TRUE(shown == "#9966331" && custom == before);  // red in the low byte
  EXPECT_EQ(desktop.ChooseColor(0x00336699u, custom), std::nullopt);
  EXPECT_EQ(std::pair(custom[15], custom[14]), std::pair(0x00030201u, before[14]));
}

TEST_F(WxDesktopTest, MessagesKeysAndPagesThatDoNotOpen) {
  script.steps = {[](wxDialog& dialog) {
    const long style = static_cast<wxMessageDialog&>(dialog).GetMessageDialogStyle();
    EXPECT_EQ(style & (wxYES_NO | wxCANCEL | wxICON_QUESTION),
              wxYES_NO | wxCANCEL | wxICON_QUESTION);
    return wxID_NO;
  }};
  EXPECT_EQ(desktop.ShowMessage("Save changes?", kAppTitle, MessageIcon::Question,
                                MessageButtons::YesNoCancel),
            MessageAnswer::No);

  wxUIActionSimulator keyboard;
  keyboard.KeyDown(WXK_SHIFT);
  wxYield();
  EXPECT_TRUE(desktop.ShiftDown() && !desktop.ControlDown());
  keyboard.KeyUp(WXK_SHIFT);
  wxYield();
  EXPECT_FALSE(desktop.ShiftDown());

  // No browser and no such page: no log message box either, now or at idle time.
  desktop.OpenUrl("file:///nonexistent/pictaro/page.html");
  wxLog::FlushActive();
  wxTheApp->ProcessIdle();
  EXPECT_EQ(script.entered, 1);
}

TEST(WxDesktopWithoutWx, NothingIsChosen) {
  ASSERT_EQ(wxTheApp, nullptr);
  WxDesktop desktop;
  CustomColors custom{};
  EXPECT_FALSE(desktop.ChooseFile(FileRequest{}) || desktop.ChooseColor(0, custom) ||
               desktop.ShiftDown() || desktop.ControlDown() || desktop.OpenUrl("about:blank"));
}

}  // namespace
}  // namespace pictaro
