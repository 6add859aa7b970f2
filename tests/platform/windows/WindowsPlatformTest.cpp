// The Windows seams: the settings record in the registry, and files whose names lie outside
// the system's code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "model/ResourceGrid.h"
#include "model/WorkingDocument.h"
#include "platform/FirstRun.h"
#include "platform/SettingsStore.h"
#include "platform/Utf8Path.h"
#include "support/FakePluginUi.h"
#include "support/Files.h"
#include "support/IcoFixtures.h"
#include "support/TempFolder.h"

namespace pictaro::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

TEST(WindowsPlatformTest, TheSettingsRecordIsARegistryValueReadOnlyAtItsSize) {
  EXPECT_EQ(SettingsFolder(), fs::path(L"Software\\Quillory\\PictaroXP\\2.0"));
  // A throwaway key, removed at the end.
  const fs::path key =
      L"Software\\Quillory\\PictaroTest\\" + std::to_wstring(std::random_device()());
  const SettingsStore store(key);
  const auto read = [&store] {
    const SettingsRead got = store.Read(2264);
    return std::to_string(got.error) + " " + std::to_string(got.bytes) + " " +
           std::to_string(got.data.size()) + (got.errorText.empty() ? " no text" : "");
  };
  EXPECT_EQ(read(), "2 0 0");
  EXPECT_TRUE(IsFirstRun(key));

  Bytes record(2264);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i * 7);
  ASSERT_TRUE(store.Write(record));
  EXPECT_EQ(store.Read(2264).data, record);
  // A value of another size comes with its real size, a larger one with ERROR_MORE_DATA.
  HKEY opened = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &opened), 0);
  for (const DWORD size : {2263, 2265}) {
    ::RegSetValueExW(opened, L"Settings", 0, REG_BINARY, record.data(), size);
    EXPECT_EQ(read(), (size < 2264 ? "0 " : "234 ") + std::to_string(size) + " 0");
  }
  ::RegCloseKey(opened);

  EXPECT_TRUE(IsFirstRun(key));
  EXPECT_TRUE(RecordFirstRun(key));
  EXPECT_FALSE(IsFirstRun(key));
  EXPECT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, key.parent_path().c_str()), 0);
}

TEST(WindowsPlatformTest, ANameOutsideTheCodePageOpensAndIsReplacedWhole) {
  TempFolder folder;
  const std::string path = Utf8FromPath(folder.Path() / PathFromUtf8("Ärger ☺ 図.ico"));
  EXPECT_EQ(FolderOf(path), Utf8FromPath(folder.Path()) + "\\");
  WriteBytes(PathFromUtf8(path), {0, 0, 1, 0, 0, 0});
  ResourceGrid grid;
  PaintGrid(grid, kAllIndices);
  RecordingDesktop desktop;
  ASSERT_EQ(grid.WriteIco(path, desktop), 1);
  // What reads back saves again as the same bytes, under another such name.
  ResourceGrid back;
  ASSERT_EQ(back.ReadIco(path, desktop), 1);
  const std::string again = Utf8FromPath(folder.Path() / PathFromUtf8("Ärger 2 ☺.ico"));
  ASSERT_EQ(back.WriteIco(again, desktop), 1);
  const Bytes written = ReadBytes(PathFromUtf8(path));
  EXPECT_EQ(written.size(), 300318u);
  EXPECT_EQ(ReadBytes(PathFromUtf8(again)), written);
  // The temporary files went into their targets' places; none is left beside them.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), 2);

  // A folder is no file to save over, and stays.
  const fs::path blocked = folder.Path() / PathFromUtf8("Ordner ☺.ico");
  fs::create_directory(blocked);
  EXPECT_EQ(grid.WriteIco(Utf8FromPath(blocked), desktop), 0);
  EXPECT_TRUE(fs::is_directory(blocked));
}

}  // namespace
}  // namespace pictaro::testing
