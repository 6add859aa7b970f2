#include "model/SettingsRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/LittleEndian.h"
#include "support/ReferenceText.h"

namespace pictaro {
namespace {

using Bytes = std::vector<std::uint8_t>;

SettingsRecord SampleRecord() {
  SettingsRecord r;
  r.depthIndex = 2, r.maskIndex = 1, r.sizeIndex = 4, r.viewMode = 2, r.backgroundIndex = 15;
  r.workingName = "Untitled.ico", r.workingPath = "/home/someone/Documents/Untitled.ico";
  r.backgroundColor = 0xCCCCCC, r.tabIndex = 2;
  r.useCustomTable = r.showToolTips = r.samePosition = r.pngCompression = true;
  for (std::uint32_t i = 0; i < 16; ++i) r.backgroundColors[i] = 0x00010203 * (i + 1);
  for (int i = 0; i < 13; ++i)
    r.gridPositions[i] = {int16(-10 - i), int16(20 + i), int16(300 + i), int16(-4000 + i)};
  for (std::size_t i = 0; i < r.customTable.size(); ++i) r.customTable[i] = 255 - i % 256;
  return r;
}

std::string NameOf(const Bytes& bytes) {
  return DecodeSettings(bytes).value().workingName;
}
std::string PathOf(const Bytes& bytes) {
  return DecodeSettings(bytes).value().workingPath;
}

TEST(SettingsRecordTest, EveryFieldHasItsOffsetAndOnlyAWholeRecordDecodes) {
  Bytes bytes = EncodeSettings(SampleRecord());
  ASSERT_EQ(bytes.size(), 2264u);
  for (const auto& [n, field] : testing::NumberRows("model/settings-record.txt"))
    EXPECT_EQ(GetU32(bytes.data() + n[0]), n[1]) << field;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[16])), "Untitled.ico");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[272])),
            "/home/someone/Documents/Untitled.ico");
  // Nothing of the past shows behind a string's NUL.
  EXPECT_EQ(Bytes(bytes.begin() + 28, bytes.begin() + 272), Bytes(244, 0));
  EXPECT_EQ(DecodeSettings(bytes), SampleRecord());

  bytes[1472] = 7;  // any nonzero flag is on
  EXPECT_EQ(EncodeSettings(DecodeSettings(bytes).value())[1472], 1);
  bytes.push_back(0);
  EXPECT_FALSE(DecodeSettings(bytes).has_value());
  bytes.resize(2263);
  EXPECT_FALSE(DecodeSettings(bytes).has_value());
}

TEST(SettingsRecordTest, LongNamesAreCutAndLongPathsRefused) {
  SettingsRecord record;
  record.workingName = std::string(300, 'n');
  record.workingPath = std::string(1024, 'p');
  Bytes bytes = EncodeSettings(record);
  EXPECT_EQ(bytes[16 + 254], 'n');
  // A cut path would name another file: the field stays empty.
  EXPECT_EQ(Bytes(bytes.begin() + 271, bytes.begin() + 1296), Bytes(1025, 0));
  EXPECT_EQ(NameOf(bytes), std::string(255, 'n'));
  record.workingPath = std::string(1023, 'p');
  EXPECT_EQ(PathOf(EncodeSettings(record)), record.workingPath);
  // "é" would straddle the cut: it goes whole, not half.
  record.workingName = std::string(254, 'a') + "\xC3\xA9";
  EXPECT_EQ(NameOf(EncodeSettings(record)), std::string(254, 'a'));

  // A name field full to its end stops there rather than running into the path; a path field
  // without its NUL holds a cut path.
  bytes = EncodeSettings(SampleRecord());
  std::fill(bytes.begin() + 16, bytes.begin() + 272, std::uint8_t{'x'});
  EXPECT_EQ(NameOf(bytes), std::string(256, 'x'));
  EXPECT_EQ(PathOf(bytes), "/home/someone/Documents/Untitled.ico");
  std::fill(bytes.begin() + 272, bytes.begin() + 1296, std::uint8_t{'y'});
  EXPECT_EQ(PathOf(bytes), "");
}

TEST(SettingsRecordTest, ASelectionOutsideTheGridIsRestoredToTheNearestSlot) {
  for (const auto& [n, what] : testing::NumberRows("model/stored-selections.txt")) {
    Bytes bytes = EncodeSettings(SampleRecord());
    PutU32(&bytes[8], n[0]);
    PutU32(&bytes[0], n[1]);
    PutU32(&bytes[4], n[2]);
    // What is stored back is the restored slot.
    bytes = EncodeSettings(DecodeSettings(bytes).value());
    EXPECT_EQ((std::vector<long long>{GetU32(&bytes[8]), GetU32(&bytes[0]), GetU32(&bytes[4])}),
              std::vector<long long>(n.begin() + 3, n.end()))
        << what;
  }
}

}  // namespace
}  // namespace pictaro
