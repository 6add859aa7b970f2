// The Capture tab: the view onto the layer and its options.
#pragma once

#include <wx/panel.h>

#include "ui/views/LayerView.h"
#include "ui/views/PageOwner.h"

namespace pictaro {

class CapturePage : public wxPanel {
 public:
  CapturePage(wxWindow* parent, PageOwner& owner);
  LayerView* View() const { return view_; }

 private:
  LayerView* view_ = nullptr;
};

}  // namespace pictaro
