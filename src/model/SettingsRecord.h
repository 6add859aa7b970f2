// The main window's options and working state as kept between runs: one 2264-byte
// little-endian record without gaps, encoded and decoded field by field.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/ColorTable.h"
#include "model/Rect.h"

namespace pictaro {

inline constexpr std::size_t kSettingsRecordSize = 2264;
inline constexpr std::size_t kSettingsGridPositions = 13;

struct SettingsRecord {
  // The current slot; the view mode is stored as it was, the window reads it back as "both".
  std::uint32_t depthIndex = 0;
  std::uint32_t maskIndex = 0;
  std::uint32_t sizeIndex = 0;
  std::uint32_t viewMode = 0;
  std::string workingName;            // at most 255 bytes are stored
  std::string workingPath;            // stored only when it has at most 1023 bytes
  std::uint32_t backgroundColor = 0;  // 0x00BBGGRR
  std::array<std::uint32_t, 16> backgroundColors{};
  std::int32_t backgroundIndex = 0;
  std::array<Rect, kSettingsGridPositions> gridPositions{};  // the layer view's entry order
  bool useCustomTable = false;
  ColorTable customTable{};
  bool generateTableAutomatically = false;
  bool showToolTips = false;
  bool samePosition = false;
  bool pngCompression = false;
  std::uint32_t tabIndex = 0;  // 0 Preview, 1 Verify, 2 Capture

  friend bool operator==(const SettingsRecord&, const SettingsRecord&) = default;
};

// Byte offsets of the fields inside the record.
namespace settings_offset {
inline constexpr std::size_t kDepthIndex = 0;
inline constexpr std::size_t kMaskIndex = 4;
inline constexpr std::size_t kSizeIndex = 8;
inline constexpr std::size_t kViewMode = 12;
inline constexpr std::size_t kWorkingName = 16;
inline constexpr std::size_t kWorkingNameBytes = 256;
inline constexpr std::size_t kWorkingPath = 272;
inline constexpr std::size_t kWorkingPathBytes = 1024;
inline constexpr std::size_t kBackgroundColor = 1296;
inline constexpr std::size_t kBackgroundColors = 1300;
inline constexpr std::size_t kBackgroundIndex = 1364;
inline constexpr std::size_t kGridPositions = 1368;  // 8 bytes each: top, left, bottom, right
inline constexpr std::size_t kUseCustomTable = 1472;
inline constexpr std::size_t kCustomTable = 1476;
inline constexpr std::size_t kGenerateTableAutomatically = 2244;
inline constexpr std::size_t kShowToolTips = 2248;
inline constexpr std::size_t kSamePosition = 2252;
inline constexpr std::size_t kPngCompression = 2256;
inline constexpr std::size_t kTabIndex = 2260;
static_assert(kWorkingName + kWorkingNameBytes == kWorkingPath);
static_assert(kWorkingPath + kWorkingPathBytes == kBackgroundColor);
static_assert(kBackgroundColors + 16 * 4 == kBackgroundIndex);
static_assert(kGridPositions + kSettingsGridPositions * 8 == kUseCustomTable);
static_assert(kCustomTable + 3 * kColorTableEntries == kGenerateTableAutomatically);
static_assert(kTabIndex + 4 == kSettingsRecordSize);
}  // namespace settings_offset

// Exactly kSettingsRecordSize bytes. A name too long for its field is cut on a UTF-8 character
// boundary so that it still ends in a NUL; a path too long for its field is stored empty, since
// a cut one would name another file. The rest of a field is zero.
std::vector<std::uint8_t> EncodeSettings(const SettingsRecord& record);

// nullopt unless `bytes` is exactly kSettingsRecordSize long. A name field without a NUL is read
// up to the field's end and no further, a path field without one reads as empty; a nonzero flag
// counts as on. A selection that is none of the grid's slots is restored as the slot its
// usable fields lead to through the selection radios, 48 x 48 32-bit when none is usable.
std::optional<SettingsRecord> DecodeSettings(std::span<const std::uint8_t> bytes);

}  // namespace pictaro
