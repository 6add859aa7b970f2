#include "model/SettingsRecord.h"

#include <gtest/gtest.h>

#include <array>
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

TEST(SettingsRecordTest, LongNamesAreCutAndLongPathsRefused) {
  SettingsRecord record;
  record.workingName = std::string(300, 'n');
  record.workingPath = std::string(1024, 'p');
  std::vector<std::uint8_t> bytes = EncodeSettings(record);
  EXPECT_EQ(bytes[16 + 254], 'n');
  EXPECT_EQ(bytes[16 + 255], 0);
  // A cut path would name another file: the field stays empty.
  for (std::size_t i = 272; i < 1296; ++i) ASSERT_EQ(bytes[i], 0) << i;
  auto decoded = DecodeSettings(bytes);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->workingName, std::string(255, 'n'));
  EXPECT_EQ(decoded->workingPath, "");
  record.workingPath = std::string(1023, 'p');
  EXPECT_EQ(DecodeSettings(EncodeSettings(record))->workingPath, record.workingPath);

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
  // A path field without its NUL holds a cut path.
  std::fill(bytes.begin() + 272, bytes.begin() + 1296, std::uint8_t{'y'});
  EXPECT_EQ(DecodeSettings(bytes)->workingPath, "");
}

TEST(SettingsRecordTest, ASelectionOutsideTheGridIsRestoredToTheNearestSlot) {
  // Stored size, depth, mask -> restored size, depth, mask.
  const std::uint32_t cases[][6] = {
      {7, 2, 1, 3, 2, 1},  // no size: 48x48 kept from the default
      {0, 0, 1, 0, 0, 0},  // 4-bit data wins over an 8-bit mask
      {2, 1, 1, 2, 1, 0},  // 8-bit data keeps its 1-bit mask
      {4, 0, 0, 4, 2, 1},  // 256x256 exists only in 32 bits
      {1, 9, 0, 1, 1, 0},  // the 1-bit mask selects 8-bit data
      {1, 9, 5, 1, 2, 1},  // no data: the 8-bit mask selects 32 bits
      {9, 9, 9, 3, 2, 1},  // nothing fits
      {1, 0, 0, 1, 0, 0},  // a grid slot stays
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> bytes = EncodeSettings(SampleRecord());
    PutU32(bytes.data() + 8, c[0]);
    PutU32(bytes.data() + 0, c[1]);
    PutU32(bytes.data() + 4, c[2]);
    const auto decoded = DecodeSettings(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ((std::array{decoded->sizeIndex, decoded->depthIndex, decoded->maskIndex}),
              (std::array{c[3], c[4], c[5]}))
        << c[0] << " " << c[1] << " " << c[2];
    // What is stored back is the restored slot.
    EXPECT_EQ(GetU32(EncodeSettings(*decoded).data() + 8), c[3]);
  }
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
