#include "model/SettingsRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/LittleEndian.h"

namespace pictaro {
namespace {

SettingsRecord SampleRecord() {
  SettingsRecord record;
  record.depthIndex = 2;
  record.maskIndex = 1;
  record.sizeIndex = 4;
  record.viewMode = 2;
  record.workingName = "Untitled.ico";
  record.workingPath = "/home/someone/Documents/Untitled.ico";
  record.backgroundColor = 0x00CCCCCC;
  for (std::uint32_t i = 0; i < 16; ++i) record.backgroundColors[i] = 0x00010203 * (i + 1);
  record.backgroundIndex = 15;
  for (int i = 0; i < 13; ++i) {
    record.gridPositions[static_cast<std::size_t>(i)] =
        Rect{static_cast<int16>(-10 - i), static_cast<int16>(20 + i), static_cast<int16>(300 + i),
             static_cast<int16>(-4000 + i)};
  }
  record.useCustomTable = true;
  for (std::size_t i = 0; i < record.customTable.size(); ++i) {
    record.customTable[i] = static_cast<std::uint8_t>(255 - i % 256);
  }
  record.showToolTips = true;
  record.samePosition = true;
  record.pngCompression = true;
  record.tabIndex = 2;
  return record;
}

TEST(SettingsRecordTest, EncodesEveryFieldAtItsOffset) {
  const SettingsRecord record = SampleRecord();
  const std::vector<std::uint8_t> bytes = EncodeSettings(record);
  ASSERT_EQ(bytes.size(), 2264u);
  const std::uint8_t* b = bytes.data();
  EXPECT_EQ(GetU32(b + 0), 2u);
  EXPECT_EQ(GetU32(b + 8), 4u);
  EXPECT_EQ(GetU32(b + 12), 2u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 16)), "Untitled.ico");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 272)),
            "/home/someone/Documents/Untitled.ico");
  // Nothing of the past shows behind a string's NUL.
  for (std::size_t i = 16 + 12; i < 272; ++i) ASSERT_EQ(b[i], 0) << i;
  EXPECT_EQ(GetU32(b + 1296), 0x00CCCCCCu);
  EXPECT_EQ(GetU32(b + 1300), 0x00010203u);
  EXPECT_EQ(GetU32(b + 1360), 0x00102030u);
  EXPECT_EQ(GetU32(b + 1364), 15u);
  // First entry: top -10, left 20, bottom 300, right -4000; the last entry ends at 1472.
  EXPECT_EQ(static_cast<std::int16_t>(GetU16(b + 1368)), -10);
  EXPECT_EQ(GetU16(b + 1370), 20);
  EXPECT_EQ(GetU16(b + 1372), 300);
  EXPECT_EQ(static_cast<std::int16_t>(GetU16(b + 1374)), -4000);
  EXPECT_EQ(static_cast<std::int16_t>(GetU16(b + 1470)), -3988);
  EXPECT_EQ(GetU32(b + 1472), 1u);
  EXPECT_EQ(b[1476], 255);
  EXPECT_EQ(GetU32(b + 2244), 0u);
  EXPECT_EQ(GetU32(b + 2248), 1u);
  EXPECT_EQ(GetU32(b + 2252), 1u);
  EXPECT_EQ(GetU32(b + 2256), 1u);
  EXPECT_EQ(GetU32(b + 2260), 2u);

  const auto decoded = DecodeSettings(bytes);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(*decoded, record);
}

TEST(SettingsRecordTest, LongStringsAreCutToTheirFields) {
  SettingsRecord record;
  record.workingName = std::string(300, 'n');
  record.workingPath = std::string(2000, 'p');
  std::vector<std::uint8_t> bytes = EncodeSettings(record);
  EXPECT_EQ(bytes[16 + 254], 'n');
  EXPECT_EQ(bytes[16 + 255], 0);
  EXPECT_EQ(bytes[272 + 1022], 'p');
  EXPECT_EQ(bytes[272 + 1023], 0);
  auto decoded = DecodeSettings(bytes);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->workingName, std::string(255, 'n'));
  EXPECT_EQ(decoded->workingPath, std::string(1023, 'p'));

  // "é" would straddle the cut: it goes whole, not half.
  record.workingName = std::string(254, 'a') + "\xC3\xA9";
  decoded = DecodeSettings(EncodeSettings(record));
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->workingName, std::string(254, 'a'));

  // A name field full to its end stops there rather than running into the path.
  bytes = EncodeSettings(SampleRecord());
  std::fill(bytes.begin() + 16, bytes.begin() + 272, std::uint8_t{'x'});
  decoded = DecodeSettings(bytes);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->workingName, std::string(256, 'x'));
  EXPECT_EQ(decoded->workingPath, "/home/someone/Documents/Untitled.ico");
}

TEST(SettingsRecordTest, OnlyAWholeRecordDecodes) {
  std::vector<std::uint8_t> bytes = EncodeSettings(SampleRecord());
  bytes[1472] = 7;  // any nonzero flag is on
  bytes.push_back(0);
  EXPECT_FALSE(DecodeSettings(bytes).has_value());
  bytes.resize(2263);
  EXPECT_FALSE(DecodeSettings(bytes).has_value());
  bytes.push_back(0);
  const auto decoded = DecodeSettings(bytes);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_TRUE(decoded->useCustomTable);
  EXPECT_EQ(EncodeSettings(*decoded)[1472], 1);
}

}  // namespace
}  // namespace pictaro
