// Feeds arbitrary bytes to the property-list reader as the resource of a module a host is about
// to load. Whatever it accepts is read through every accessor a host uses, so that a property
// read past its data shows up under AddressSanitizer.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "hostengine/PluginProperties.h"

namespace {

volatile std::size_t sink;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pictaro;
  std::string error;
  const std::optional<PluginProperties> list =
      PluginProperties::Parse(std::span<const std::uint8_t>(data, size), error);
  if (!list) return 0;
  std::size_t seen = MenuText(*list).size() + list->EntryPoint().size() +
                     list->EnableExpression().size() + list->Kind().value_or(0) +
                     (list->SupportsRgb() ? 1 : 0) + FilterRefusal(*list, "m").size();
  for (int16 filterCase = 0; filterCase <= 8; ++filterCase) {
    if (const std::optional<FilterCaseInfo> info = list->CaseInfo(filterCase)) {
      seen += info->inputHandling + info->outputHandling + info->flags1 + info->flags2;
    }
    seen += LayerRefusal(*list, filterCase, "m").size();
  }
  sink = seen;
  return 0;
}
