// The bytes of each compiled-in resource, registered by type and id in ResourceRegistry.cpp.
#pragma once

#include <cstdint>
#include <span>

namespace pictaro::resources {

// "COLORTABLE" 1015 and 1009: 768 bytes of red, green, blue each.
std::span<const std::uint8_t> ColorTable16Resource();
std::span<const std::uint8_t> ColorTable256Resource();

}  // namespace pictaro::resources
