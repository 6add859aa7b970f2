#include "platform/DemandPages.h"

#include <algorithm>

#include "platform/DemandPagesPlatform.h"

namespace pictaro {

bool DemandPagesPlatform::FillPageAt(const void* address) {
  const auto* at = static_cast<const std::uint8_t*>(address);
  const std::size_t pageSize = PageSize();
  for (DemandPages* pages : live) {
    if (pages == nullptr || at < pages->data_ || at >= pages->data_ + pages->size_) continue;
    const std::size_t page = static_cast<std::size_t>(at - pages->data_) / pageSize;
    // A page already filled faults only for some other reason.
    if (pages->touched_[page]) return false;
    std::uint8_t* start = pages->data_ + page * pageSize;
    if (!MakeUsable(start, pageSize)) return false;
    pages->touched_[page] = true;
    pages->fill_(page * pageSize, std::min(pageSize, pages->size_ - page * pageSize), start);
    return true;
  }
  return false;
}

DemandPages::DemandPages(std::uint8_t* data, std::size_t size, Fill fill)
    : data_(data),
      size_(size),
      fill_(std::move(fill)),
      touched_((size + DemandPagesPlatform::PageSize() - 1) / DemandPagesPlatform::PageSize()) {}

std::unique_ptr<DemandPages> DemandPages::Reserve(std::size_t size, Fill fill) {
  auto& live = DemandPagesPlatform::live;
  const auto slot = std::find(live.begin(), live.end(), nullptr);
  if (size == 0 || slot == live.end() || !DemandPagesPlatform::InstallHandler()) return nullptr;
  void* data = DemandPagesPlatform::ReserveSpace(size);
  if (data == nullptr) return nullptr;
  std::unique_ptr<DemandPages> pages(
      new DemandPages(static_cast<std::uint8_t*>(data), size, std::move(fill)));
  *slot = pages.get();
  return pages;
}

DemandPages::~DemandPages() {
  auto& live = DemandPagesPlatform::live;
  std::replace(live.begin(), live.end(), this, static_cast<DemandPages*>(nullptr));
  DemandPagesPlatform::ReleaseSpace(data_, size_);
}

void DemandPages::ForEachTouched(
    const std::function<void(std::size_t offset, std::size_t size)>& visit) const {
  const std::size_t pageSize = DemandPagesPlatform::PageSize();
  for (std::size_t page = 0; page < touched_.size();) {
    if (!touched_[page]) {
      ++page;
      continue;
    }
    const std::size_t first = page;
    while (page < touched_.size() && touched_[page]) ++page;
    visit(first * pageSize, std::min(page * pageSize, size_) - first * pageSize);
  }
}

}  // namespace pictaro
