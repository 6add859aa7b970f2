#include "model/SettingsRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/GridSlot.h"
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

SettingsRecord Decoded(const Bytes& bytes) {
  return DecodeSettings(bytes).value();
}

// The name's field is bytes 16 to 272, the path's 272 to 1296.
std::string Text(const Bytes& bytes, int from, int to) {
  return std::string(bytes.begin() + from, bytes.begin() + to);
}

TEST(SettingsRecordTest, EveryFieldHasItsOffsetAndOnlyAWholeRecordDecodes) {
  Bytes bytes = EncodeSettings(SampleRecord());
  ASSERT_EQ(bytes.size(), 2264u);
  for (const auto& [n, field] : testing::NumberRows("model/settings-record.txt"))
    EXPECT_EQ(GetU32(bytes.data() + n[0]), n[1]) << field;
  // Nothing of the past shows behind a string's NUL.
  EXPECT_EQ(Text(bytes, 16, 272), "Untitled.ico" + std::string(244, '\0'));
  EXPECT_EQ(Text(bytes, 272, 1296),
            "/home/someone/Documents/Untitled.ico" + std::string(988, '\0'));
  // Any nonzero flag is on.
  bytes[1472] = 7;
  EXPECT_EQ(DecodeSettings(bytes), SampleRecord());

  // A stored selection comes back as its grid slot, one outside the grid as the nearest slot.
  for (const auto& [n, what] : testing::NumberRows("model/stored-selections.txt")) {
    PutU32(&bytes[8], n[0]), PutU32(&bytes[0], n[1]), PutU32(&bytes[4], n[2]);
    const SettingsRecord r = Decoded(bytes);
    EXPECT_EQ(GridSlot(r.sizeIndex, r.depthIndex, r.maskIndex), GridSlot(n[3], n[4], n[5])) << what;
  }
  // A record a byte longer or shorter is refused.
  EXPECT_FALSE(DecodeSettings(Bytes(2265)) || DecodeSettings(std::span(bytes).first(2263)));
}

TEST(SettingsRecordTest, LongNamesAreCutAndLongPathsRefused) {
  SettingsRecord record;
  record.workingName = std::string(300, 'n');
  record.workingPath = std::string(1024, 'p');
  // A cut path would name another file: the field stays empty.
  Bytes bytes = EncodeSettings(record);
  EXPECT_EQ(Text(bytes, 16, 1296), std::string(255, 'n') + std::string(1025, '\0'));
  record.workingPath = std::string(1023, 'p');
  EXPECT_EQ(Decoded(EncodeSettings(record)).workingPath, record.workingPath);
  // "é" would straddle the cut: it goes whole, not half.
  record.workingName = std::string(254, 'a') + "\xC3\xA9";
  EXPECT_EQ(Decoded(EncodeSettings(record)).workingName, std::string(254, 'a'));

  // A name field full to its end stops there rather than running into the path; a path field
  // without its NUL holds a cut path.
  bytes = EncodeSettings(SampleRecord());
  std::fill(bytes.begin() + 16, bytes.begin() + 272, std::uint8_t{'x'});
  EXPECT_EQ(Decoded(bytes).workingName, std::string(256, 'x'));
  EXPECT_EQ(Decoded(bytes).workingPath, "/home/someone/Documents/Untitled.ico");
  std::fill(bytes.begin() + 272, bytes.begin() + 1296, std::uint8_t{'y'});
  EXPECT_EQ(Decoded(bytes).workingPath, "");
}

}  // namespace
}  // namespace pictaro
