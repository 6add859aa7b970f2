#include "ui/views/CapturePage.h"

#include <wx/checkbox.h>

#include "ui/views/DialogBuilder.h"
#include "ui/views/TabPages.h"

namespace pictaro {
namespace {

using namespace capture_ids;

struct ToolTip {
  int id;
  const char* text;
};

constexpr ToolTip kToolTips[] = {
    {kLayerView,
     "Unlock grid and drag layer (left mouse button) or Show properties (right mouse button)"},
    {kReset, "Reset the grid positions to the standard locations"},
    {kZoom, "Display the Photoshop layer at 4x normal size"},
    {kUnlock, "Allow the grid positions to be updated"},
};

}  // namespace

CapturePage::CapturePage(wxWindow* parent, PageOwner& owner) : wxPanel(parent, wxID_ANY) {
  SizePage(*this, kCaptureDialog);
  BuildControls(this, PageTemplate(kCaptureDialog),
                [this](wxWindow* on, const ControlTemplate& c, const wxRect& rect) {
                  view_ = new LayerView(on, c.id, rect.GetPosition(), rect.GetSize());
                  return view_;
                });
  FitPixelPart(*view_, PageTemplate(kCaptureDialog), LargeViewSize());
  zoomBox_ = dynamic_cast<wxCheckBox*>(FindWindow(kZoom));
  view_->SetOwner(&owner);
  view_->SetSlot(&initialSlot_);
  view_->Relayout();
  CreateToolTips();

  Bind(wxEVT_CHECKBOX, &CapturePage::OnCheckBox, this);
  Bind(wxEVT_BUTTON, &CapturePage::OnReset, this, kReset);
  Bind(wxEVT_CHAR_HOOK, &CapturePage::OnCharHook, this);
}

void CapturePage::CreateToolTips() {
  for (const ToolTip& tip : kToolTips) {
    if (wxWindow* control = FindWindow(tip.id)) control->SetToolTip(tip.text);
  }
}

void CapturePage::OnCheckBox(wxCommandEvent& event) {
  // The boxes toggle themselves; the view's flags follow.
  if (event.GetId() == kZoom) {
    view_->SetZoom(!view_->GetZoom());
  } else if (event.GetId() == kUnlock) {
    view_->SetLocked(!view_->GetLocked());
  } else {
    event.Skip();
  }
}

void CapturePage::OnReset(wxCommandEvent&) {
  view_->ResetPositions();
  view_->Relayout();
}

void CapturePage::OnCharHook(wxKeyEvent& event) {
  // Each arrow moves the layer picture one layer pixel its way under the fixed square.
  int dy = 0;
  int dx = 0;
  switch (event.GetKeyCode()) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
    case WXK_ESCAPE:
      return;  // the page is no dialog that Enter or Escape could end
    case WXK_LEFT:
      dx = 1;
      break;
    case WXK_UP:
      dy = 1;
      break;
    case WXK_RIGHT:
      dx = -1;
      break;
    case WXK_DOWN:
      dy = -1;
      break;
    case WXK_SPACE:
      view_->SetZoom(!view_->GetZoom());
      if (zoomBox_ != nullptr) zoomBox_->SetValue(view_->GetZoom());
      return;
    default:
      event.Skip();
      return;
  }
  view_->MoveView(dy, dx);
  view_->Relayout();
}

}  // namespace pictaro
