// Memory filled on demand: address space whose pages cost nothing until the program first reads
// or writes them, when a fill function writes their bytes. For buffers asked for whole but used
// in part, such as a filter area's pixels of which the plug-in touches one icon's worth.
// Single-threaded, like the host that uses it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace pictaro {

class DemandPages {
 public:
  // Writes the `size` bytes from `offset` of the buffer to `to`; runs at the first touch of a
  // page, so it must not touch this buffer's other pages.
  using Fill = std::function<void(std::size_t offset, std::size_t size, std::uint8_t* to)>;

  // `size` bytes of address space; null where the platform can't fill memory on demand or has no
  // room for it.
  static std::unique_ptr<DemandPages> Reserve(std::size_t size, Fill fill);
  ~DemandPages();
  DemandPages(const DemandPages&) = delete;
  DemandPages& operator=(const DemandPages&) = delete;

  std::uint8_t* Data() const { return data_; }
  // Calls `visit(offset, size)` for each run of pages touched so far, in order.
  void ForEachTouched(const std::function<void(std::size_t offset, std::size_t size)>& visit) const;

 private:
  friend struct DemandPagesPlatform;  // the platform's fault handling
  DemandPages(std::uint8_t* data, std::size_t size, Fill fill);

  std::uint8_t* data_;
  std::size_t size_;
  Fill fill_;
  std::vector<bool> touched_;  // by page
};

}  // namespace pictaro
