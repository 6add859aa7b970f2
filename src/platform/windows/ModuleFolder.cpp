#include <windows.h>

#include <string>

#include "platform/WebPages.h"
#include "platform/windows/ModuleFile.h"

namespace pictaro {

std::filesystem::path ModuleFile(HMODULE module) {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) return name.substr(0, length);
    // Cut short: a long path needs a larger buffer.
    name.resize(name.size() * 2);
  }
}

std::filesystem::path ModuleFolder() {
  // The module that holds this function (the plug-in, or the program it is linked into), not
  // the host program.
  HMODULE module = nullptr;
  if (!::GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&ModuleFolder), &module)) {
    return {};
  }
  return ModuleFile(module).parent_path();
}

}  // namespace pictaro
