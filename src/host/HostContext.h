// The three cells through which every part of the plug-in reaches the host
// while a PluginMain call lasts.
#pragma once

#include <cstdint>

#include "host/FilterRecord.h"

namespace pictaro {

struct HostContext {
  FilterRecord* record = nullptr;
  intptr_t* data = nullptr;
  int16 result = kNoErr;
};

// The process-wide cells, refreshed on every entry into PluginMain.
HostContext& CurrentHost();

// The host's handle suite; a missing suite or operation counts as failed.
Handle NewHostHandle(const FilterRecord& record, int32 size);
Ptr LockHostHandle(const FilterRecord& record, Handle handle);
void UnlockHostHandle(const FilterRecord& record, Handle handle);

}  // namespace pictaro
