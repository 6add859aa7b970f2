#include "platform/FileRequestRules.h"

#include <vector>

#include "platform/Utf8Path.h"

namespace pictaro {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  for (;;) {
    const auto end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

// GTK matches "*.*" literally, which would hide names without a dot.
std::string WidenPatterns(const std::string& patterns) {
  std::string widened;
  for (const std::string& pattern : Split(patterns, ';')) {
    if (!widened.empty()) widened += ';';
    widened += pattern == "*.*" ? "*" : pattern;
  }
  return widened;
}

}  // namespace

std::string ToWildcard(const std::string& filter) {
  const std::vector<std::string> parts = Split(filter, '|');
  std::string wildcard;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i + 1].empty()) break;  // the "||" that ends the list
    if (!wildcard.empty()) wildcard += '|';
    wildcard += parts[i] + '|' + WidenPatterns(parts[i + 1]);
  }
  return wildcard;
}

std::filesystem::path InitialFolder(const std::string& requested,
                                    const std::filesystem::path& fallback) {
  std::filesystem::path path = PathFromUtf8(requested);
  if (!path.is_absolute()) return fallback;
  std::error_code ignored;
  for (;;) {
    if (std::filesystem::is_directory(path, ignored)) return path;
    const std::filesystem::path parent = path.parent_path();
    if (parent == path) return fallback;
    path = parent;
  }
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  if (extension.empty() || PathFromUtf8(path).has_extension()) return path;
  return path + '.' + extension;
}

}  // namespace pictaro
