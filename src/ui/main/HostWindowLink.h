// Makes the top-level windows the module opens the host's dialogs while a selector call runs, so
// that they stay above the host's window and window managers treat them as its own. Only wxGTK on
// an X11 display can name another program's window; elsewhere the link does nothing.
#pragma once

#include <cstdint>

namespace pictaro {

class HostWindowLink {
 public:
  // `hostWindow` is the host's X11 window id; 0, or an id that names no window, links nothing.
  explicit HostWindowLink(intptr_t hostWindow);
  ~HostWindowLink();
  HostWindowLink(const HostWindowLink&) = delete;
  HostWindowLink& operator=(const HostWindowLink&) = delete;

 private:
  unsigned signal_ = 0;
  unsigned long hook_ = 0;
};

}  // namespace pictaro
