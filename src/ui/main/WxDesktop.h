// Desktop services on wxWidgets. Before wx is up (no display) messages go to
// standard error, so that a failure is never silent.
#pragma once

#include <wx/window.h>

#include "platform/Desktop.h"

namespace pictaro {

class WxDesktop : public Desktop {
 public:
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override;
  // The window that owns the message boxes; null for none.
  void SetOwner(wxWindow* owner) { owner_ = owner; }

 private:
  wxWindow* owner_ = nullptr;
};

}  // namespace pictaro
