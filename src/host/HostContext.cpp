#include "host/HostContext.h"

namespace pictaro {

HostContext& CurrentHost() {
  static HostContext context;
  return context;
}

Handle NewHostHandle(const FilterRecord& record, int32 size) {
  const HandleProcs* procs = record.handleProcs;
  if (procs == nullptr || procs->newProc == nullptr) return nullptr;
  return procs->newProc(size);
}

Ptr LockHostHandle(const FilterRecord& record, Handle handle) {
  const HandleProcs* procs = record.handleProcs;
  if (handle == nullptr || procs == nullptr || procs->lockProc == nullptr) return nullptr;
  return procs->lockProc(handle, 1);
}

void UnlockHostHandle(const FilterRecord& record, Handle handle) {
  const HandleProcs* procs = record.handleProcs;
  if (handle == nullptr || procs == nullptr || procs->unlockProc == nullptr) return;
  procs->unlockProc(handle);
}

}  // namespace pictaro
