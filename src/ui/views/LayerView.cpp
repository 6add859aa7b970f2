#include "ui/views/LayerView.h"

#include <wx/dcclient.h>

namespace pictaro {

LayerView::LayerView(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxWindow(parent, id, pos, size, wxBORDER_NONE) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &LayerView::OnPaint, this);
}

void LayerView::Relayout() {
  if (owner_ == nullptr || slot_ == nullptr) return;
  window.Relayout(owner_->Host(), *slot_, owner_->GetDesktop());
  Redraw();
}

void LayerView::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  dc.SetBackground(wxBrush(wxColour(backgroundColor_ & 0xFF, (backgroundColor_ >> 8) & 0xFF,
                                    (backgroundColor_ >> 16) & 0xFF)));
  dc.Clear();
}

}  // namespace pictaro
