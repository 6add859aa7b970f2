#include "hostengine/display/DisplayAvailable.h"

#ifndef _WIN32
#include <X11/Xlib.h>

#include <cstdlib>
#endif

namespace pictaro {

bool DisplayAvailable() {
#ifdef _WIN32
  return true;
#else
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (wayland != nullptr && *wayland != '\0') return true;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  XCloseDisplay(display);
  return true;
#endif
}

}  // namespace pictaro
