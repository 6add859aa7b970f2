// Feeds arbitrary bytes to ParseResource as an icon image read from a file. Whatever it accepts,
// every byte of the table, colour bitmap and mask it reports is read back, so that a view
// reaching past the block shows up under AddressSanitizer.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/BitmapInfoHeader.h"
#include "model/ResourceGrid.h"

namespace {

volatile std::uint32_t sink;

std::uint32_t Sum(const std::uint8_t* bytes, std::uint64_t count) {
  std::uint32_t sum = 0;
  for (std::uint64_t i = 0; i < count; ++i) sum += bytes[i];
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pictaro;
  IconResource resource;
  if (resource.AdoptBlock(std::vector<std::uint8_t>(data, data + size)) == 0) return 0;
  if (ResourceGrid::ParseResource(&resource) != 1) return 0;

  // The sizes come from what the resource reports, not from the parser's own offsets.
  const std::uint64_t colorBytes = resource.height * RowBytes(resource.width, resource.depth);
  const std::uint64_t maskBytes = resource.height * RowBytes(resource.width, 1);
  std::uint32_t sum = Sum(resource.header, kBitmapInfoHeaderSize);
  sum += Sum(resource.colorBits - 4 * std::size_t{resource.colorCount}, 4 * resource.colorCount);
  sum += Sum(resource.colorBits, colorBytes);
  sum += Sum(resource.maskBits, maskBytes);
  sink = sum;
  return 0;
}
