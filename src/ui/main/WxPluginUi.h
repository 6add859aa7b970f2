// The entry's windows on wxWidgets. wx is started for each selector call that
// needs windows and cleaned up after it, unless the process already runs wx.
#pragma once

#include <functional>
#include <memory>

#include "host/PluginUi.h"
#include "ui/main/HostWindowLink.h"
#include "ui/main/WxDesktop.h"

namespace pictaro {

class MainDialog;

class WxPluginUi : public PluginUi {
 public:
  bool Begin(intptr_t hostWindow) override;
  void End() override;
  void ShowAbout() override;
  void ShowWelcome() override;
  int RunMainWindow(HostContext& host, const std::filesystem::path& settingsFolder) override;
  Desktop& GetDesktop() override { return desktop_; }

  // Called with each main window just before its modal loop runs: lets a
  // scripted run (tests, screenshots) drive the window from inside the loop.
  void SetMainWindowDriver(std::function<void(MainDialog&)> driver) { driver_ = std::move(driver); }

 private:
  WxDesktop desktop_;
  bool ownsWx_ = false;
  std::unique_ptr<HostWindowLink> hostLink_;  // from Begin to End
  std::function<void(MainDialog&)> driver_;
};

// PluginMain on wx windows, with the Apply step of the module.
void WxPluginMain(int16 selector, FilterRecord* record, intptr_t* data, int16* result);

}  // namespace pictaro
