#include "platform/SettingsStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <vector>

#include "support/Files.h"
#include "support/TempFolder.h"

namespace pictaro {
namespace {

constexpr std::size_t kRecord = 2264;

void WriteBytes(const std::filesystem::path& path, std::size_t count, std::uint8_t value) {
  testing::WriteBytes(path, std::vector<std::uint8_t>(count, value));
}

TEST(SettingsStoreTest, ReadsOnlyARecordOfTheExpectedSize) {
  testing::TempFolder temp;
  const SettingsStore store(temp.Path());

  SettingsRead read = store.Read(kRecord);
  EXPECT_EQ(read.error, 2);  // silent for the caller, as a missing registry value
  EXPECT_TRUE(read.data.empty());

  WriteBytes(temp.Path() / "Settings", 2263, 0x5A);
  read = store.Read(kRecord);
  EXPECT_EQ(read.error, 0);
  EXPECT_EQ(read.bytes, 2263u);
  EXPECT_TRUE(read.data.empty());
  EXPECT_EQ(SettingsReadMessage(read),
            "Could not read settings, error was 0 - Success (2263 bytes of 2264)");

  WriteBytes(temp.Path() / "Settings", 2265, 0x5A);
  read = store.Read(kRecord);
  EXPECT_EQ(read.error, 0);
  EXPECT_TRUE(read.data.empty());
  EXPECT_EQ(SettingsReadMessage(read),
            "Could not read settings, error was 0 - Success (2265 bytes of 2264)");

  WriteBytes(temp.Path() / "Settings", 2264, 0x5A);
  read = store.Read(kRecord);
  EXPECT_EQ(read.error, 0);
  EXPECT_EQ(read.bytes, 2264u);
  EXPECT_EQ(read.data, std::vector<std::uint8_t>(2264, 0x5A));
}

TEST(SettingsStoreTest, ReportsWhyTheRecordCannotBeRead) {
  testing::TempFolder temp;
  const SettingsStore store(temp.Path());
  std::filesystem::create_directory(temp.Path() / "Settings");
  SettingsRead read = store.Read(kRecord);
  EXPECT_EQ(read.error, EISDIR);
  EXPECT_TRUE(read.data.empty());
  EXPECT_EQ(SettingsReadMessage(read),
            "Could not read settings, error was 21 - Is a directory (0 bytes of 2264)");

  if (::geteuid() == 0) GTEST_SKIP() << "permissions don't bind a privileged user";
  std::filesystem::remove(temp.Path() / "Settings");
  WriteBytes(temp.Path() / "Settings", 2264, 1);
  ::chmod((temp.Path() / "Settings").c_str(), 0);
  read = store.Read(kRecord);
  EXPECT_EQ(read.error, EACCES);
  EXPECT_TRUE(read.data.empty());
  EXPECT_EQ(SettingsReadMessage(read),
            "Could not read settings, error was 13 - Permission denied (0 bytes of 2264)");
}

TEST(SettingsStoreTest, WritesTheRecordWhole) {
  testing::TempFolder temp;
  const auto folder = temp.Path() / "Quillory" / "PictaroXP" / "2.0";
  const SettingsStore store(folder);
  std::vector<std::uint8_t> record(kRecord);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i * 7);
  ASSERT_TRUE(store.Write(record));
  EXPECT_EQ(store.Read(kRecord).data, record);

  if (::geteuid() == 0) GTEST_SKIP() << "permissions don't bind a privileged user";
  ::chmod(folder.c_str(), 0555);
  EXPECT_FALSE(store.Write(std::vector<std::uint8_t>(kRecord, 0xEE)));
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(store.Read(kRecord).data, record);
}

}  // namespace
}  // namespace pictaro
