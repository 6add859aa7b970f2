#include "ui/main/WxPluginUi.h"

#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <exception>

#include "host/LayerAccess.h"
#include "host/PluginEntry.h"
#include "platform/FirstRun.h"
#include "ui/main/MainDialog.h"
#include "ui/main/SmallDialogs.h"

namespace pictaro {
namespace {

class PluginApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

// wx's own assertion dialog would block a run that nobody watches.
void ReportAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
  std::fprintf(stderr, "Pictaro: wx assertion %s failed in %s (%s:%d) %s\n",
               cond.utf8_string().c_str(), func.utf8_string().c_str(), file.utf8_string().c_str(),
               line, msg.utf8_string().c_str());
}

}  // namespace

bool WxPluginUi::Begin(intptr_t hostWindow) {
  wxSetAssertHandler(ReportAssert);
  if (wxTheApp != nullptr) {
    ownsWx_ = false;
    hostLink_ = std::make_unique<HostWindowLink>(hostWindow);
    return true;
  }
  wxApp::SetInstance(new PluginApp);
  int argc = 1;
  char name[] = "Pictaro";
  char* argv[] = {name, nullptr};
  if (!wxEntryStart(argc, argv)) {
    // wxEntryStart has already disposed of the app object.
    return false;
  }
  ownsWx_ = true;
  if (!wxTheApp->CallOnInit()) {
    End();
    return false;
  }
  wxLog::EnableLogging(false);
  hostLink_ = std::make_unique<HostWindowLink>(hostWindow);
  return true;
}

void WxPluginUi::End() {
  hostLink_.reset();
  if (ownsWx_) {
    ownsWx_ = false;
    wxEntryCleanup();
  }
}

void WxPluginUi::ShowAbout() {
  ShowAboutDialog(nullptr);
}

void WxPluginUi::ShowWelcome() {
  ShowWelcomeDialog(nullptr);
}

int WxPluginUi::RunMainWindow(HostContext& host, const std::filesystem::path& settingsFolder) {
  MainDialog* window = nullptr;
  try {
    window = new MainDialog(host, desktop_, settingsFolder);
  } catch (const std::exception&) {
    return kMainWindowFailed;
  }
  // Whatever way the loop ends, an exception included, no message box may later be parented
  // to the frame, and the frame goes with the run.
  struct WindowLease {
    WxDesktop& desktop;
    MainDialog* window;
    ~WindowLease() {
      desktop.SetOwner(nullptr);
      window->Destroy();
      // Let wx delete the frame now rather than at the next idle time.
      if (wxTheApp != nullptr) wxTheApp->ProcessIdle();
    }
  } lease{desktop_, window};
  desktop_.SetOwner(window);
  if (driver_) driver_(*window);
  const int code = window->RunModal();
  return code == kIdApply ? kMainWindowApply : kMainWindowDone;
}

void WxPluginMain(int16 selector, FilterRecord* record, intptr_t* data, int16* result) {
  static WxPluginUi ui;
  EntryServices services{ui, SettingsFolder(), DoFilterRect};
  RunPluginMain(selector, record, data, result, services);
}

}  // namespace pictaro
