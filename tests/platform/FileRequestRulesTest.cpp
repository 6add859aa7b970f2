#include "platform/FileRequestRules.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/TempFolder.h"

namespace pictaro {
namespace {

TEST(FileRequestRulesTest, FiltersFoldersAndExtensions) {
  // Classic filters become wildcards that match every file.
  EXPECT_EQ(ToWildcard("Icon Files (*.ico)|*.ico|All Files (*.*)|*.*||"),
            "Icon Files (*.ico)|*.ico|All Files (*.*)|*");
  EXPECT_EQ(ToWildcard("Pictures|*.bmp;*.*||"), "Pictures|*.bmp;*");

  // The chooser opens on the nearest existing folder.
  testing::TempFolder temp;
  const auto folder = temp.Path() / "icons", gone = temp.Path() / "gone" / "deeper";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "robot.ico") << "x";
  const std::pair<std::filesystem::path, std::filesystem::path> folders[] = {
      {folder, folder},
      {folder / "robot.ico", folder},
      {folder / "Untitled.ico", folder},
      {"%USERPROFILE%\\My Documents", "/documents"},
      {"%USERPROFILE%\\", "/documents"},
      {gone / "robot.ico", temp.Path()}};
  for (const auto& [requested, opened] : folders)
    EXPECT_EQ(InitialFolder(requested.string(), "/documents"), opened) << requested;

  // The default extension is added only to a name without one.
  const std::tuple<std::string, std::string, std::string> names[] = {
      {"/icons/robot", "ico", "/icons/robot.ico"},
      {"/icons.old/robot", "ico", "/icons.old/robot.ico"},
      {"/icons/robot.ico", "ico", "/icons/robot.ico"},
      {"/icons/archive.tar", "ico", "/icons/archive.tar"},
      {"/icons/robot", "", "/icons/robot"}};
  for (const auto& [name, extension, completed] : names)
    EXPECT_EQ(WithDefaultExtension(name, extension), completed);
}

}  // namespace
}  // namespace pictaro
