#include "model/WorkingDocument.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/FakePluginUi.h"
#include "support/TempFolder.h"

namespace pictaro {
namespace {

class WorkingDocumentTest : public ::testing::Test {
 protected:
  // Leaves the grid with one unsaved resource.
  void Change() { grid.PrepareResource(GridSlot(0, 2, 1)); }
  std::string PathOf(const std::string& name) const { return (folder.Path() / name).string(); }
  auto State() const {
    return std::tie(document.workingPath, document.workingName, document.shownName);
  }

  testing::TempFolder folder;
  ResourceGrid grid;
  testing::RecordingDesktop desktop;
  WorkingDocument document{grid, desktop};
};

using Names = std::tuple<std::string, std::string, std::string>;

TEST_F(WorkingDocumentTest, NewAsksOnlyAboutUnsavedChanges) {
  document.workingPath = "/home/user/Documents/robot.ico";
  document.workingName = "robot.ico";
  document.New();  // nothing changed: no question
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(State(), Names("/home/user/Documents/", "Untitled.ico", "Untitled.ico"));

  document.workingName = "robot.ico";
  Change();
  desktop.answers = {MessageAnswer::Cancel};
  document.New();
  ASSERT_EQ(desktop.messages.size(), 1u);
  const auto& m = desktop.messages[0];
  EXPECT_EQ(std::tie(m.text, m.caption, m.buttons, m.icon),
            std::make_tuple("Save changes to the icon \"robot.ico\" before closing?", "Pictaro",
                            MessageButtons::YesNoCancel, MessageIcon::Exclamation));
  EXPECT_EQ(std::make_tuple(grid.AnyModified(), document.workingName),
            std::make_tuple(1, "robot.ico"));

  desktop.answers = {MessageAnswer::No};
  document.New();
  EXPECT_EQ(std::make_tuple(grid.CountPresent(), grid.AnyModified()), std::make_tuple(0, 0));
  EXPECT_TRUE(desktop.fileRequests.empty());  // No saves nothing
  // A path without any separator leaves an empty folder.
  document.workingPath = "%USERPROFILE%\\My Documents";
  document.New();
  EXPECT_EQ(document.workingPath, "");
}

TEST_F(WorkingDocumentTest, ChoosersProposeNamesByTheDocument) {
  document.workingPath = folder.Path().string();
  document.SaveWorkingFileAs();
  document.Open();
  document.workingName = "robot.ico";
  document.SaveWorkingFileAs();
  document.Open();
  document.workingName = "untitled.ico";  // only the exact name is untitled
  document.Open();
  const std::pair<bool, std::string> proposed[] = {{true, "Untitled.ico"},
                                                   {false, ""},
                                                   {true, "Copy of robot.ico"},
                                                   {false, "robot.ico"},
                                                   {false, "untitled.ico"}};
  ASSERT_EQ(desktop.fileRequests.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    const FileRequest& r = desktop.fileRequests[i];
    EXPECT_EQ(std::make_pair(r.save, r.proposedName), proposed[i]) << i;
    EXPECT_EQ(std::tie(r.filter, r.defaultExtension, r.initialFolder),
              std::make_tuple("Icon Files (*.ico)|*.ico|All Files (*.*)|*.*||", "ico",
                              document.workingPath));
  }
  // Every chooser was cancelled: nothing changed.
  EXPECT_EQ(std::make_pair(document.workingPath, document.shownName),
            std::make_pair(folder.Path().string(), std::string("Untitled.ico")));
}

TEST_F(WorkingDocumentTest, SavingGoesOnOnlyWhenWritten) {
  document.workingPath = folder.Path().string();  // a folder: no file of its own
  Change();
  // Yes, then the Save As chooser cancelled: the work is not dropped.
  desktop.answers = {MessageAnswer::Yes};
  EXPECT_FALSE(document.ConfirmDiscard());
  EXPECT_TRUE(grid.AnyModified());

  desktop.answers = {MessageAnswer::Yes};
  desktop.fileAnswers = {PathOf("kept.ico")};
  EXPECT_TRUE(document.ConfirmDiscard());
  EXPECT_FALSE(grid.AnyModified());
  EXPECT_EQ(State(), Names(PathOf("kept.ico"), "kept.ico", "kept.ico"));
  EXPECT_TRUE(std::filesystem::exists(PathOf("kept.ico")));
  EXPECT_TRUE(document.ConfirmDiscard());  // nothing unsaved any more: no question
  EXPECT_EQ(desktop.messages.size(), 2u);

  // Saved again: straight to the file, no chooser, no question.
  Change();
  EXPECT_TRUE(document.Save());
  EXPECT_FALSE(grid.AnyModified());
  EXPECT_EQ(std::make_pair(desktop.fileRequests.size(), desktop.messages.size()),
            std::make_pair(std::size_t{2}, std::size_t{2}));
}

TEST_F(WorkingDocumentTest, OpenReadsTheChosenFileAndAFailedReadLeavesItUntitled) {
  Change();
  ASSERT_EQ(grid.WriteIco(PathOf("saved.ico"), desktop), 1);
  grid.Clear();
  desktop.fileAnswers = {PathOf("saved.ico")};
  document.Open();
  EXPECT_EQ(grid.CountPresent(), 1);
  EXPECT_EQ(State(), Names(PathOf("saved.ico"), "saved.ico", "saved.ico"));

  // The file vanished before the window opened again: the document is untitled beside it.
  std::filesystem::remove(PathOf("saved.ico"));
  EXPECT_FALSE(document.LoadWorkingFile());
  EXPECT_EQ(grid.CountPresent(), 0);
  EXPECT_EQ(State(), Names(folder.Path().string() + "/", "Untitled.ico", "Untitled.ico"));

  // A folder loads nothing, silently, and stays the working folder.
  document.workingPath = folder.Path().string();
  EXPECT_FALSE(document.LoadWorkingFile());
  EXPECT_EQ(document.workingPath, folder.Path().string());
  EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace pictaro
