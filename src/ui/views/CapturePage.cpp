#include "ui/views/CapturePage.h"

#include "ui/views/DialogBuilder.h"
#include "ui/views/TabPages.h"

namespace pictaro {

CapturePage::CapturePage(wxWindow* parent, PageOwner& owner) : wxPanel(parent, wxID_ANY) {
  SizePage(*this, kCaptureDialog);
  BuildControls(this, PageTemplate(kCaptureDialog),
                [this, &owner](wxWindow* on, const ControlTemplate& c, const wxRect& rect) {
                  view_ = new LayerView(on, c.id, rect.GetPosition(),
                                        wxSize(kLargeViewSize, kLargeViewSize));
                  view_->SetOwner(&owner);
                  return view_;
                });
}

}  // namespace pictaro
