// The Capture tab: the view onto the layer and its options. Arrow keys, Space, Enter and
// Escape are taken here before the page's controls see them.
#pragma once

#include <wx/panel.h>

#include "model/GridSlot.h"
#include "ui/views/LayerView.h"
#include "ui/views/PageOwner.h"

class wxCheckBox;

namespace pictaro {

// Controls of dialog 1026.
namespace capture_ids {
inline constexpr int kLayerView = 1017;
inline constexpr int kZoom = 1095;
inline constexpr int kUnlock = 1088;
inline constexpr int kReset = 1079;
}  // namespace capture_ids

class CapturePage : public wxPanel {
 public:
  CapturePage(wxWindow* parent, PageOwner& owner);
  LayerView* View() const { return view_; }

 private:
  void CreateToolTips();
  void OnCheckBox(wxCommandEvent& event);
  void OnReset(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);

  // What the view shows until the main window gives it the current selection.
  GridSlot initialSlot_;
  LayerView* view_ = nullptr;
  wxCheckBox* zoomBox_ = nullptr;
};

}  // namespace pictaro
