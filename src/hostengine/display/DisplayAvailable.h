// Whether the plug-in's windows have a display to open on.
#pragma once

namespace pictaro {

// On Linux: a Wayland display is named, or the X display opens. Windows always has its desktop.
// A front end asks before running the plug-in, so that a run nobody can see fails as such
// rather than ending as if the user had cancelled.
bool DisplayAvailable();

// The explanation a front end gives when there is none.
inline constexpr const char* kNoDisplayMessage =
    "no display to open its window on (DISPLAY is not set or can't be opened)";

}  // namespace pictaro
