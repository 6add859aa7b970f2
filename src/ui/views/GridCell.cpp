#include "ui/views/GridCell.h"

#include <wx/dcclient.h>

#include "model/CellPicture.h"
#include "ui/views/DialogBuilder.h"
#include "ui/views/RasterBitmap.h"
#include "ui/views/ResourceImages.h"

namespace pictaro {
namespace {

constexpr int kHandCursor = 1011;

}  // namespace

GridCell::GridCell(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxWindow(parent, id, pos, size, wxBORDER_NONE) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetCursor(ResourceCursor(kHandCursor));
  Bind(wxEVT_PAINT, &GridCell::OnPaint, this);
  Bind(wxEVT_LEFT_DOWN, &GridCell::OnLeftDown, this);
  Bind(wxEVT_SET_FOCUS, &GridCell::OnFocusChange, this);
  Bind(wxEVT_KILL_FOCUS, &GridCell::OnFocusChange, this);
}

void GridCell::SetSelected(int flag) {
  selected_ = flag;
  Redraw();
}

void GridCell::SetStretch(int flag) {
  stretch_ = flag;
  Redraw();
}

void GridCell::SetClickable(int flag) {
  clickable_ = flag;
  // A cell that can't be clicked leaves the pointer as its window shows it.
  SetCursor(flag ? ResourceCursor(kHandCursor) : wxNullCursor);
}

void GridCell::Redraw() {
  Refresh(true);
}

Raster GridCell::Picture() const {
  const wxSize size = GetClientSize() / PixelFactor();
  Raster picture(size.x, size.y);
  CellLook look;
  look.background = backgroundColor_;
  look.selected = selected_ != 0;
  look.stretch = stretch_ != 0;
  look.focused = HasFocus();
  // Without a slot there is no position to show, as without a grid.
  PaintCell(picture, slot_ != nullptr ? grid_ : nullptr, slot_ != nullptr ? *slot_ : GridSlot(),
            look);
  return picture;
}

void GridCell::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxBitmap bitmap = RasterToBitmap(Picture(), PixelFactor());
  if (bitmap.IsOk()) dc.DrawBitmap(bitmap, 0, 0);
}

void GridCell::OnLeftDown(wxMouseEvent& event) {
  if (clickable_) {
    SetFocus();
    Redraw();
  }
  event.Skip();
  // Like a static control with the notify style, every press is reported to the window.
  wxCommandEvent click(wxEVT_BUTTON, GetId());
  click.SetEventObject(this);
  ProcessWindowEvent(click);
}

void GridCell::OnFocusChange(wxFocusEvent& event) {
  event.Skip();
  Redraw();
}

}  // namespace pictaro
