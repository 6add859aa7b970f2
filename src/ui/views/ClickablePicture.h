// A bitmap shown in an optional sunken frame; when it notifies, a click is reported to its
// window as a button command with the control's id.
#pragma once

#include <wx/bitmap.h>
#include <wx/window.h>

namespace pictaro {

class ClickablePicture : public wxWindow {
 public:
  ClickablePicture(wxWindow* parent, wxWindowID id, const wxBitmap& bitmap, const wxPoint& pos,
                   bool sunken, bool notify);

 private:
  void OnPaint(wxPaintEvent& event);
  void OnLeftDown(wxMouseEvent& event);

  wxBitmap bitmap_;
  bool notify_;
};

}  // namespace pictaro
