#include "platform/Utf8Path.h"

namespace pictaro {

// Names are bytes here, taken as they are.
std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(utf8);
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  return path.string();
}

}  // namespace pictaro
