#include "host/PluginEntry.h"

#include <new>

#include "host/FilterParameters.h"
#include "icofile/PngImage.h"
#include "platform/FirstRun.h"

namespace pictaro {
namespace {

constexpr int16 kMemFullErr = -108;

// Keeps the window system up for exactly one selector call.
class UiSession {
 public:
  UiSession(PluginUi& ui, intptr_t hostWindow) : ui_(ui), started_(ui.Begin(hostWindow)) {}
  ~UiSession() { ui_.End(); }
  UiSession(const UiSession&) = delete;
  UiSession& operator=(const UiSession&) = delete;
  bool Started() const { return started_; }

 private:
  PluginUi& ui_;
  bool started_;
};

// The host's window, which the about record carries at its own place; 0 when there is none.
intptr_t HostWindowOf(int16 selector, const FilterRecord* record) {
  if (record == nullptr) return 0;
  const void* platformData = selector == kSelectorAbout
                                 ? reinterpret_cast<const AboutRecord*>(record)->platformData
                                 : record->platformData;
  return platformData != nullptr ? static_cast<const PlatformData*>(platformData)->hwnd : 0;
}

void ShowAbout(HostContext& host, EntryServices& services) {
  UiSession session(services.ui, HostWindowOf(kSelectorAbout, host.record));
  if (session.Started()) services.ui.ShowAbout();
}

void RunFilter(HostContext& host, EntryServices& services) {
  UiSession session(services.ui, HostWindowOf(kSelectorStart, host.record));
  if (session.Started() && IsFirstRun(services.settingsFolder)) {
    services.ui.ShowWelcome();
    RecordFirstRun(services.settingsFolder);
  }
  // The image library lives exactly as long as one run, Apply step included.
  ImageLibrary imageLibrary;
  const int outcome = session.Started() ? services.ui.RunMainWindow(host, services.settingsFolder)
                                        : kMainWindowFailed;
  switch (outcome) {
    case kMainWindowFailed:
      services.ui.GetDesktop().ShowMessage("Can't open application window.", kAppTitle,
                                           MessageIcon::Exclamation, MessageButtons::Ok);
      host.result = kUserCanceledErr;
      break;
    case kMainWindowApply:
      host.result = kNoErr;
      if (services.applyStep) services.applyStep(host, services.ui.GetDesktop());
      break;
    case kMainWindowDone:
      host.result = kUserCanceledErr;
      break;
    default:
      break;
  }
}

void Dispatch(int16 selector, HostContext& host, EntryServices& services) {
  switch (selector) {
    case kSelectorAbout:
      ShowAbout(host, services);
      host.result = kNoErr;
      break;
    case kSelectorParameters:
      host.result = kNoErr;
      PrepareParameters(host);
      break;
    case kSelectorStart:
      RunFilter(host, services);
      break;
    case kSelectorPrepare:
    case kSelectorContinue:
    case kSelectorFinish:
      host.result = kNoErr;
      break;
    default:
      break;  // unknown selectors leave the host's result as it came
  }
}

}  // namespace

void RunPluginMain(int16 selector, FilterRecord* record, intptr_t* data, int16* result,
                   EntryServices& services) {
  HostContext& host = CurrentHost();
  host.record = record;
  host.data = data;
  host.result = result != nullptr ? *result : kNoErr;
  try {
    if (record != nullptr || selector == kSelectorAbout) Dispatch(selector, host, services);
  } catch (const std::bad_alloc&) {
    host.result = kMemFullErr;
  } catch (...) {
    host.result = kParamErr;
  }
  if (data != nullptr) *data = 0;
  if (result != nullptr) *result = host.result;
}

}  // namespace pictaro
