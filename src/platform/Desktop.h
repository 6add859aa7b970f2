// The desktop services the plug-in asks of its platform: message boxes for now;
// file and colour choosers, the modifier keys and opening web pages join later.
#pragma once

#include <string>

namespace pictaro {

enum class MessageIcon { Exclamation, Error, Question, Information };
enum class MessageButtons { Ok, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                    MessageIcon icon, MessageButtons buttons) = 0;
};

// The plug-in's own warnings: captioned "Pictaro", exclamation icon, OK.
inline constexpr const char* kAppTitle = "Pictaro";

}  // namespace pictaro
