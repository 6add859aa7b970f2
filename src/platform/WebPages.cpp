#include "platform/WebPages.h"

#include <dlfcn.h>

#include <system_error>

namespace pictaro {
namespace {

struct WebPage {
  int command;
  const char* documentationPage;  // in the module's docs folder, or null
  const char* address;            // a public page, or null
};

constexpr WebPage kWebPages[] = {
    {32804, "product.html", nullptr},
    {32805, "support.html", nullptr},
    {32833, "developer.html", nullptr},
    {32821, nullptr, "https://learn.microsoft.com/en-us/previous-versions/ms997636(v=msdn.10)"},
    {32835, nullptr, "https://learn.microsoft.com/en-us/windows/win32/uxguide/vis-icons"},
    {32832, nullptr, "https://learn.microsoft.com/en-us/windows/win32/uxguide/guidelines"},
    {32790, "index.html", nullptr},
};

}  // namespace

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

std::string WebPageAddress(int command) {
  for (const WebPage& page : kWebPages) {
    if (page.command != command) continue;
    if (page.address != nullptr) return page.address;
    return "file://" + (ModuleFolder() / "docs" / page.documentationPage).string();
  }
  return {};
}

}  // namespace pictaro
