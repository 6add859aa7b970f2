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

using testing::WhileShown;

constexpr const char* kIconFilter = "Icon Files (*.ico)|*.ico|All Files (*.*)|*.*||";

class WxDesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(wx.IsOk());
    previousAssert = wxSetAssertHandler([](const wxString& file, int line, const wxString&,
                                           const wxString& cond, const wxString& msg) {
      ADD_FAILURE() << "wx assertion " << cond << " at " << file << ":" << line << " " << msg;
    });
    logging = wxLog::EnableLogging(true);  // a log message box must show up here
  }
  void TearDown() override {
    wxSetAssertHandler(previousAssert);
    wxLog::EnableLogging(logging);
  }

  testing::WxSession wx;
  testing::DialogScript script;
  WxDesktop desktop;
  testing::TempFolder temp;
  bool logging = false;
  wxAssertHandler_t previousAssert = nullptr;
};

TEST_F(WxDesktopTest, AnOpenChooserAnswersTheFullPathOfTheChosenFile) {
  const std::string file = (temp.Path() / "robot.ico").string();
  std::ofstream(file) << "icon";
  bool mustExist = false;
  std::function<void(wxFileDialog&, int)> selectThenOk = [&](wxFileDialog& chooser, int tries) {
    // GTK selects the file only once it has listed the folder.
    if (chooser.GetPath() == file || tries == 0) return chooser.EndModal(wxID_OK);
    wxMilliSleep(10);
    chooser.CallAfter([&, tries] { selectThenOk(chooser, tries - 1); });
  };
  script.steps = {[&](wxDialog& dialog) {
    auto& chooser = static_cast<wxFileDialog&>(dialog);
    mustExist = chooser.HasFdFlag(wxFD_OPEN) && chooser.HasFdFlag(wxFD_FILE_MUST_EXIST);
    chooser.CallAfter([&] {
      chooser.SetPath(wxString::FromUTF8(file));
      selectThenOk(chooser, 500);
    });
    return wxID_NONE;
  }};
  EXPECT_EQ(desktop.ChooseFile({false, "ico", "", kIconFilter, temp.Path().string()}), file);
  EXPECT_TRUE(mustExist);
}

TEST_F(WxDesktopTest, ASaveChooserConfirmsReplacingANameCompletedWithTheExtension) {
  // On text that is no folder the chooser opens in one that exists.
  wxString seen, folder;
  script.steps = {WhileShown([&](wxDialog& dialog) {
    auto& chooser = static_cast<wxFileDialog&>(dialog);
    const bool confirms = chooser.HasFdFlag(wxFD_SAVE) && chooser.HasFdFlag(wxFD_OVERWRITE_PROMPT);
    seen << chooser.IsShown() << confirms << ' ' << chooser.GetWildcard() << ' '
         << chooser.GetFilename();
    folder = chooser.GetDirectory();
    return wxID_CANCEL;
  })};
  EXPECT_EQ(
      desktop.ChooseFile({true, "ico", "robot.ico", kIconFilter, "%USERPROFILE%\\My Documents"}),
      std::nullopt);
  EXPECT_EQ(seen, "11 Icon Files (*.ico)|*.ico|All Files (*.*)|* robot.ico");
  EXPECT_TRUE(wxDirExists(folder)) << folder;

  const std::string existing = (temp.Path() / "robot.ico").string();
  std::ofstream(existing) << "icon";
  auto typeRobot = WhileShown([](wxDialog& dialog) {
    static_cast<wxFileDialog&>(dialog).SetFilename("robot");
    return wxID_OK;
  });
  wxString question, reopenedWith;
  auto answer = [&](int id) {
    return [&question, id](wxDialog& dialog) {
      question = static_cast<wxMessageDialog&>(dialog).GetMessage();
      return id;
    };
  };
  const FileRequest request{true, "ico", "", kIconFilter, temp.Path().string()};
  // No: back to the chooser, which now proposes the completed name.
  script.steps = {typeRobot, answer(wxID_NO), [&](wxDialog& dialog) {
                    reopenedWith = static_cast<wxFileDialog&>(dialog).GetFilename();
                    return wxID_CANCEL;
                  }};
  EXPECT_EQ(desktop.ChooseFile(request), std::nullopt);
  EXPECT_EQ(question.utf8_string(), existing + " already exists.\nDo you want to replace it?");
  EXPECT_EQ(reopenedWith, "robot.ico");
  script.steps = {typeRobot, answer(wxID_YES)};
  EXPECT_EQ(desktop.ChooseFile(request), existing);
  EXPECT_TRUE(script.steps.empty());
}

TEST_F(WxDesktopTest, TheColourChooserAnswersTheColourAndKeepsTheCustomColours) {
  CustomColors custom{};
  for (std::size_t i = 0; i < custom.size(); ++i) custom[i] = 0x00010203u * (i + 1);
  const CustomColors before = custom;
  wxColour shown;
  bool full = false;
  script.steps = {WhileShown([&](wxDialog& dialog) {
                    const wxColourData& data = static_cast<wxColourDialog&>(dialog).GetColourData();
                    shown = data.GetColour();
                    full = data.GetChooseFull();
                    return wxID_OK;
                  }),
                  // Custom colours edited in a cancelled chooser still come back.
                  WhileShown([](wxDialog& dialog) {
                    static_cast<wxColourDialog&>(dialog).GetColourData().SetCustomColour(
                        15, wxColour(1, 2, 3));
                    return wxID_CANCEL;
                  })};
  EXPECT_EQ(desktop.ChooseColor(0x00336699u, custom), 0x00336699u);
  EXPECT_EQ(shown, wxColour(0x99, 0x66, 0x33));  // red in the low byte
  EXPECT_TRUE(full);
  EXPECT_EQ(custom, before);
  EXPECT_EQ(desktop.ChooseColor(0x00336699u, custom), std::nullopt);
  EXPECT_EQ(custom[15], 0x00030201u);
  EXPECT_EQ(custom[14], before[14]);
}

TEST_F(WxDesktopTest, MessagesKeysAndPagesThatDoNotOpen) {
  long style = 0;
  script.steps = {[&](wxDialog& dialog) {
    style = static_cast<wxMessageDialog&>(dialog).GetMessageDialogStyle();
    return wxID_NO;
  }};
  EXPECT_EQ(desktop.ShowMessage("Save changes?", kAppTitle, MessageIcon::Question,
                                MessageButtons::YesNoCancel),
            MessageAnswer::No);
  EXPECT_EQ(style & (wxYES_NO | wxCANCEL | wxICON_QUESTION), wxYES_NO | wxCANCEL | wxICON_QUESTION);

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
  EXPECT_EQ(desktop.ChooseFile(FileRequest{}), std::nullopt);
  EXPECT_EQ(desktop.ChooseColor(0, custom), std::nullopt);
  EXPECT_FALSE(desktop.ShiftDown() || desktop.ControlDown() || desktop.OpenUrl("about:blank"));
}

}  // namespace
}  // namespace pictaro
