// Colour tables: 256 entries of red, green, blue. The two default tables are the plug-in's
// "COLORTABLE" resources; the custom one comes from an .act file or from the layer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pictaro {

inline constexpr std::size_t kColorTableEntries = 256;
using ColorTable = std::array<std::uint8_t, 3 * kColorTableEntries>;

inline constexpr int kColorTable16 = 1015;   // the 16-colour table (entries 16 to 255 black)
inline constexpr int kColorTable256 = 1009;  // the 256-colour table
inline constexpr const char* kColorTableType = "COLORTABLE";

// Loads a default table from the resources; false when it is missing or not exactly 768 bytes.
bool LoadDefaultColorTable(int id, ColorTable& table);

// The index of the table colour nearest to (red, green, blue) among the first `entries`:
// smallest sum of squared channel differences, the lowest index on a tie, so an exact match
// always wins.
int NearestColorIndex(const ColorTable& table, int entries, std::uint8_t red, std::uint8_t green,
                      std::uint8_t blue);

// The custom table before anything fills it: entry i is (i, i, i).
ColorTable GreyRampTable();

}  // namespace pictaro
