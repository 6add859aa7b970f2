// The Capture tab's view onto the layer: a 256 x 256 window centred on the current
// selection's grid position, the capture square undimmed, inside a 3-pixel frame. It owns
// the window onto the layer that every capture reads (grid positions, view rectangle, colour
// table); dragging the picture with the left button moves the current grid position, and the
// right button opens the "Layer" menu that changes the current selection.
#pragma once

#include <wx/cursor.h>
#include <wx/dc.h>
#include <wx/menu.h>
#include <wx/window.h>

#include <cstdint>

#include "host/LayerWindow.h"
#include "model/ColorTable.h"
#include "model/GridSlot.h"
#include "ui/views/PageOwner.h"

namespace pictaro {

// Commands of the "Layer" menu (menu 1002).
namespace layer_menu_ids {
inline constexpr int k4Bits = 32773;
inline constexpr int k8Bits = 32774;
inline constexpr int k32Bits = 32775;
inline constexpr int k16Pixels = 32776;
inline constexpr int k24Pixels = 32779;
inline constexpr int k32Pixels = 32777;
inline constexpr int k48Pixels = 32778;
inline constexpr int k256Pixels = 32830;
}  // namespace layer_menu_ids

class LayerView : public wxWindow {
 public:
  LayerView(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);

  // Neither is owned; the main window outlives its pages.
  void SetOwner(PageOwner* owner) { owner_ = owner; }
  void SetSlot(GridSlot* slot) { slot_ = slot; }
  GridSlot* GetSlot() const { return slot_; }

  void SetBackgroundColor(std::uint32_t color) { backgroundColor_ = color; }
  std::uint32_t GetBackgroundColor() const { return backgroundColor_; }
  void SetUseCustomTable(bool flag) { window.useCustomTable = flag; }
  void SetAutoTable(bool flag) { window.autoTable = flag; }
  void SetCustomTable(const ColorTable& table) { window.customTable = table; }

  bool GetZoom() const { return zoom_; }
  void SetZoom(bool flag);
  bool GetLocked() const { return window.locked; }
  void SetLocked(bool flag) { window.locked = flag; }
  bool GetSamePosition() const { return window.samePosition; }
  void SetSamePosition(bool flag);
  bool IsDragging() const { return dragging_; }

  void ResetPositions() { window.ResetPositions(); }
  // Re-centres the view on the current selection's grid position and fetches that region.
  void Relayout();
  // Moves the region in view and the current grid position; the caller fetches.
  void MoveView(int dy, int dx);
  void Redraw() { Refresh(true); }

  // The "Layer" popup with the current selection's items checked; the caller owns it.
  wxMenu* CreateLayerMenu() const;

  bool AcceptsFocus() const override { return true; }

  LayerWindow window;

 private:
  // The layer can be read and requested only inside the host's call.
  bool HostReady() const;
  // Composes the delivered region into `area`; false when it could not be shown.
  bool Render(wxDC& dc, const wxRect& area);

  void OnPaint(wxPaintEvent& event);
  void OnFocusChange(wxFocusEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnRightDown(wxMouseEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnLayerCommand(wxCommandEvent& event);

  PageOwner* owner_ = nullptr;
  GridSlot* slot_ = nullptr;
  wxPoint lastPoint_{0, 0};
  bool dragging_ = false;
  std::uint32_t backgroundColor_ = 0x808080;
  bool zoom_ = false;
  wxCursor dragCursor_;
};

}  // namespace pictaro
