#include <dlfcn.h>

#include <system_error>

#include "platform/WebPages.h"

namespace pictaro {

std::filesystem::path ModuleFolder() {
  std::error_code error;
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ModuleFolder), &info) != 0 && info.dli_fname != nullptr &&
      *info.dli_fname != '\0') {
    const std::filesystem::path module = std::filesystem::canonical(info.dli_fname, error);
    if (!error) return module.parent_path();
  }
  // Linked into the program itself: the program's folder.
  const std::filesystem::path program = std::filesystem::canonical("/proc/self/exe", error);
  return error ? std::filesystem::path() : program.parent_path();
}

}  // namespace pictaro
