#include "platform/WebPages.h"

#include <algorithm>

#include "platform/Utf8Path.h"

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

// file:///home/... on Linux, file:///C:/... on Windows: forward slashes, three before the path.
std::string FileUrl(const std::filesystem::path& file) {
  std::string path = Utf8FromPath(file);
  if constexpr (std::filesystem::path::preferred_separator == '\\') {
    std::replace(path.begin(), path.end(), '\\', '/');
  }
  std::string url = path.starts_with('/') ? "file://" : "file:///";
  url += path;
  return url;
}

}  // namespace

std::string WebPageAddress(int command) {
  for (const WebPage& page : kWebPages) {
    if (page.command != command) continue;
    if (page.address != nullptr) return page.address;
    return FileUrl(ModuleFolder() / "docs" / page.documentationPage);
  }
  return {};
}

}  // namespace pictaro
