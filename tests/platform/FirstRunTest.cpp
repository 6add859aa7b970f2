#include "platform/FirstRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "support/TempFolder.h"

namespace pictaro {
namespace {

TEST(FirstRunTest, SettingsFolderFollowsTheConfigHome) {
  testing::TempFolder temp;
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = oldConfig != nullptr ? oldConfig : "";
  setenv("XDG_CONFIG_HOME", temp.Path().c_str(), 1);
  EXPECT_EQ(SettingsFolder(), temp.Path() / "Quillory" / "PictaroXP" / "2.0");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(SettingsFolder().filename(), "2.0");
  EXPECT_NE(SettingsFolder().string().find("/.config/Quillory/PictaroXP/"), std::string::npos);
  if (oldConfig != nullptr) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

TEST(FirstRunTest, ARecordedRunIsNoLongerTheFirst) {
  testing::TempFolder temp;
  const auto folder = temp.Path() / "a" / "b";
  EXPECT_TRUE(IsFirstRun(folder));
  EXPECT_TRUE(RecordFirstRun(folder));
  EXPECT_FALSE(IsFirstRun(folder));

  // A folder that can't be made keeps every run a first run.
  const auto blocker = temp.Path() / "blocker";
  std::FILE* file = std::fopen(blocker.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_FALSE(RecordFirstRun(blocker / "sub"));
  EXPECT_TRUE(IsFirstRun(blocker / "sub"));
}

}  // namespace
}  // namespace pictaro
