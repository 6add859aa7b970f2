// A reserved range starts with every page inaccessible. The first access to a page faults; the
// SIGSEGV handler makes that page readable and writable, fills it and returns, and the access
// runs again. A fault anywhere else goes on to the handler that was there before.
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/DemandPagesPlatform.h"

namespace pictaro {
namespace {

struct sigaction previous {};

void OnFault(int signal, siginfo_t* info, void* context) {
  if (DemandPagesPlatform::FillPageAt(info->si_addr)) return;
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

}  // namespace

std::size_t DemandPagesPlatform::PageSize() {
  static const auto size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return size;
}

// Handlers installed later may chain to this one, so it stays.
bool DemandPagesPlatform::InstallHandler() {
  static const bool installed = [] {
    struct sigaction action {};
    action.sa_sigaction = &OnFault;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGSEGV, &action, &previous) == 0;
  }();
  return installed;
}

void* DemandPagesPlatform::ReserveSpace(std::size_t size) {
  void* data = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  return data == MAP_FAILED ? nullptr : data;
}

bool DemandPagesPlatform::MakeUsable(void* page, std::size_t size) {
  return mprotect(page, size, PROT_READ | PROT_WRITE) == 0;
}

void DemandPagesPlatform::ReleaseSpace(void* data, std::size_t size) {
  munmap(data, size);
}

}  // namespace pictaro
