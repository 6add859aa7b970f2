// Desktop services without a window system: each message goes to standard error as
// "CAPTION: TEXT" (after "PROGRAM: " when a program is named), and a question is answered
// Cancel, so that nothing is decided unseen.
#pragma once

#include <string>

#include "platform/Desktop.h"

namespace pictaro {

class ConsoleDesktop : public Desktop {
 public:
  explicit ConsoleDesktop(std::string program = {})
      : prefix_(program.empty() ? "" : program + ": ") {}
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override;

 private:
  std::string prefix_;
};

}  // namespace pictaro
