#include "resources/ResourceRegistry.h"

#include <array>
#include <string>
#include <utility>

#include "model/ColorTable.h"
#include "resources/CompiledResources.h"
#include "resources/ImageResources.h"

namespace pictaro {

namespace {

struct CompiledResource {
  std::string_view type;
  int id;
  std::span<const std::uint8_t> (*bytes)();
};

struct Override {
  const ResourceOverride* owner;
  std::string type;
  int id;
  std::optional<std::vector<std::uint8_t>> bytes;
};

// Constant-initialised, so lookups from other static initialisers find it; naming the data
// here also keeps it linked in from the static library.
constexpr std::array<CompiledResource, 6> kCompiledResources = {{
    {kColorTableType, kColorTable16, resources::ColorTable16Resource},
    {kColorTableType, kColorTable256, resources::ColorTable256Resource},
    {kCursorType, kCursorHand, resources::HandCursorResource},
    {kCursorType, kCursorMove, resources::MoveCursorResource},
    {kBitmapType, kBitmapLogo, resources::LogoBitmapResource},
    {kBitmapType, kBitmapBullet, resources::BulletBitmapResource},
}};

// Created on first use for the same reason.
std::vector<Override>& Overrides() {
  static std::vector<Override> overrides;
  return overrides;
}

}  // namespace

std::optional<std::span<const std::uint8_t>> FindResource(std::string_view type, int id) {
  // The newest override of a resource wins.
  const std::vector<Override>& overrides = Overrides();
  for (auto it = overrides.rbegin(); it != overrides.rend(); ++it) {
    if (it->type != type || it->id != id) continue;
    if (!it->bytes) return std::nullopt;
    return std::span<const std::uint8_t>(*it->bytes);
  }
  for (const CompiledResource& resource : kCompiledResources) {
    if (resource.type == type && resource.id == id) return resource.bytes();
  }
  return std::nullopt;
}

ResourceOverride::ResourceOverride(std::string_view type, int id,
                                   std::optional<std::vector<std::uint8_t>> bytes) {
  Overrides().push_back({this, std::string(type), id, std::move(bytes)});
}

ResourceOverride::~ResourceOverride() {
  // Overrides need not end in the order they began.
  std::vector<Override>& overrides = Overrides();
  for (auto it = overrides.begin(); it != overrides.end(); ++it) {
    if (it->owner == this) {
      overrides.erase(it);
      return;
    }
  }
}

}  // namespace pictaro
