#include "model/SettingsRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/LittleEndian.h"

namespace pictaro {
namespace {

SettingsRecord SampleRecord() {
  SettingsRecord r{.depthIndex = 2,
                   .maskIndex = 1,
                   .sizeIndex = 4,
                   .viewMode = 2,
                   .workingName = "Untitled.ico",
                   .workingPath = "/home/someone/Documents/Untitled.ico",
                   .backgroundColor = 0x00CCCCCC,
                   .backgroundIndex = 15,
                   .useCustomTable = true,
                   .showToolTips = true,
                   .samePosition = true,
                   .pngCompression = true,
                   .tabIndex = 2};
  for (std::uint32_t i = 0; i < 16; ++i) r.backgroundColors[i] = 0x00010203 * (i + 1);
  for (int i = 0; i < 13; ++i) {
    r.gridPositions[static_cast<std::size_t>(i)] =
        Rect{static_cast<int16>(-10 - i), static_cast<int16>(20 + i), static_cast<int16>(300 + i),
             static_cast<int16>(-4000 + i)};
  }
  for (std::size_t i = 0; i < r.customTable.size(); ++i)
    r.customTable[i] = static_cast<std::uint8_t>(255 - i % 256);
  return r;
}

TEST(SettingsRecordTest, EncodesEveryFieldAtItsOffset) {
  const SettingsRecord record = SampleRecord();
  const std::vector<std::uint8_t> bytes = EncodeSettings(record);
  ASSERT_EQ(bytes.size(), 2264u);
  const std::uint8_t* b = bytes.data();
  // Offset and little-endian word; the grid positions are 16-bit top, left, bottom, right
  // (-10, 20, 300, -4000 for the first), the last one ending at 1472.
  const std::pair<int, std::uint32_t> words[] = {{0, 2},
                                                 {4, 1},
                                                 {8, 4},
                                                 {12, 2},
                                                 {1296, 0xCCCCCC},
                                                 {1300, 0x10203},
                                                 {1360, 0x102030},
                                                 {1364, 15},
                                                 {1368, 20u << 16 | 0xFFF6},
                                                 {1372, 0xF060u << 16 | 300},
                                                 {1468, 0xF06Cu << 16 | 312},
                                                 {1472, 1},
                                                 {1476, 0xFCFDFEFF},
                                                 {2244, 0},
                                                 {2248, 1},
                                                 {2252, 1},
                                                 {2256, 1},
                                                 {2260, 2}};
  for (const auto& [offset, word] : words) EXPECT_EQ(GetU32(b + offset), word) << offset;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 16)), "Untitled.ico");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 272)),
            "/home/someone/Documents/Untitled.ico");
  // Nothing of the past shows behind a string's NUL.
  EXPECT_EQ(std::vector<std::uint8_t>(b + 28, b + 272), std::vector<std::uint8_t>(244, 0));
  EXPECT_EQ(DecodeSettings(bytes), record);
}

TEST(SettingsRecordTest, LongNamesAreCutAndLongPathsRefused) {
  SettingsRecord record;
  record.workingName = std::string(300, 'n');
  record.workingPath = std::string(1024, 'p');
  std::vector<std::uint8_t> bytes = EncodeSettings(record);
  EXPECT_EQ(std::make_pair(bytes[16 + 254], bytes[16 + 255]),
            std::make_pair(std::uint8_t{'n'}, std::uint8_t{0}));
  // A cut path would name another file: the field stays empty.
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 272, bytes.begin() + 1296),
            std::vector<std::uint8_t>(1024, 0));
  EXPECT_EQ(DecodeSettings(bytes).value().workingName, std::string(255, 'n'));
  record.workingPath = std::string(1023, 'p');
  EXPECT_EQ(DecodeSettings(EncodeSettings(record)).value().workingPath, record.workingPath);
  // "é" would straddle the cut: it goes whole, not half.
  record.workingName = std::string(254, 'a') + "\xC3\xA9";
  EXPECT_EQ(DecodeSettings(EncodeSettings(record)).value().workingName, std::string(254, 'a'));

  // A name field full to its end stops there rather than running into the path; a path field
  // without its NUL holds a cut path.
  bytes = EncodeSettings(SampleRecord());
  std::fill(bytes.begin() + 16, bytes.begin() + 272, std::uint8_t{'x'});
  EXPECT_EQ(DecodeSettings(bytes).value().workingName, std::string(256, 'x'));
  EXPECT_EQ(DecodeSettings(bytes).value().workingPath, "/home/someone/Documents/Untitled.ico");
  std::fill(bytes.begin() + 272, bytes.begin() + 1296, std::uint8_t{'y'});
  EXPECT_EQ(DecodeSettings(bytes).value().workingPath, "");
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
    const auto d = DecodeSettings(bytes);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(std::make_tuple(d->sizeIndex, d->depthIndex, d->maskIndex),
              std::make_tuple(c[3], c[4], c[5]))
        << c[0] << " " << c[1] << " " << c[2];
    // What is stored back is the restored slot.
    EXPECT_EQ(GetU32(EncodeSettings(*d).data() + 8), c[3]);
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
  EXPECT_EQ(EncodeSettings(*decoded)[1472], 1);
}

}  // namespace
}  // namespace pictaro
