#include "model/IconResource.h"

#include <limits>
#include <utility>

namespace pictaro {

int IconResource::AdoptBlock(std::vector<std::uint8_t> bytes) {
  if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) return 0;
  ReleaseBlock();
  present = 0;
  blockSize = static_cast<std::uint32_t>(bytes.size());
  block = std::move(bytes);
  return 1;
}

void IconResource::ReleaseBlock() {
  // Swapping with an empty vector returns the memory, which clear() would keep.
  std::vector<std::uint8_t>().swap(block);
  header = nullptr;
  colorBits = nullptr;
  maskBits = nullptr;
  colorCount = 0;
}

}  // namespace pictaro
