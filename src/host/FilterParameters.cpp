#include "host/FilterParameters.h"

#include <algorithm>
#include <cstring>

namespace pictaro {
namespace {

constexpr std::size_t kFileNameOffset = offsetof(FilterParameters, fileName);
constexpr std::size_t kFilePathOffset = offsetof(FilterParameters, filePath);

void WriteU32(char* block, std::size_t offset, std::uint32_t value) {
  std::memcpy(block + offset, &value, sizeof value);
}

std::uint32_t ReadU32(const char* block, std::size_t offset) {
  std::uint32_t value;
  std::memcpy(&value, block + offset, sizeof value);
  return value;
}

// The host's memory may be unaligned: every access goes through memcpy.
void WriteSlot(char* block, const GridSlot& slot) {
  WriteU32(block, offsetof(FilterParameters, sizeIndex), slot.sizeIndex);
  WriteU32(block, offsetof(FilterParameters, depthIndex), slot.depthIndex);
  WriteU32(block, offsetof(FilterParameters, maskIndex), slot.maskIndex);
  WriteU32(block, offsetof(FilterParameters, viewMode), slot.viewMode);
}

void WriteText(char* field, std::size_t room, const std::string& text) {
  const std::size_t length = std::min(text.size(), room - 1);
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

// A block that a host restored from some other version may be shorter than
// ours: it is grown when the host can say its size, and refused when it can't
// be grown. Without a size operation the host's block is taken as it is.
enum class BlockFit { Fits, Grown, TooSmall };

BlockFit FitBlock(const FilterRecord& record, Handle handle) {
  const HandleProcs* procs = record.handleProcs;
  if (procs == nullptr || procs->getSizeProc == nullptr) return BlockFit::Fits;
  if (procs->getSizeProc(handle) >= static_cast<int32>(sizeof(FilterParameters))) {
    return BlockFit::Fits;
  }
  if (procs->setSizeProc == nullptr ||
      procs->setSizeProc(handle, sizeof(FilterParameters)) != kNoErr) {
    return BlockFit::TooSmall;
  }
  return BlockFit::Grown;
}

}  // namespace

void PrepareParameters(HostContext& host) {
  FilterRecord& record = *host.record;
  bool isNew = false;
  if (record.parameters != nullptr) {
    const BlockFit fit = FitBlock(record, record.parameters);
    if (fit == BlockFit::TooSmall) {
      host.result = kParamErr;
      return;
    }
    isNew = fit == BlockFit::Grown;
  } else {
    Handle handle = NewHostHandle(record, sizeof(FilterParameters));
    if (handle == nullptr) {
      host.result = kNilHandleErr;
      return;
    }
    record.parameters = handle;
    isNew = true;
  }
  char* block = LockHostHandle(record, record.parameters);
  if (block == nullptr) {
    host.result = kParamErr;
    return;
  }
  WriteU32(block, offsetof(FilterParameters, marker), 1);
  if (isNew) {
    std::memset(block + offsetof(FilterParameters, sizeIndex), 0, 20);
    block[kFileNameOffset] = '\0';
    block[kFilePathOffset] = '\0';
  }
  UnlockHostHandle(record, record.parameters);
}

bool StoreApplySelection(const HostContext& host, const GridSlot& slot, const std::string& name,
                         const std::string& path) {
  if (host.record == nullptr) return false;
  const FilterRecord& record = *host.record;
  if (record.parameters == nullptr || FitBlock(record, record.parameters) == BlockFit::TooSmall) {
    return false;
  }
  char* block = LockHostHandle(record, record.parameters);
  if (block == nullptr) return false;
  WriteSlot(block, slot);
  WriteText(block + kFileNameOffset, sizeof(FilterParameters::fileName), name);
  const bool pathFits = path.size() < sizeof(FilterParameters::filePath);
  WriteText(block + kFilePathOffset, sizeof(FilterParameters::filePath), pathFits ? path : "");
  UnlockHostHandle(record, record.parameters);
  return true;
}

int16 LoadApplySelection(const HostContext& host, GridSlot& slot, std::string& path) {
  const FilterRecord& record = *host.record;
  if (record.parameters == nullptr) return kNilHandleErr;
  if (FitBlock(record, record.parameters) == BlockFit::TooSmall) return kParamErr;
  const char* block = LockHostHandle(record, record.parameters);
  if (block == nullptr) return kParamErr;
  slot.sizeIndex = ReadU32(block, offsetof(FilterParameters, sizeIndex));
  slot.depthIndex = ReadU32(block, offsetof(FilterParameters, depthIndex));
  slot.maskIndex = ReadU32(block, offsetof(FilterParameters, maskIndex));
  slot.viewMode = ReadU32(block, offsetof(FilterParameters, viewMode));
  const char* field = block + kFilePathOffset;
  path.assign(field, strnlen(field, sizeof(FilterParameters::filePath)));
  UnlockHostHandle(record, record.parameters);
  return kNoErr;
}

}  // namespace pictaro
