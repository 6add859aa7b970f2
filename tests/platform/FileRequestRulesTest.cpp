#include "platform/FileRequestRules.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/TempFolder.h"

namespace pictaro {
namespace {

TEST(FileRequestRulesTest, ClassicFiltersBecomeWildcardsThatMatchEveryFile) {
  EXPECT_EQ(ToWildcard("Icon Files (*.ico)|*.ico|All Files (*.*)|*.*||"),
            "Icon Files (*.ico)|*.ico|All Files (*.*)|*");
  EXPECT_EQ(ToWildcard("Photoshop Color Tables (*.act)|*.act|All Files (*.*)|*.*||"),
            "Photoshop Color Tables (*.act)|*.act|All Files (*.*)|*");
  EXPECT_EQ(ToWildcard("Pictures|*.bmp;*.*||"), "Pictures|*.bmp;*");
}

TEST(FileRequestRulesTest, TheChooserOpensOnTheNearestExistingFolder) {
  testing::TempFolder temp;
  const auto folder = temp.Path() / "icons";
  std::filesystem::create_directory(folder);
  std::ofstream(folder / "robot.ico") << "x";
  const std::filesystem::path documents = "/documents";

  EXPECT_EQ(InitialFolder(folder.string(), documents), folder);
  EXPECT_EQ(InitialFolder((folder / "robot.ico").string(), documents), folder);
  EXPECT_EQ(InitialFolder((folder / "Untitled.ico").string(), documents), folder);
  EXPECT_EQ(InitialFolder("%USERPROFILE%\\My Documents", documents), documents);
  EXPECT_EQ(InitialFolder("%USERPROFILE%\\", documents), documents);

  const auto deleted = temp.Path() / "gone" / "deeper";
  std::filesystem::create_directories(deleted);
  std::filesystem::remove_all(temp.Path() / "gone");
  EXPECT_EQ(InitialFolder((deleted / "robot.ico").string(), documents), temp.Path());
}

TEST(FileRequestRulesTest, TheDefaultExtensionIsAddedOnlyToANameWithoutOne) {
  EXPECT_EQ(WithDefaultExtension("/icons/robot", "ico"), "/icons/robot.ico");
  EXPECT_EQ(WithDefaultExtension("/icons.old/robot", "ico"), "/icons.old/robot.ico");
  EXPECT_EQ(WithDefaultExtension("/icons/robot.ico", "ico"), "/icons/robot.ico");
  EXPECT_EQ(WithDefaultExtension("/icons/archive.tar", "ico"), "/icons/archive.tar");
  EXPECT_EQ(WithDefaultExtension("/icons/robot", ""), "/icons/robot");
}

}  // namespace
}  // namespace pictaro
