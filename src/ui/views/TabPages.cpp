#include "ui/views/TabPages.h"

#include <wx/radiobut.h>

#include "model/CompatibilityReport.h"
#include "ui/views/DialogBuilder.h"
#include "ui/views/RasterBitmap.h"
#include "ui/views/TestDialog.h"

namespace pictaro {
namespace {

constexpr int kPreviewCell = 1041;
constexpr int kAddButton = 1097;
constexpr int kDeleteButton = 1098;

constexpr int kTestButton = 1080;
constexpr int kReportBox = 1082;

constexpr ToolTipText kVerifyTips[] = {
    {kTestButton, "Open a window that allows you to test the selected icon resource"},
    {kReportBox, "This report will be updated as you change the icon resource grid"},
};

constexpr ToolTipText kPreviewTips[] = {
    {kPreviewCell, "Current icon resource, select another resource by clicking on grid"},
    {kAddButton, "Update the selected icon resource using the data on the Photoshop layer"},
    {kDeleteButton, "Clear the selected icon resource"},
};

}  // namespace

const DialogTemplate& PageTemplate(int id) {
  return *FindDialogTemplate(id);
}

wxSize LargeViewSize() {
  return wxSize(kLargeViewSize, kLargeViewSize) * PixelFactor();
}

void SizePage(wxPanel& page, int dialog) {
  page.SetClientSize(DialogClientSize(PageTemplate(dialog)));
}

PreviewPage::PreviewPage(wxWindow* parent, PageOwner& owner)
    : wxPanel(parent, wxID_ANY), owner_(owner) {
  SizePage(*this, kPreviewDialog);
  BuildControls(this, PageTemplate(kPreviewDialog),
                [this](wxWindow* on, const ControlTemplate& c, const wxRect& rect) {
                  cell_ = new GridCell(on, c.id, rect.GetPosition(), rect.GetSize());
                  return cell_;
                });
  FitPixelPart(*cell_, PageTemplate(kPreviewDialog), LargeViewSize());
  cell_->SetSelected(1);
  cell_->SetClickable(0);
  cell_->SetStretch(1);
  AddToolTips(*this, kPreviewTips);
  SwallowEnterAndEscape(*this);
  Bind(wxEVT_BUTTON, &PreviewPage::OnButton, this);
  Bind(wxEVT_RADIOBUTTON, &PreviewPage::OnViewRadio, this);
}

void PreviewPage::OnButton(wxCommandEvent& event) {
  // The page's own cell can't be clicked into a selection: its notice ends here.
  switch (event.GetId()) {
    case kAddButton:
      owner_.CaptureCurrent();
      break;
    case kDeleteButton:
      owner_.DeleteCurrent();
      break;
    case kPreviewCell:
      break;
    default:
      event.Skip();
  }
}

void PreviewPage::OnViewRadio(wxCommandEvent& event) {
  GridSlot* slot = cell_->GetSlot();
  const int id = event.GetId();
  if (slot == nullptr || (id != kViewRadioBoth && id != kViewRadioData && id != kViewRadioMask)) {
    event.Skip();
    return;
  }
  slot->viewMode = id == kViewRadioData ? 1 : id == kViewRadioMask ? 2 : 0;
  UpdateViewModeRadios();
  owner_.UpdateSelectionControls();
  owner_.RefreshViews();
}

void PreviewPage::UpdateViewModeRadios() {
  const GridSlot* slot = cell_->GetSlot();
  const int checked = slot != nullptr ? slot->ViewRadioId() : kViewRadioBoth;
  for (int id : {kViewRadioBoth, kViewRadioData, kViewRadioMask}) {
    if (auto* radio = dynamic_cast<wxRadioButton*>(FindWindow(id))) radio->SetValue(id == checked);
  }
}

VerifyPage::VerifyPage(wxWindow* parent, PageOwner& owner)
    : wxPanel(parent, wxID_ANY), owner_(owner) {
  SizePage(*this, kVerifyDialog);
  BuildControls(this, PageTemplate(kVerifyDialog), nullptr);
  reportBox_ = dynamic_cast<wxTextCtrl*>(FindWindow(kReportBox));
  // The report stands where the other pages show their pictures, as large as they are.
  if (reportBox_ != nullptr)
    FitPixelPart(*reportBox_, PageTemplate(kVerifyDialog), LargeViewSize());
  AddToolTips(*this, kVerifyTips);
  SwallowEnterAndEscape(*this);
  Bind(wxEVT_BUTTON, &VerifyPage::OnTest, this, kTestButton);
  RefreshReport();
}

void VerifyPage::OnTest(wxCommandEvent&) {
  const wxIcon icon = CreateIcon(owner_.Grid(), owner_.CurrentSlot());
  if (!icon.IsOk()) {
    owner_.GetDesktop().ShowMessage("Please select a grid location that contains an icon resource",
                                    kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    return;
  }
  ShowTestDialog(icon, this);
}

void VerifyPage::RefreshReport() {
  reportText_ = owner_.Grid().BuildCompatibilityReport();
  if (reportBox_ != nullptr)
    reportBox_->ChangeValue(wxString::FromUTF8(ReportForDisplay(reportText_)));
}

}  // namespace pictaro
