#include "model/SettingsRecord.h"

#include <algorithm>
#include <cstring>

#include "model/GridSlot.h"
#include "model/LittleEndian.h"

namespace pictaro {

namespace {

// Copies `text` into a field of `fieldBytes`, leaving room for the NUL. A cut that would split a
// multi-byte character moves back to that character's start (at most three continuation bytes).
void PutString(std::uint8_t* field, std::size_t fieldBytes, const std::string& text) {
  std::size_t length = std::min(text.size(), fieldBytes - 1);
  if (length < text.size()) {
    const auto isContinuation = [&](std::size_t i) {
      return (static_cast<std::uint8_t>(text[i]) & 0xC0) == 0x80;
    };
    for (int back = 0; back < 3 && length > 0 && isContinuation(length); ++back) --length;
  }
  std::memcpy(field, text.data(), length);
}

std::string GetString(const std::uint8_t* field, std::size_t fieldBytes) {
  const auto* end = std::find(field, field + fieldBytes, std::uint8_t{0});
  return std::string(reinterpret_cast<const char*>(field), static_cast<std::size_t>(end - field));
}

// A path cut to its field would name some other file: one that does not fit is not kept.
void PutPath(std::uint8_t* field, std::size_t fieldBytes, const std::string& path) {
  if (path.size() < fieldBytes) std::memcpy(field, path.data(), path.size());
}

std::string GetPath(const std::uint8_t* field, std::size_t fieldBytes) {
  std::string path = GetString(field, fieldBytes);
  return path.size() < fieldBytes ? path : std::string();
}

void PutI16(std::uint8_t* p, std::int16_t value) {
  PutU16(p, static_cast<std::uint16_t>(value));
}

std::int16_t GetI16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(GetU16(p));
}

}  // namespace

std::vector<std::uint8_t> EncodeSettings(const SettingsRecord& record) {
  using namespace settings_offset;
  std::vector<std::uint8_t> bytes(kSettingsRecordSize, 0);
  std::uint8_t* out = bytes.data();
  PutU32(out + kDepthIndex, record.depthIndex);
  PutU32(out + kMaskIndex, record.maskIndex);
  PutU32(out + kSizeIndex, record.sizeIndex);
  PutU32(out + kViewMode, record.viewMode);
  PutString(out + kWorkingName, kWorkingNameBytes, record.workingName);
  PutPath(out + kWorkingPath, kWorkingPathBytes, record.workingPath);
  PutU32(out + kBackgroundColor, record.backgroundColor);
  for (std::size_t i = 0; i < record.backgroundColors.size(); ++i) {
    PutU32(out + kBackgroundColors + 4 * i, record.backgroundColors[i]);
  }
  PutU32(out + kBackgroundIndex, static_cast<std::uint32_t>(record.backgroundIndex));
  for (std::size_t i = 0; i < record.gridPositions.size(); ++i) {
    std::uint8_t* entry = out + kGridPositions + 8 * i;
    const Rect& rect = record.gridPositions[i];
    PutI16(entry, rect.top);
    PutI16(entry + 2, rect.left);
    PutI16(entry + 4, rect.bottom);
    PutI16(entry + 6, rect.right);
  }
  PutU32(out + kUseCustomTable, record.useCustomTable ? 1 : 0);
  std::copy(record.customTable.begin(), record.customTable.end(), out + kCustomTable);
  PutU32(out + kGenerateTableAutomatically, record.generateTableAutomatically ? 1 : 0);
  PutU32(out + kShowToolTips, record.showToolTips ? 1 : 0);
  PutU32(out + kSamePosition, record.samePosition ? 1 : 0);
  PutU32(out + kPngCompression, record.pngCompression ? 1 : 0);
  PutU32(out + kTabIndex, record.tabIndex);
  return bytes;
}

std::optional<SettingsRecord> DecodeSettings(std::span<const std::uint8_t> bytes) {
  using namespace settings_offset;
  if (bytes.size() != kSettingsRecordSize) return std::nullopt;
  const std::uint8_t* in = bytes.data();
  SettingsRecord record;
  const GridSlot selection =
      RestoreSelection(GetU32(in + kSizeIndex), GetU32(in + kDepthIndex), GetU32(in + kMaskIndex));
  record.depthIndex = selection.depthIndex;
  record.maskIndex = selection.maskIndex;
  record.sizeIndex = selection.sizeIndex;
  record.viewMode = GetU32(in + kViewMode);
  record.workingName = GetString(in + kWorkingName, kWorkingNameBytes);
  record.workingPath = GetPath(in + kWorkingPath, kWorkingPathBytes);
  record.backgroundColor = GetU32(in + kBackgroundColor);
  for (std::size_t i = 0; i < record.backgroundColors.size(); ++i) {
    record.backgroundColors[i] = GetU32(in + kBackgroundColors + 4 * i);
  }
  record.backgroundIndex = static_cast<std::int32_t>(GetU32(in + kBackgroundIndex));
  for (std::size_t i = 0; i < record.gridPositions.size(); ++i) {
    const std::uint8_t* entry = in + kGridPositions + 8 * i;
    record.gridPositions[i] =
        Rect{GetI16(entry), GetI16(entry + 2), GetI16(entry + 4), GetI16(entry + 6)};
  }
  record.useCustomTable = GetU32(in + kUseCustomTable) != 0;
  std::copy(in + kCustomTable, in + kCustomTable + record.customTable.size(),
            record.customTable.begin());
  record.generateTableAutomatically = GetU32(in + kGenerateTableAutomatically) != 0;
  record.showToolTips = GetU32(in + kShowToolTips) != 0;
  record.samePosition = GetU32(in + kSamePosition) != 0;
  record.pngCompression = GetU32(in + kPngCompression) != 0;
  record.tabIndex = GetU32(in + kTabIndex);
  return record;
}

}  // namespace pictaro
