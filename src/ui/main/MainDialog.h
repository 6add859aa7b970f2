// The plug-in's main window: a frame run modally by hand, since a dialog can't
// carry a working menu bar on every toolkit. Apply stores the selection for the
// host and closes with OK; Done, Esc and the close box close with Cancel.
#pragma once

#include <wx/evtloop.h>
#include <wx/frame.h>

#include <memory>
#include <string>

#include "host/HostContext.h"
#include "model/GridSlot.h"
#include "model/ResourceGrid.h"
#include "platform/Desktop.h"

namespace pictaro {

// Control and result ids of the main window.
enum MainDialogId {
  kIdApply = 1,  // also the OK result
  kIdDone = 2,   // also the Cancel result
};

class MainDialog : public wxFrame {
 public:
  MainDialog(HostContext& host, Desktop& desktop);
  ~MainDialog() override;

  // Shows the window and runs its own event loop until EndModal; returns the
  // code given to EndModal (kIdApply or kIdDone).
  int RunModal();
  void EndModal(int code);
  bool IsModalRunning() const { return loop_ != nullptr; }

  // The commands, callable by tests as by the buttons.
  void OnOK();
  void OnCancel();

  GridSlot currentSlot;
  std::string workingPath;
  std::string workingName = "Untitled.ico";
  ResourceGrid grid;

 private:
  void OnButton(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);
  // Whether the window may close (go on) or must stay.
  bool ConfirmDiscard();

  HostContext& host_;
  Desktop& desktop_;
  wxGUIEventLoop* loop_ = nullptr;
  int modalCode_ = kIdDone;
};

}  // namespace pictaro
