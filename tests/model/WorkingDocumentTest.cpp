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

  testing::TempFolder folder;
  ResourceGrid grid;
  testing::RecordingDesktop desktop;
  WorkingDocument document{grid, desktop};
};

TEST_F(WorkingDocumentTest, NewAsksOnlyAboutUnsavedChanges) {
  document.workingPath = "/home/user/Documents/robot.ico";
  document.workingName = "robot.ico";
  document.New();  // nothing changed: no question
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(document.workingPath, "/home/user/Documents/");
  EXPECT_EQ(document.workingName, "Untitled.ico");
  EXPECT_EQ(document.shownName, "Untitled.ico");

  document.workingName = "robot.ico";
  Change();
  desktop.answers = {MessageAnswer::Cancel};
  document.New();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Save changes to the icon \"robot.ico\" before closing?");
  EXPECT_EQ(desktop.messages[0].caption, "Pictaro");
  EXPECT_EQ(desktop.messages[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_TRUE(grid.AnyModified());  // Cancel keeps everything
  EXPECT_EQ(document.workingName, "robot.ico");

  desktop.answers = {MessageAnswer::No};
  document.New();
  EXPECT_EQ(grid.CountPresent(), 0);
  EXPECT_FALSE(grid.AnyModified());
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
  ASSERT_EQ(desktop.fileRequests.size(), 5u);
  EXPECT_TRUE(desktop.fileRequests[0].save);
  EXPECT_EQ(desktop.fileRequests[0].proposedName, "Untitled.ico");
  EXPECT_FALSE(desktop.fileRequests[1].save);
  EXPECT_EQ(desktop.fileRequests[1].proposedName, "");
  EXPECT_EQ(desktop.fileRequests[2].proposedName, "Copy of robot.ico");
  EXPECT_EQ(desktop.fileRequests[3].proposedName, "robot.ico");
  EXPECT_EQ(desktop.fileRequests[4].proposedName, "untitled.ico");
  for (const FileRequest& request : desktop.fileRequests) {
    EXPECT_EQ(request.filter, "Icon Files (*.ico)|*.ico|All Files (*.*)|*.*||");
    EXPECT_EQ(request.defaultExtension, "ico");
    EXPECT_EQ(request.initialFolder, folder.Path().string());
  }
  // Every chooser was cancelled: nothing changed.
  EXPECT_EQ(document.workingPath, folder.Path().string());
  EXPECT_EQ(document.shownName, "Untitled.ico");
}

TEST_F(WorkingDocumentTest, SavingAnUntitledDocumentGoesStraightToSaveAs) {
  document.workingPath = folder.Path().string();  // a folder: no file of its own
  Change();
  desktop.fileAnswers = {PathOf("robot.ico")};
  EXPECT_TRUE(document.Save());
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(desktop.fileRequests.size(), 1u);
  EXPECT_EQ(document.workingPath, PathOf("robot.ico"));
  EXPECT_EQ(document.shownName, "robot.ico");
  EXPECT_FALSE(grid.AnyModified());
  EXPECT_TRUE(std::filesystem::exists(PathOf("robot.ico")));

  // Saved again: straight to the file, no chooser.
  Change();
  EXPECT_TRUE(document.Save());
  EXPECT_EQ(desktop.fileRequests.size(), 1u);
}

TEST_F(WorkingDocumentTest, YesSavesAndGoesOnOnlyWhenWritten) {
  document.workingPath = folder.Path().string();
  Change();
  // Yes, then the Save As chooser cancelled: the work is not dropped.
  desktop.answers = {MessageAnswer::Yes};
  EXPECT_FALSE(document.ConfirmDiscard());
  EXPECT_TRUE(grid.AnyModified());

  desktop.answers = {MessageAnswer::Yes};
  desktop.fileAnswers = {PathOf("kept.ico")};
  EXPECT_TRUE(document.ConfirmDiscard());
  EXPECT_FALSE(grid.AnyModified());
  EXPECT_EQ(document.workingName, "kept.ico");
  EXPECT_TRUE(document.ConfirmDiscard());  // nothing unsaved any more: no question
  EXPECT_EQ(desktop.messages.size(), 2u);
}

TEST_F(WorkingDocumentTest, OpenReadsTheChosenFileAndAFailedReadLeavesItUntitled) {
  Change();
  ASSERT_EQ(grid.WriteIco(PathOf("saved.ico"), desktop), 1);
  grid.Clear();
  desktop.fileAnswers = {PathOf("saved.ico")};
  document.Open();
  EXPECT_EQ(grid.CountPresent(), 1);
  EXPECT_EQ(document.workingName, "saved.ico");
  EXPECT_EQ(document.shownName, "saved.ico");

  // The file vanished before the window opened again: the document is untitled beside it.
  std::filesystem::remove(PathOf("saved.ico"));
  EXPECT_FALSE(document.LoadWorkingFile());
  EXPECT_EQ(grid.CountPresent(), 0);
  EXPECT_EQ(document.workingPath, folder.Path().string() + "/");
  EXPECT_EQ(document.workingName, "Untitled.ico");
  EXPECT_EQ(document.shownName, "Untitled.ico");

  // A folder loads nothing, silently, and stays the working folder.
  document.workingPath = folder.Path().string();
  EXPECT_FALSE(document.LoadWorkingFile());
  EXPECT_EQ(document.workingPath, folder.Path().string());
  EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace pictaro
