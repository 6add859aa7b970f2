// One position of the icon grid on screen: the resource on the background colour inside a
// 3-pixel frame whose rings mark the selection and the focus. A click is reported to the
// window as a button command with the cell's id.
#pragma once

#include <wx/window.h>

#include <cstdint>

#include "model/GridSlot.h"
#include "model/Raster.h"
#include "model/ResourceGrid.h"

namespace pictaro {

class GridCell : public wxWindow {
 public:
  GridCell(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);

  // Neither the grid nor the slot is owned; the window that owns both outlives its cells.
  void SetGrid(const ResourceGrid* grid) { grid_ = grid; }
  void SetSlot(GridSlot* slot) { slot_ = slot; }
  GridSlot* GetSlot() const { return slot_; }

  void SetSelected(int flag);
  void SetStretch(int flag);
  void SetClickable(int flag);
  void SetBackgroundColor(std::uint32_t color) { backgroundColor_ = color; }
  int GetSelected() const { return selected_; }
  std::uint32_t GetBackgroundColor() const { return backgroundColor_; }

  // Has the whole cell painted again.
  void Redraw();

  // The cell's picture as it is painted now, one pixel for each image pixel (the window shows
  // it magnified by the display's pixel factor).
  Raster Picture() const;

  bool AcceptsFocus() const override { return clickable_ != 0; }
  bool AcceptsFocusFromKeyboard() const override { return false; }

 private:
  void OnPaint(wxPaintEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnFocusChange(wxFocusEvent& event);

  const ResourceGrid* grid_ = nullptr;
  GridSlot* slot_ = nullptr;
  int selected_ = 0;
  int stretch_ = 0;
  std::uint32_t backgroundColor_ = 0x808080;
  int clickable_ = 1;
};

}  // namespace pictaro
