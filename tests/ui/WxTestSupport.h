// What the window tests share: wx started for one test, and a window's pixels read back from
// the screen.
#pragma once

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <cstdint>

namespace pictaro::testing {

// Starts wx unless it already runs, and ends what it started.
class WxSession {
 public:
  WxSession() {
    if (wxTheApp != nullptr) return;
    wxApp::SetInstance(new wxApp);
    int argc = 1;
    char name[] = "pictaro_gui_tests";
    char* argv[] = {name, nullptr};
    started_ = wxEntryStart(argc, argv);
  }
  ~WxSession() {
    if (started_) wxEntryCleanup();
  }
  WxSession(const WxSession&) = delete;
  WxSession& operator=(const WxSession&) = delete;
  bool IsOk() const { return wxTheApp != nullptr; }

 private:
  bool started_ = false;
};

// Lets pending paints and the display catch up.
inline void Settle() {
  for (int i = 0; i < 10; ++i) {
    wxTheApp->Yield(true);
    wxMilliSleep(5);
  }
}

// The window's client area as it stands on the screen now.
inline wxImage Snapshot(wxWindow& window) {
  window.Refresh();
  window.Update();
  Settle();
  const wxSize size = window.GetClientSize();
  wxBitmap shot(size);
  {
    wxMemoryDC memory(shot);
    wxClientDC screen(&window);
    memory.Blit(0, 0, size.x, size.y, &screen, 0, 0);
  }
  return shot.ConvertToImage();
}

// A pixel as 0x00BBGGRR, the colours' layout everywhere else.
inline std::uint32_t PixelOf(const wxImage& image, int x, int y) {
  return image.GetRed(x, y) | (image.GetGreen(x, y) << 8) | (image.GetBlue(x, y) << 16);
}

}  // namespace pictaro::testing
