// The windows the entry opens, behind a small seam so that the entry runs
// against a fake without a display and against wxWidgets in the module.
#pragma once

#include <filesystem>

#include "host/HostContext.h"
#include "platform/Desktop.h"

namespace pictaro {

// Outcomes of the main window.
inline constexpr int kMainWindowFailed = -1;
inline constexpr int kMainWindowApply = 1;
inline constexpr int kMainWindowDone = 2;

class PluginUi {
 public:
  virtual ~PluginUi() = default;
  // Starts the window system for one selector call; false when it can't. `hostWindow` is the
  // host's window from the record's platformData (0 when it gives none): the windows opened
  // until End stay above it as its dialogs, where the window system allows.
  virtual bool Begin(intptr_t hostWindow) = 0;
  // Cleans up after Begin, whatever it answered.
  virtual void End() = 0;
  virtual void ShowAbout() = 0;
  virtual void ShowWelcome() = 0;
  // Runs the main window modally, its settings kept in `settingsFolder`: kMainWindowFailed,
  // kMainWindowApply, kMainWindowDone (or any other value, which the entry ignores).
  virtual int RunMainWindow(HostContext& host, const std::filesystem::path& settingsFolder) = 0;
  // Message boxes; usable also when Begin failed.
  virtual Desktop& GetDesktop() = 0;
};

}  // namespace pictaro
