#include "platform/Utf8Path.h"

#include "platform/windows/WideText.h"

namespace pictaro {

// Paths are UTF-16 here; the conversion is the system's, never the code page's.
std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(WideFromUtf8(utf8));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  return Utf8FromWide(path.native());
}

}  // namespace pictaro
