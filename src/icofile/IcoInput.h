// What the .ico reader reads from: a file, or bytes in memory. The reader never trusts a count,
// offset or length it reads; it holds each against Size() before it allocates or reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pictaro {

class IcoInput {
 public:
  virtual ~IcoInput() = default;
  // Bytes the input holds.
  virtual std::uint64_t Size() const = 0;
  virtual bool Seek(std::uint64_t offset) = 0;
  // Reads up to `bytes`; fewer only at the end of the input. -1 when the read fails.
  virtual std::int64_t Read(std::uint8_t* into, std::size_t bytes) = 0;
  // Sizes a buffer for bytes about to be read; false when memory runs out.
  virtual bool Allocate(std::vector<std::uint8_t>& buffer, std::size_t bytes);
};

// An input over bytes the caller keeps alive.
class MemoryIcoInput : public IcoInput {
 public:
  MemoryIcoInput(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool Seek(std::uint64_t offset) override;
  std::int64_t Read(std::uint8_t* into, std::size_t bytes) override;

 private:
  const std::uint8_t* bytes_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// Opens a regular file for reading, `path` in UTF-8; null when it cannot be opened or is not a
// regular file (a pipe or device could block the reader or never end). One per platform, in
// icofile/posix and icofile/windows.
std::unique_ptr<IcoInput> OpenIcoFile(const std::string& path);

}  // namespace pictaro
