// A reserved range starts with every page inaccessible. The first access to a page faults; the
// SIGSEGV handler makes that page readable and writable, fills it and returns, and the access
// runs again. A fault anywhere else goes on to the handler that was there before.
#include "platform/DemandPages.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>

namespace pictaro {

struct DemandPagesPlatform {
  // The buffers alive; a fixed table, since the handler must not allocate to search it.
  static inline std::array<DemandPages*, 8> live{};
  static inline struct sigaction previous {};
  static inline bool installed = false;

  static std::size_t PageSize() {
    static const auto size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return size;
  }

  static bool FillPageAt(const void* address) {
    const auto* at = static_cast<const std::uint8_t*>(address);
    for (DemandPages* pages : live) {
      if (pages == nullptr || at < pages->data_ || at >= pages->data_ + pages->size_) continue;
      const std::size_t page = static_cast<std::size_t>(at - pages->data_) / PageSize();
      // A page already filled faults only for some other reason.
      if (pages->touched_[page]) return false;
      std::uint8_t* start = pages->data_ + page * PageSize();
      if (mprotect(start, PageSize(), PROT_READ | PROT_WRITE) != 0) return false;
      pages->touched_[page] = true;
      pages->fill_(page * PageSize(), std::min(PageSize(), pages->size_ - page * PageSize()),
                   start);
      return true;
    }
    return false;
  }

  static void OnFault(int signal, siginfo_t* info, void* context) {
    if (FillPageAt(info->si_addr)) return;
    if ((previous.sa_flags & SA_SIGINFO) != 0) {
      previous.sa_sigaction(signal, info, context);
    } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
      previous.sa_handler(signal);
    } else {
      // With the default back in place, the access faults again and ends the program as it
      // would have without this handler.
      struct sigaction standard {};
      standard.sa_handler = SIG_DFL;
      sigaction(SIGSEGV, &standard, nullptr);
    }
  }

  // Once for the process: handlers installed later may chain to this one, so it stays.
  static bool Install() {
    if (installed) return true;
    struct sigaction action {};
    action.sa_sigaction = &OnFault;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    installed = sigaction(SIGSEGV, &action, &previous) == 0;
    return installed;
  }
};

DemandPages::DemandPages(std::uint8_t* data, std::size_t size, Fill fill)
    : data_(data),
      size_(size),
      fill_(std::move(fill)),
      touched_((size + DemandPagesPlatform::PageSize() - 1) / DemandPagesPlatform::PageSize()) {}

std::unique_ptr<DemandPages> DemandPages::Reserve(std::size_t size, Fill fill) {
  auto& live = DemandPagesPlatform::live;
  const auto slot = std::find(live.begin(), live.end(), nullptr);
  if (size == 0 || slot == live.end() || !DemandPagesPlatform::Install()) return nullptr;
  void* data = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (data == MAP_FAILED) return nullptr;
  std::unique_ptr<DemandPages> pages(
      new DemandPages(static_cast<std::uint8_t*>(data), size, std::move(fill)));
  *slot = pages.get();
  return pages;
}

DemandPages::~DemandPages() {
  auto& live = DemandPagesPlatform::live;
  std::replace(live.begin(), live.end(), this, static_cast<DemandPages*>(nullptr));
  munmap(data_, size_);
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
