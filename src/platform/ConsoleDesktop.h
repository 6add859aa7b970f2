// Desktop services without a window system: each message goes to standard error as
// "CAPTION: TEXT", and a question is answered Cancel, so that nothing is decided unseen.
#pragma once

#include "platform/Desktop.h"

namespace pictaro {

class ConsoleDesktop : public Desktop {
 public:
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override;
};

}  // namespace pictaro
