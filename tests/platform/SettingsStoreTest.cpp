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

TEST(SettingsStoreTest, ReadsOnlyARecordOfTheExpectedSizeWritesItWholeAndRecordsTheFirstRun) {
  testing::TempFolder temp;
  const auto folder = temp.Path() / "Quillory" / "PictaroXP" / "2.0",
             settings = folder / "Settings";
  const SettingsStore store(folder);
  // What a read says, then the bytes it gives.
  const auto read = [&store] {
    const SettingsRead got = store.Read(2264);
    return SettingsReadMessage(got) + "|" + std::string(got.data.begin(), got.data.end());
  };
  const std::string said = "Could not read settings, error was ";
  EXPECT_EQ(read(), said + "2 - No such file or directory (0 bytes of 2264)|");

  // The folder is made; the record comes back whole.
  Bytes record(2264);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i * 7);
  ASSERT_TRUE(store.Write(record));
  EXPECT_EQ(store.Read(2264).data, record);
  for (std::size_t size : {2263, 2265, 2264}) {
    testing::WriteBytes(settings, Bytes(size, 'Z'));
    EXPECT_EQ(read(), said + "0 - Success (" + std::to_string(size) + " bytes of 2264)|" +
                          std::string(size == 2264 ? size : 0, 'Z'));
  }
  std::filesystem::remove(settings);
  std::filesystem::create_directory(settings);
  EXPECT_EQ(read(), said + "21 - Is a directory (0 bytes of 2264)|");

  // The settings folder, and the record of a first run.
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = oldConfig != nullptr ? oldConfig : "";
  setenv("XDG_CONFIG_HOME", temp.Path().c_str(), 1);
  EXPECT_EQ(SettingsFolder(), folder);
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_TRUE(SettingsFolder().string().ends_with("/.config/Quillory/PictaroXP/2.0"));
  if (oldConfig != nullptr) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);

  const auto firstRun = temp.Path() / "a" / "b";
  EXPECT_TRUE(IsFirstRun(firstRun));
  EXPECT_TRUE(RecordFirstRun(firstRun));
  EXPECT_FALSE(IsFirstRun(firstRun));
  // A folder that can't be made keeps every run a first run.
  testing::WriteBytes(temp.Path() / "blocker", {});
  EXPECT_FALSE(RecordFirstRun(temp.Path() / "blocker" / "sub"));
  EXPECT_TRUE(IsFirstRun(temp.Path() / "blocker" / "sub"));

  if (::geteuid() == 0) GTEST_SKIP() << "permissions don't bind a privileged user";
  std::filesystem::remove(settings);
  ASSERT_TRUE(store.Write(record));
  ::chmod(settings.c_str(), 0);
  EXPECT_EQ(read(), said + "13 - Permission denied (0 bytes of 2264)|");
  // A write that fails leaves the record as it was.
  ::chmod(settings.c_str(), 0644);
  ::chmod(folder.c_str(), 0555);
  EXPECT_FALSE(store.Write(Bytes(2264, 0xEE)));
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(store.Read(2264).data, record);
}

}  // namespace
}  // namespace pictaro
