#include "icofile/IcoInput.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace pictaro {

bool IcoInput::Allocate(std::vector<std::uint8_t>& buffer, std::size_t bytes) {
  try {
    buffer.assign(bytes, 0);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
}

bool MemoryIcoInput::Seek(std::uint64_t offset) {
  // Like a file, the position may lie past the end; reads there return nothing.
  position_ = static_cast<std::size_t>(std::min<std::uint64_t>(offset, size_));
  return true;
}

std::int64_t MemoryIcoInput::Read(std::uint8_t* into, std::size_t bytes) {
  const std::size_t count = std::min(bytes, size_ - position_);
  if (count > 0) std::memcpy(into, bytes_ + position_, count);
  position_ += count;
  return static_cast<std::int64_t>(count);
}

}  // namespace pictaro
