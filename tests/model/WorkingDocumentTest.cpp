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
  std::string In(const std::string& name) const { return (folder.Path() / name).string(); }
  // The questions (each in a Yes/No/Cancel box) and the choosers (each of icon files) shown since
  // the last call, then the working path, the working name, the name shown and how many
  // resources are present and modified; "T" is the folder.
  std::string Seen() {
    std::string seen;
    const auto add = [&seen](const auto&... parts) { (seen.append(parts), ...); };
    for (const testing::ShownMessage& m : desktop.messages) {
      EXPECT_EQ(std::tie(m.caption, m.buttons, m.icon),
                std::make_tuple("Pictaro", MessageButtons::YesNoCancel, MessageIcon::Exclamation));
      add(m.text, " / ");
    }
    for (const FileRequest& r : desktop.fileRequests) {
      EXPECT_EQ(std::tie(r.filter, r.defaultExtension),
                std::make_tuple("Icon Files (*.ico)|*.ico|All Files (*.*)|*.*||", "ico"));
      add(r.save ? "Save As " : "Open ", r.proposedName, " in ", r.initialFolder, " / ");
    }
    desktop.messages.clear();
    desktop.fileRequests.clear();
    add(document.workingPath, ", ", document.workingName, ", ", document.shownName, ", ",
        std::to_string(grid.CountPresent()), std::to_string(grid.AnyModified()));
    const std::string at = folder.Path().string();
    for (std::size_t i; (i = seen.find(at)) != std::string::npos;) seen.replace(i, at.size(), "T");
    // Windows separates with a backslash.
    for (std::size_t i; (i = seen.find("T\\")) != std::string::npos;) seen.replace(i, 2, "T/");
    return seen;
  }

  testing::TempFolder folder;
  ResourceGrid grid;
  testing::RecordingDesktop desktop;
  WorkingDocument document{grid, desktop};
};

TEST_F(WorkingDocumentTest, NewAsksOnlyAboutUnsavedChangesAndChoosersProposeNames) {
  document.workingPath = "/home/user/Documents/robot.ico";
  document.workingName = "robot.ico";
  document.New();  // nothing changed: no question
  EXPECT_EQ(Seen(), "/home/user/Documents/, Untitled.ico, Untitled.ico, 00");

  document.workingName = "robot.ico";
  Change();
  const std::string asked =
      "Save changes to the icon \"robot.ico\" before closing? / /home/user/Documents/, ";
  desktop.answers = {MessageAnswer::Cancel};
  document.New();
  EXPECT_EQ(Seen(), asked + "robot.ico, Untitled.ico, 11");
  desktop.answers = {MessageAnswer::No};  // No saves nothing
  document.New();
  EXPECT_EQ(Seen(), asked + "Untitled.ico, Untitled.ico, 00");
  // A path without any separator leaves an empty folder; on Windows the backslash is one.
  document.workingPath = "%USERPROFILE%\\My Documents";
  document.New();
  EXPECT_EQ(document.workingPath,
            std::filesystem::path::preferred_separator == '\\' ? "%USERPROFILE%\\" : "");

  // The choosers propose names by the document.
  document.workingPath = folder.Path().string();
  document.SaveWorkingFileAs();
  document.Open();
  // Every chooser is cancelled: nothing changes.
  EXPECT_EQ(Seen(), "Save As Untitled.ico in T / Open  in T / T, Untitled.ico, Untitled.ico, 00");
  document.workingName = "robot.ico";
  document.SaveWorkingFileAs();
  document.Open();
  EXPECT_EQ(
      Seen(),
      "Save As Copy of robot.ico in T / Open robot.ico in T / T, robot.ico, Untitled.ico, 00");
  document.workingName = "untitled.ico";  // only the exact name is untitled
  document.Open();
  EXPECT_EQ(Seen(), "Open untitled.ico in T / T, untitled.ico, Untitled.ico, 00");
}

TEST_F(WorkingDocumentTest, SavingGoesOnOnlyWhenWrittenAndAFailedReadLeavesItUntitled) {
  document.workingPath = folder.Path().string();  // a folder: no file of its own
  Change();
  // Yes, then the Save As chooser cancelled: the work is not dropped.
  desktop.answers = {MessageAnswer::Yes};
  EXPECT_FALSE(document.ConfirmDiscard());
  const std::string asked = "Save changes to the icon \"Untitled.ico\" before closing? / ";
  EXPECT_EQ(Seen(), asked + "Save As Untitled.ico in T / T, Untitled.ico, Untitled.ico, 11");
  desktop.answers = {MessageAnswer::Yes};
  desktop.fileAnswers = {In("kept.ico")};
  EXPECT_TRUE(document.ConfirmDiscard());
  EXPECT_TRUE(std::filesystem::exists(In("kept.ico")));
  EXPECT_TRUE(document.ConfirmDiscard());  // nothing unsaved any more: no question
  EXPECT_EQ(Seen(), asked + "Save As Untitled.ico in T / T/kept.ico, kept.ico, kept.ico, 10");
  // Saved again: straight to the file, no chooser, no question.
  Change();
  EXPECT_TRUE(document.Save());
  EXPECT_EQ(Seen(), "T/kept.ico, kept.ico, kept.ico, 10");

  // Open reads the chosen file.
  ASSERT_EQ(grid.WriteIco(In("saved.ico"), desktop), 1);
  grid.Clear();
  desktop.fileAnswers = {In("saved.ico")};
  document.Open();
  EXPECT_EQ(Seen(), "Open kept.ico in T/kept.ico / T/saved.ico, saved.ico, saved.ico, 10");
  // The file vanished before the window opened again: the document is untitled beside it.
  std::filesystem::remove(In("saved.ico"));
  EXPECT_FALSE(document.LoadWorkingFile());
  EXPECT_EQ(Seen(), "T/, Untitled.ico, Untitled.ico, 00");
  // A folder loads nothing, silently, and stays the working folder.
  document.workingPath = folder.Path().string();
  EXPECT_FALSE(document.LoadWorkingFile());
  EXPECT_EQ(Seen(), "T, Untitled.ico, Untitled.ico, 00");
}

}  // namespace
}  // namespace pictaro
