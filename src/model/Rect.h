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

// The part two rectangles share; empty (all 0) when they share none.
inline Rect Intersection(const Rect& a, const Rect& b) {
  const Rect shared{a.top > b.top ? a.top : b.top, a.left > b.left ? a.left : b.left,
                    a.bottom < b.bottom ? a.bottom : b.bottom,
                    a.right < b.right ? a.right : b.right};
  return shared.Empty() ? Rect{} : shared;
}

// The smallest rectangle holding both; an empty one adds nothing.
inline Rect Bounds(const Rect& a, const Rect& b) {
  if (a.Empty()) return b.Empty() ? Rect{} : b;
  if (b.Empty()) return a;
  return {a.top < b.top ? a.top : b.top, a.left < b.left ? a.left : b.left,
          a.bottom > b.bottom ? a.bottom : b.bottom, a.right > b.right ? a.right : b.right};
}

}  // namespace pictaro
