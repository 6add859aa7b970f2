#include "ui/views/ClickablePicture.h"

#include <wx/dcclient.h>

namespace pictaro {

ClickablePicture::ClickablePicture(wxWindow* parent, wxWindowID id, const wxBitmap& bitmap,
                                   const wxPoint& pos, bool sunken, bool notify)
    : wxWindow(parent, id, pos, wxDefaultSize, sunken ? wxBORDER_SUNKEN : wxBORDER_NONE),
      bitmap_(bitmap),
      notify_(notify) {
  // Like a bitmap static, the control takes the bitmap's size.
  if (bitmap_.IsOk()) SetClientSize(bitmap_.GetSize());
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &ClickablePicture::OnPaint, this);
  Bind(wxEVT_LEFT_DOWN, &ClickablePicture::OnLeftDown, this);
}

void ClickablePicture::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  dc.SetBackground(wxBrush(GetBackgroundColour()));
  dc.Clear();
  if (bitmap_.IsOk()) dc.DrawBitmap(bitmap_, 0, 0);
}

void ClickablePicture::OnLeftDown(wxMouseEvent& event) {
  event.Skip();
  if (!notify_) return;
  wxCommandEvent click(wxEVT_BUTTON, GetId());
  click.SetEventObject(this);
  ProcessWindowEvent(click);
}

}  // namespace pictaro
