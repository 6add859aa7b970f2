// The Preview and Verify pages of the main window's tabs, each built from its template.
#pragma once

#include <wx/panel.h>
#include <wx/textctrl.h>

#include <string>

#include "resources/DialogTemplates.h"
#include "ui/views/GridCell.h"
#include "ui/views/PageOwner.h"

namespace pictaro {

// The large views of the pages are 256 pixels plus the cell's frame, in picture pixels; on
// screen, as many times over as the display's pixel factor.
inline constexpr int kLargeViewSize = 262;
wxSize LargeViewSize();

// A page's template, and the page sized to it.
const DialogTemplate& PageTemplate(int id);
void SizePage(wxPanel& page, int dialog);

// The current resource enlarged: a stretched, always selected cell that can't be clicked.
class PreviewPage : public wxPanel {
 public:
  PreviewPage(wxWindow* parent, PageOwner& owner);
  GridCell* Cell() const { return cell_; }
  // Checks the view radio of the cell's slot.
  void UpdateViewModeRadios();

 private:
  void OnButton(wxCommandEvent& event);
  void OnViewRadio(wxCommandEvent& event);

  PageOwner& owner_;
  GridCell* cell_ = nullptr;
};

// The compatibility report of the grid.
class VerifyPage : public wxPanel {
 public:
  VerifyPage(wxWindow* parent, PageOwner& owner);
  void RefreshReport();
  const std::string& ReportText() const { return reportText_; }

 private:
  // Opens the Test window on the current selection's icon.
  void OnTest(wxCommandEvent& event);

  PageOwner& owner_;
  wxTextCtrl* reportBox_ = nullptr;
  std::string reportText_;
};

}  // namespace pictaro
