// Desktop services on wxWidgets. Before wx is up (no display) messages go to
// standard error, so that a failure is never silent, and the choosers, keys and
// browser answer "nothing".
#pragma once

#include <wx/window.h>

#include <string>

#include "platform/Desktop.h"

namespace pictaro {

// Where a first document lives, and where a chooser opens without a folder of its own: wx's
// documents folder; on Windows the text "%USERPROFILE%\My Documents", passed on unexpanded.
std::string DefaultWorkingFolder();

class WxDesktop : public Desktop {
 public:
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override;
  std::optional<std::string> ChooseFile(const FileRequest& request) override;
  std::optional<std::uint32_t> ChooseColor(std::uint32_t initial, CustomColors& custom) override;
  bool ShiftDown() override;
  bool ControlDown() override;
  bool OpenUrl(const std::string& url) override;

  // The window that owns the message boxes and choosers; null for none.
  void SetOwner(wxWindow* owner) { owner_ = owner; }

 private:
  wxWindow* owner_ = nullptr;
};

}  // namespace pictaro
