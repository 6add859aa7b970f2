// The block the plug-in keeps in the host's parameters handle. It carries the
// selected grid slot and the working file from Apply to the Apply step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/HostContext.h"
#include "model/GridSlot.h"

namespace pictaro {

struct FilterParameters {
  std::uint32_t marker;  // 1 each time the parameters selector runs
  std::uint32_t sizeIndex;
  std::uint32_t depthIndex;
  std::uint32_t maskIndex;
  std::uint32_t viewMode;
  std::uint32_t reserved;
  char fileName[256];   // workingName, NUL-terminated
  char filePath[1024];  // workingPath, NUL-terminated
};

static_assert(sizeof(FilterParameters) == 1304);
static_assert(offsetof(FilterParameters, sizeIndex) == 4);
static_assert(offsetof(FilterParameters, depthIndex) == 8);
static_assert(offsetof(FilterParameters, maskIndex) == 12);
static_assert(offsetof(FilterParameters, viewMode) == 16);
static_assert(offsetof(FilterParameters, reserved) == 20);
static_assert(offsetof(FilterParameters, fileName) == 24);
static_assert(offsetof(FilterParameters, filePath) == 280);

// The parameters selector: creates the block when the host keeps none, marks it.
// Leaves 0, -109 (no handle) or -50 (not lockable) in the result cell.
void PrepareParameters(HostContext& host);

// Apply: the selection and the working file go into the block. Returns false
// when the host keeps no block or it can't be locked (nothing is stored then).
// A name longer than its field is cut; a path too long for its field is stored
// empty, so that the Apply step never reads some other, truncated path.
bool StoreApplySelection(const HostContext& host, const GridSlot& slot, const std::string& name,
                         const std::string& path);

// The Apply step reads the selection and the path back. Returns 0, -109 when
// there is no block, -50 when it can't be locked.
int16 LoadApplySelection(const HostContext& host, GridSlot& slot, std::string& path);

}  // namespace pictaro
