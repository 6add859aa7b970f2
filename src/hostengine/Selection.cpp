#include <charconv>
#include <cstdint>

#include "hostengine/HostEngine.h"

namespace pictaro {

namespace {

bool ParseInt16(std::string_view text, int16& value) {
  int parsed = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return false;
  if (parsed < INT16_MIN || parsed > INT16_MAX) return false;
  value = static_cast<int16>(parsed);
  return true;
}

}  // namespace

std::optional<Rect> ParseSelection(std::string_view text) {
  int16 values[4] = {};
  for (int i = 0; i < 4; ++i) {
    const std::size_t comma = text.find(',');
    if ((i < 3) != (comma != std::string_view::npos)) return std::nullopt;
    if (!ParseInt16(text.substr(0, comma), values[i])) return std::nullopt;
    text = i < 3 ? text.substr(comma + 1) : std::string_view();
  }
  const Rect rect{values[1], values[0], values[3], values[2]};
  if (rect.Empty()) return std::nullopt;
  return rect;
}

bool SelectionInside(const Rect& s, int width, int height) {
  return s.left >= 0 && s.top >= 0 && s.right <= width && s.bottom <= height;
}

}  // namespace pictaro
