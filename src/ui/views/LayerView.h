// The Capture tab's view onto the layer. It owns the window onto the layer that every
// capture reads (grid positions, view rectangle, colour table) and shows it.
#pragma once

#include <wx/window.h>

#include <cstdint>

#include "host/LayerWindow.h"
#include "model/GridSlot.h"
#include "ui/views/PageOwner.h"

namespace pictaro {

class LayerView : public wxWindow {
 public:
  LayerView(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);

  void SetOwner(PageOwner* owner) { owner_ = owner; }
  void SetSlot(GridSlot* slot) { slot_ = slot; }
  GridSlot* GetSlot() const { return slot_; }
  void SetBackgroundColor(std::uint32_t color) { backgroundColor_ = color; }
  std::uint32_t GetBackgroundColor() const { return backgroundColor_; }

  // Re-centres the view on the current slot's grid position and fetches that region.
  void Relayout();
  void Redraw() { Refresh(true); }

  LayerWindow window;

 private:
  void OnPaint(wxPaintEvent& event);

  PageOwner* owner_ = nullptr;
  GridSlot* slot_ = nullptr;
  std::uint32_t backgroundColor_ = 0xFFFFFF;
};

}  // namespace pictaro
