// The module's only export.
#include "ui/main/WxPluginUi.h"

#ifdef _WIN32
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>
#include <wx/msw/private.h>

#define PICTARO_EXPORT
#else
#define PICTARO_EXPORT __attribute__((visibility("default")))
#endif

extern "C" PICTARO_EXPORT void PluginMain(pictaro::int16 selector, pictaro::FilterRecord* record,
                                          intptr_t* data, pictaro::int16* result) {
  pictaro::WxPluginMain(selector, record, data, result);
}

#ifdef _WIN32
// When the host loads the module: the common controls its windows use are registered, and wx
// takes its windows' classes and resources from the module rather than from the host program.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    wxSetInstance(instance);
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES |
                                      ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }
  return TRUE;
}
#endif
