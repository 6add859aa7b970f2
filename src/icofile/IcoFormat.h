// The fixed numbers of the .ico layout shared by the reader and the writer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pictaro::ico {

inline constexpr std::size_t kHeaderSize = 6;  // reserved, type, count: three 16-bit words
inline constexpr std::size_t kEntrySize = 16;  // one directory entry
inline constexpr std::uint16_t kTypeIcon = 1;
inline constexpr std::array<std::uint8_t, 4> kPngSignature = {0x89, 0x50, 0x4E, 0x47};

// Directory entry field offsets.
inline constexpr std::size_t kEntryWidth = 0;
inline constexpr std::size_t kEntryHeight = 1;
inline constexpr std::size_t kEntryColorCount = 2;
inline constexpr std::size_t kEntryPlanes = 4;
inline constexpr std::size_t kEntryBitCount = 6;
inline constexpr std::size_t kEntryBytes = 8;
inline constexpr std::size_t kEntryOffset = 12;

}  // namespace pictaro::ico
