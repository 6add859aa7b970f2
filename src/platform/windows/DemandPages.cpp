// No filling on demand on Windows yet: Reserve refuses, and the host engine delivers every buffer
// whole, up to its limit.
#include "platform/DemandPages.h"

namespace pictaro {

std::unique_ptr<DemandPages> DemandPages::Reserve(std::size_t, Fill) {
  return nullptr;
}

DemandPages::~DemandPages() = default;

void DemandPages::ForEachTouched(const std::function<void(std::size_t, std::size_t)>&) const {}

}  // namespace pictaro
