// A desktop that answers every message with OK and shows nothing, for timed runs.
#pragma once

#include <string>

#include "platform/Desktop.h"

namespace pictaro {

class SilentDesktop : public Desktop {
 public:
  MessageAnswer ShowMessage(const std::string&, const std::string&, MessageIcon,
                            MessageButtons) override {
    return MessageAnswer::Ok;
  }
};

}  // namespace pictaro
