#include "platform/ConsoleDesktop.h"

#include <cstdio>

namespace pictaro {

MessageAnswer ConsoleDesktop::ShowMessage(const std::string& text, const std::string& caption,
                                          MessageIcon /*icon*/, MessageButtons buttons) {
  std::fprintf(stderr, "%s%s: %s\n", prefix_.c_str(), caption.c_str(), text.c_str());
  return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

}  // namespace pictaro
