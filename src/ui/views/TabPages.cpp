#include "ui/views/TabPages.h"

#include <wx/radiobut.h>

#include "model/CompatibilityReport.h"
#include "ui/views/DialogBuilder.h"

namespace pictaro {
namespace {}  // namespace

const DialogTemplate& PageTemplate(int id) {
  return *FindDialogTemplate(id);
}

void SizePage(wxPanel& page, int dialog) {
  page.SetClientSize(DialogClientSize(PageTemplate(dialog)));
}

PreviewPage::PreviewPage(wxWindow* parent, PageOwner&) : wxPanel(parent, wxID_ANY) {
  SizePage(*this, kPreviewDialog);
  BuildControls(this, PageTemplate(kPreviewDialog),
                [this](wxWindow* on, const ControlTemplate& c, const wxRect& rect) {
                  cell_ = new GridCell(on, c.id, rect.GetPosition(),
                                       wxSize(kLargeViewSize, kLargeViewSize));
                  return cell_;
                });
  cell_->SetSelected(1);
  cell_->SetClickable(0);
  cell_->SetStretch(1);
}

void PreviewPage::UpdateViewModeRadios() {
  const GridSlot* slot = cell_->GetSlot();
  const int checked = slot != nullptr ? slot->ViewRadioId() : kViewRadioBoth;
  for (int id : {kViewRadioBoth, kViewRadioData, kViewRadioMask}) {
    if (auto* radio = wxDynamicCast(FindWindow(id), wxRadioButton)) radio->SetValue(id == checked);
  }
}

VerifyPage::VerifyPage(wxWindow* parent, PageOwner& owner)
    : wxPanel(parent, wxID_ANY), owner_(owner) {
  SizePage(*this, kVerifyDialog);
  BuildControls(this, PageTemplate(kVerifyDialog), nullptr);
  reportBox_ = wxDynamicCast(FindWindow(1082), wxTextCtrl);
  if (reportBox_ != nullptr) reportBox_->SetSize(wxSize(kLargeViewSize, kLargeViewSize));
  RefreshReport();
}

void VerifyPage::RefreshReport() {
  reportText_ = owner_.Grid().BuildCompatibilityReport();
  if (reportBox_ != nullptr)
    reportBox_->ChangeValue(wxString::FromUTF8(ReportForDisplay(reportText_)));
}

}  // namespace pictaro
