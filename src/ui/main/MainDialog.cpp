#include "ui/main/MainDialog.h"

#include <wx/accel.h>
#include <wx/button.h>
#include <wx/panel.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include "host/FilterParameters.h"

namespace pictaro {

MainDialog::MainDialog(HostContext& host, Desktop& desktop)
    : wxFrame(nullptr, wxID_ANY, "Pictaro", wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE & ~(wxRESIZE_BORDER | wxMAXIMIZE_BOX)),
      host_(host),
      desktop_(desktop) {
  workingPath = wxStandardPaths::Get().GetDocumentsDir().utf8_string();

  // Placed where the full window's template puts them (dialog units of the
  // 8-point dialog font: x * 6 / 4, y * 13 / 8 pixels).
  auto* panel = new wxPanel(this);
  auto* apply = new wxButton(panel, kIdApply, "Apply", wxPoint(499, 180), wxSize(42, 26));
  new wxButton(panel, kIdDone, "Done", wxPoint(783, 445), wxSize(55, 26));
  SetClientSize(wxSize(850, 482));
  CentreOnScreen();
  SetDefaultItem(apply);
  apply->SetFocus();

  wxAcceleratorEntry escape(wxACCEL_NORMAL, WXK_ESCAPE, kIdDone);
  SetAcceleratorTable(wxAcceleratorTable(1, &escape));

  Bind(wxEVT_BUTTON, &MainDialog::OnButton, this);
  Bind(wxEVT_MENU, &MainDialog::OnButton, this);
  Bind(wxEVT_CLOSE_WINDOW, &MainDialog::OnClose, this);
}

MainDialog::~MainDialog() = default;

int MainDialog::RunModal() {
  Show();
  Raise();
  wxWindowDisabler disabler(this);
  wxGUIEventLoop loop;
  loop_ = &loop;
  loop.Run();
  loop_ = nullptr;
  Hide();
  return modalCode_;
}

void MainDialog::EndModal(int code) {
  modalCode_ = code;
  if (loop_ != nullptr) loop_->Exit(code);
}

void MainDialog::OnButton(wxCommandEvent& event) {
  switch (event.GetId()) {
    case kIdApply:
      OnOK();
      break;
    case kIdDone:
      OnCancel();
      break;
    default:
      event.Skip();
  }
}

void MainDialog::OnClose(wxCloseEvent& event) {
  // The close box is Done; the frame itself is destroyed by its owner.
  if (event.CanVeto()) event.Veto();
  OnCancel();
}

// Nothing edits the grid yet; the unsaved-changes question arrives with the
// document commands.
bool MainDialog::ConfirmDiscard() {
  return true;
}

void MainDialog::OnOK() {
  // The selection reaches the host only once the unsaved-changes question
  // has let the window go.
  if (!ConfirmDiscard()) return;
  StoreApplySelection(host_, currentSlot, workingName, workingPath);
  EndModal(kIdApply);
}

void MainDialog::OnCancel() {
  if (!ConfirmDiscard()) return;
  EndModal(kIdDone);
}

}  // namespace pictaro
