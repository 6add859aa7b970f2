// The desktop services with the real wx choosers: each modal dialog is played
// from inside its own loop by a script of steps.
#include "ui/main/WxDesktop.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/colordlg.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/uiaction.h>

#include <deque>
#include <fstream>
#include <functional>
#include <optional>

#include "support/TempFolder.h"
#include "ui/WxTestSupport.h"

namespace pictaro {
namespace {

constexpr const char* kIconFilter = "Icon Files (*.ico)|*.ico|All Files (*.*)|*.*||";

// Each modal dialog takes the next step. A step returns the dialog's answer at
// once (the dialog is then never shown) or wxID_NONE after arranging to end it.
// wxFileDialog enters twice (its own ShowModal and wxDialog's): one step serves both.
class DialogScript : public wxModalDialogHook {
 public:
  using Step = std::function<int(wxDialog&)>;
  std::deque<Step> steps;
  int entered = 0;

 protected:
  int Enter(wxDialog* dialog) override {
    if (dialog == open_) {
      ++depth_;
      return wxID_NONE;
    }
    ++entered;
    if (steps.empty()) {
      ADD_FAILURE() << "unexpected dialog " << dialog->GetClassInfo()->GetClassName();
      return wxID_CANCEL;
    }
    const Step step = std::move(steps.front());
    steps.pop_front();
    const int answer = step(*dialog);
    if (answer == wxID_NONE) {
      open_ = dialog;
      depth_ = 1;
    }
    return answer;
  }
  void Exit(wxDialog* dialog) override {
    if (dialog == open_ && --depth_ == 0) open_ = nullptr;
  }

 private:
  wxDialog* open_ = nullptr;
  int depth_ = 0;
};

// A step that lets the dialog open, then ends it with what `act` answers.
DialogScript::Step WhileShown(std::function<int(wxDialog&)> act) {
  return [act](wxDialog& dialog) {
    dialog.CallAfter([act, &dialog] { dialog.EndModal(act(dialog)); });
    return wxID_NONE;
  };
}

void FailOnAssert(const wxString& file, int line, const wxString&, const wxString& cond,
                  const wxString& msg) {
  ADD_FAILURE() << "wx assertion " << cond << " at " << file << ":" << line << " " << msg;
}

class WxDesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wx_.emplace();
    ASSERT_TRUE(wx_->IsOk());
    previousAssert_ = wxSetAssertHandler(FailOnAssert);
    logging_ = wxLog::EnableLogging(true);  // a log message box must show up here
    script.Register();
  }
  void TearDown() override {
    script.Unregister();
    wx_.reset();
    wxSetAssertHandler(previousAssert_);
    wxLog::EnableLogging(logging_);
  }

  DialogScript script;
  WxDesktop desktop;
  testing::TempFolder temp;

 private:
  std::optional<testing::WxSession> wx_;
  bool logging_ = false;
  wxAssertHandler_t previousAssert_ = nullptr;
};

TEST_F(WxDesktopTest, ASaveChooserOpensOnTextThatIsNoFolder) {
  wxString wildcard, name, folder;
  bool shown = false, confirms = false;
  script.steps.push_back(WhileShown([&](wxDialog& dialog) {
    auto* chooser = dynamic_cast<wxFileDialog*>(&dialog);
    if (chooser == nullptr) return wxID_OK;
    shown = chooser->IsShown();
    confirms = chooser->HasFdFlag(wxFD_SAVE) && chooser->HasFdFlag(wxFD_OVERWRITE_PROMPT);
    wildcard = chooser->GetWildcard();
    name = chooser->GetFilename();
    folder = chooser->GetDirectory();
    return wxID_CANCEL;
  }));
  const FileRequest request{true, "ico", "robot.ico", kIconFilter, "%USERPROFILE%\\My Documents"};
  EXPECT_EQ(desktop.ChooseFile(request), std::nullopt);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(confirms);
  EXPECT_EQ(wildcard, "Icon Files (*.ico)|*.ico|All Files (*.*)|*");
  EXPECT_EQ(name, "robot.ico");
  EXPECT_TRUE(wxDirExists(folder)) << folder;
}

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
  script.steps.push_back([&](wxDialog& dialog) {
    auto* chooser = dynamic_cast<wxFileDialog*>(&dialog);
    if (chooser == nullptr) return wxID_CANCEL;
    mustExist = chooser->HasFdFlag(wxFD_OPEN) && chooser->HasFdFlag(wxFD_FILE_MUST_EXIST);
    chooser->CallAfter([&, chooser] {
      chooser->SetPath(wxString::FromUTF8(file));
      selectThenOk(*chooser, 500);
    });
    return wxID_NONE;
  });
  const FileRequest request{false, "ico", "", kIconFilter, temp.Path().string()};
  EXPECT_EQ(desktop.ChooseFile(request), file);
  EXPECT_TRUE(mustExist);
}

TEST_F(WxDesktopTest, ANameCompletedWithTheExtensionIsReplacedOnlyWhenConfirmed) {
  const std::string existing = (temp.Path() / "robot.ico").string();
  std::ofstream(existing) << "icon";
  auto typeRobot = WhileShown([](wxDialog& dialog) {
    static_cast<wxFileDialog&>(dialog).SetFilename("robot");
    return wxID_OK;
  });
  wxString question;
  auto answer = [&](int id) {
    return [&question, id](wxDialog& dialog) {
      question = static_cast<wxMessageDialog&>(dialog).GetMessage();
      return id;
    };
  };
  wxString reopenedWith;
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
  wxColour shownColour;
  bool full = false;
  script.steps.push_back(WhileShown([&](wxDialog& dialog) {
    const wxColourData& data = static_cast<wxColourDialog&>(dialog).GetColourData();
    shownColour = data.GetColour();
    full = data.GetChooseFull();
    return wxID_OK;
  }));
  EXPECT_EQ(desktop.ChooseColor(0x00336699u, custom), 0x00336699u);
  EXPECT_EQ(shownColour, wxColour(0x99, 0x66, 0x33));  // red in the low byte
  EXPECT_TRUE(full);
  EXPECT_EQ(custom, before);

  // Custom colours edited in a cancelled chooser still come back.
  script.steps.push_back(WhileShown([](wxDialog& dialog) {
    static_cast<wxColourDialog&>(dialog).GetColourData().SetCustomColour(3, wxColour(1, 2, 3));
    return wxID_CANCEL;
  }));
  EXPECT_EQ(desktop.ChooseColor(0x00336699u, custom), std::nullopt);
  EXPECT_EQ(custom[3], 0x00030201u);
  EXPECT_EQ(custom[4], before[4]);
}

TEST_F(WxDesktopTest, MessagesKeysAndPagesThatDoNotOpen) {
  long style = 0;
  script.steps.push_back([&](wxDialog& dialog) {
    style = static_cast<wxMessageDialog&>(dialog).GetMessageDialogStyle();
    return wxID_NO;
  });
  EXPECT_EQ(desktop.ShowMessage("Save changes?", kAppTitle, MessageIcon::Question,
                                MessageButtons::YesNoCancel),
            MessageAnswer::No);
  EXPECT_EQ(style & (wxYES_NO | wxCANCEL | wxICON_QUESTION), wxYES_NO | wxCANCEL | wxICON_QUESTION);

  wxUIActionSimulator keyboard;
  keyboard.KeyDown(WXK_SHIFT);
  wxYield();
  EXPECT_TRUE(desktop.ShiftDown());
  EXPECT_FALSE(desktop.ControlDown());
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
