// What DemandPages shares between platforms, and the few calls each platform gives: address
// space reserved without memory, a page made usable, and a handler that runs FillPageAt for an
// access to a page not yet usable.
#pragma once

#include <array>
#include <cstddef>

#include "platform/DemandPages.h"

namespace pictaro {

struct DemandPagesPlatform {
  // The buffers alive; a fixed table, since the fault handler must not allocate to search it.
  static inline std::array<DemandPages*, 8> live{};

  // Makes the page at `address` usable and fills it, when it is a page of a live buffer not yet
  // touched; false for any other address, whose fault is not ours.
  static bool FillPageAt(const void* address);

  // The platform's part.
  static std::size_t PageSize();
  static bool InstallHandler();  // once for the process
  static void* ReserveSpace(std::size_t size);
  static bool MakeUsable(void* page, std::size_t size);
  static void ReleaseSpace(void* data, std::size_t size);
};

}  // namespace pictaro
