// The plug-in's own resources (colour tables, cursors, bitmaps), compiled in and looked up by
// type and id, as a module's resources are. Tests can hide or replace one to reach the paths
// where it is missing or damaged.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace pictaro {

// The bytes of resource (type, id), or nullopt when there is none.
std::optional<std::span<const std::uint8_t>> FindResource(std::string_view type, int id);

// While it lives, resource (type, id) is replaced by `bytes`, or missing for nullopt.
class ResourceOverride {
 public:
  ResourceOverride(std::string_view type, int id, std::optional<std::vector<std::uint8_t>> bytes);
  ~ResourceOverride();
  ResourceOverride(const ResourceOverride&) = delete;
  ResourceOverride& operator=(const ResourceOverride&) = delete;
};

}  // namespace pictaro
