#include "platform/SettingsStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/FirstRun.h"
#include "support/Files.h"
#include "support/TempFolder.h"

namespace pictaro {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SettingsStoreTest, ReadsOnlyARecordOfTheExpectedSizeAndSaysWhyNot) {
  testing::TempFolder temp;
  const SettingsStore store(temp.Path());
  const auto settings = temp.Path() / "Settings";
  SettingsRead read = store.Read(2264);
  EXPECT_EQ(std::make_tuple(read.error, read.data), std::make_tuple(2, Bytes()));  // silent

  for (std::size_t size : {2263, 2265, 2264}) {
    testing::WriteBytes(settings, Bytes(size, 0x5A));
    read = store.Read(2264);
    EXPECT_EQ(std::make_tuple(read.error, read.bytes, read.data),
              std::make_tuple(0, size, size == 2264 ? Bytes(2264, 0x5A) : Bytes()));
  }
  testing::WriteBytes(settings, Bytes(2265, 0));
  EXPECT_EQ(SettingsReadMessage(store.Read(2264)),
            "Could not read settings, error was 0 - Success (2265 bytes of 2264)");

  std::filesystem::remove(settings);
  std::filesystem::create_directory(settings);
  read = store.Read(2264);
  EXPECT_TRUE(read.data.empty());
  EXPECT_EQ(SettingsReadMessage(read),
            "Could not read settings, error was 21 - Is a directory (0 bytes of 2264)");

  if (::geteuid() == 0) GTEST_SKIP() << "permissions don't bind a privileged user";
  std::filesystem::remove(settings);
  testing::WriteBytes(settings, Bytes(2264, 1));
  ::chmod(settings.c_str(), 0);
  read = store.Read(2264);
  EXPECT_TRUE(read.data.empty());
  EXPECT_EQ(SettingsReadMessage(read),
            "Could not read settings, error was 13 - Permission denied (0 bytes of 2264)");
}

TEST(SettingsStoreTest, WritesTheRecordWholeOrNotAtAll) {
  testing::TempFolder temp;
  const auto folder = temp.Path() / "Quillory" / "PictaroXP" / "2.0";
  const SettingsStore store(folder);
  Bytes record(2264);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i * 7);
  ASSERT_TRUE(store.Write(record));
  EXPECT_EQ(store.Read(2264).data, record);

  if (::geteuid() == 0) GTEST_SKIP() << "permissions don't bind a privileged user";
  ::chmod(folder.c_str(), 0555);
  EXPECT_FALSE(store.Write(Bytes(2264, 0xEE)));
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(store.Read(2264).data, record);
}

TEST(SettingsStoreTest, SettingsFolderAndFirstRunRecord) {
  testing::TempFolder temp;
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = oldConfig != nullptr ? oldConfig : "";
  setenv("XDG_CONFIG_HOME", temp.Path().c_str(), 1);
  EXPECT_EQ(SettingsFolder(), temp.Path() / "Quillory" / "PictaroXP" / "2.0");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_TRUE(SettingsFolder().string().ends_with("/.config/Quillory/PictaroXP/2.0"));
  if (oldConfig != nullptr) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);

  const auto folder = temp.Path() / "a" / "b";
  EXPECT_TRUE(IsFirstRun(folder));
  EXPECT_TRUE(RecordFirstRun(folder));
  EXPECT_FALSE(IsFirstRun(folder));
  // A folder that can't be made keeps every run a first run.
  testing::WriteBytes(temp.Path() / "blocker", {});
  EXPECT_FALSE(RecordFirstRun(temp.Path() / "blocker" / "sub"));
  EXPECT_TRUE(IsFirstRun(temp.Path() / "blocker" / "sub"));
}

}  // namespace
}  // namespace pictaro
