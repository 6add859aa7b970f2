// The host's rectangle and integer widths, shared by the layer pixels, the grid positions and
// the host's record: four signed 16-bit values in the order top, left, bottom, right.
#pragma once

#include <cstdint>

namespace pictaro {

using int16 = std::int16_t;
using int32 = std::int32_t;

struct Rect {
  int16 top;
  int16 left;
  int16 bottom;
  int16 right;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

static_assert(sizeof(Rect) == 8);

}  // namespace pictaro
