#include "model/ColorTable.h"

#include <algorithm>

#include "resources/ResourceRegistry.h"

namespace pictaro {

bool LoadDefaultColorTable(int id, ColorTable& table) {
  const auto bytes = FindResource(kColorTableType, id);
  if (!bytes || bytes->size() != table.size()) return false;
  std::copy(bytes->begin(), bytes->end(), table.begin());
  return true;
}

int NearestColorIndex(const ColorTable& table, int entries, std::uint8_t red, std::uint8_t green,
                      std::uint8_t blue) {
  const int count = std::clamp(entries, 0, static_cast<int>(kColorTableEntries));
  int best = 0;
  int bestDistance = 3 * 255 * 255 + 1;
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* entry = table.data() + 3 * i;
    const int dr = entry[0] - red;
    const int dg = entry[1] - green;
    const int db = entry[2] - blue;
    const int distance = dr * dr + dg * dg + db * db;
    // Strictly nearer only, so the lowest index keeps a tie.
    if (distance < bestDistance) {
      if (distance == 0) return i;
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

ColorTable GreyRampTable() {
  ColorTable table{};
  for (std::size_t i = 0; i < kColorTableEntries; ++i) {
    const auto level = static_cast<std::uint8_t>(i);
    table[3 * i] = table[3 * i + 1] = table[3 * i + 2] = level;
  }
  return table;
}

}  // namespace pictaro
