// What the window tests share: wx started for one test, and a window's pixels read back from
// the screen.
#pragma once

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/modalhook.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <utility>

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

// Lets each modal dialog open, hands it to `inspect`, then presses its button 1 (Close or OK)
// and keeps the dialog's answer.
class DialogInspector : public wxModalDialogHook {
 public:
  explicit DialogInspector(std::function<void(wxDialog&)> inspect) : inspect_(std::move(inspect)) {
    Register();
  }
  ~DialogInspector() override { Unregister(); }

  int answer = wxID_NONE;

 protected:
  int Enter(wxDialog* dialog) override {
    dialog->CallAfter([this, dialog] {
      Settle();
      inspect_(*dialog);
      wxWindow* button = dialog->FindWindow(1);
      if (button != nullptr) {
        wxCommandEvent click(wxEVT_BUTTON, 1);
        click.SetEventObject(button);
        button->ProcessWindowEvent(click);
      }
      if (dialog->IsModal()) {
        ADD_FAILURE() << "the dialog stayed open";
        dialog->EndModal(wxID_CANCEL);
      }
    });
    return wxID_NONE;
  }
  void Exit(wxDialog* dialog) override { answer = dialog->GetReturnCode(); }

 private:
  std::function<void(wxDialog&)> inspect_;
};

}  // namespace pictaro::testing
