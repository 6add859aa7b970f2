// The two default colour tables, "COLORTABLE" 1015 and 1009: 256 entries of red, green, blue.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "resources/CompiledResources.h"

namespace pictaro::resources {

namespace {

using TableBytes = std::array<std::uint8_t, 768>;

constexpr void SetEntry(TableBytes& table, std::size_t index, std::uint32_t rgb) {
  table[3 * index] = static_cast<std::uint8_t>(rgb >> 16);
  table[3 * index + 1] = static_cast<std::uint8_t>(rgb >> 8);
  table[3 * index + 2] = static_cast<std::uint8_t>(rgb);
}

// The 16 colours of 4-bit icons, as RRGGBB; the entries after them stay black.
constexpr std::array<std::uint32_t, 16> kSixteenColors = {
    0xFF00FF, 0x800080, 0x0000FF, 0x000080, 0x00FFFF, 0x008080, 0x00FF00, 0x008000,
    0xFFFF00, 0x808000, 0xFF0000, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x000000};

constexpr TableBytes MakeTable16() {
  TableBytes table{};
  for (std::size_t i = 0; i < kSixteenColors.size(); ++i) SetEntry(table, i, kSixteenColors[i]);
  return table;
}

// The 6 x 6 x 6 cube levels, brightest first.
constexpr std::array<std::uint32_t, 6> kCubeLevels = {0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};
// The multiples of 0x11 that are not cube levels, brightest first.
constexpr std::array<std::uint32_t, 10> kRampLevels = {0xEE, 0xDD, 0xBB, 0xAA, 0x88,
                                                       0x77, 0x55, 0x44, 0x22, 0x11};

// The cube with red slowest and blue fastest, without its last colour (black); then the red,
// green, blue and grey ramps; black last.
constexpr TableBytes MakeTable256() {
  TableBytes table{};
  std::size_t index = 0;
  for (std::uint32_t red : kCubeLevels)
    for (std::uint32_t green : kCubeLevels)
      for (std::uint32_t blue : kCubeLevels)
        if (index < 215) SetEntry(table, index++, red << 16 | green << 8 | blue);
  for (std::uint32_t shift : {16u, 8u, 0u})
    for (std::uint32_t level : kRampLevels) SetEntry(table, index++, level << shift);
  for (std::uint32_t level : kRampLevels)
    SetEntry(table, index++, level << 16 | level << 8 | level);
  SetEntry(table, index, 0x000000);
  return table;
}

constexpr TableBytes kTable16 = MakeTable16();
constexpr TableBytes kTable256 = MakeTable256();

}  // namespace

// Listed by the resource registry.
std::span<const std::uint8_t> ColorTable16Resource() {
  return kTable16;
}

std::span<const std::uint8_t> ColorTable256Resource() {
  return kTable256;
}

}  // namespace pictaro::resources
