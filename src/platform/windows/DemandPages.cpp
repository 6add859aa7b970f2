// A reserved range starts with no page committed. The first access to a page raises an access
// violation; a vectored handler, which runs before any frame's handler, commits that page, fills
// it and has the access run again. Any other exception goes on to the handlers after it.
#include <windows.h>

#include "platform/DemandPagesPlatform.h"

namespace pictaro {
namespace {

LONG CALLBACK OnFault(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  const bool ours = record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION &&
                    record.NumberParameters >= 2 &&
                    DemandPagesPlatform::FillPageAt(
                        reinterpret_cast<const void*>(record.ExceptionInformation[1]));
  return ours ? EXCEPTION_CONTINUE_EXECUTION : EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

std::size_t DemandPagesPlatform::PageSize() {
  static const std::size_t size = [] {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return static_cast<std::size_t>(info.dwPageSize);
  }();
  return size;
}

bool DemandPagesPlatform::InstallHandler() {
  static const bool installed = AddVectoredExceptionHandler(1, &OnFault) != nullptr;
  return installed;
}

void* DemandPagesPlatform::ReserveSpace(std::size_t size) {
  return VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
}

bool DemandPagesPlatform::MakeUsable(void* page, std::size_t size) {
  return VirtualAlloc(page, size, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

void DemandPagesPlatform::ReleaseSpace(void* data, std::size_t) {
  VirtualFree(data, 0, MEM_RELEASE);
}

}  // namespace pictaro
