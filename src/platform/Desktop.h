// The desktop services the plug-in asks of its platform: message boxes, the file
// and colour choosers, the physical state of Shift and Ctrl, and opening a web
// page. Model and file code reach the platform only through this interface.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace pictaro {

enum class MessageIcon { None, Exclamation, Error, Question, Information };
enum class MessageButtons { Ok, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// What a file chooser is asked to show. `filter` is in the classic form
// "Description|pattern|Description|pattern||"; `initialFolder` may name a folder,
// a file in one, or text that is no folder at all (the chooser opens anyway).
struct FileRequest {
  bool save = false;             // a save chooser that confirms replacing a file
  std::string defaultExtension;  // without the dot, added when the name has none
  std::string proposedName;      // may be empty
  std::string filter;
  std::string initialFolder;
};

// The 16 custom colours of the colour chooser, 0x00BBGGRR; the caller keeps them.
using CustomColors = std::array<std::uint32_t, 16>;

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                    MessageIcon icon, MessageButtons buttons) = 0;

  // The chosen file's full path, or nothing when cancelled.
  virtual std::optional<std::string> ChooseFile(const FileRequest&) { return std::nullopt; }
  // The chosen colour (0x00BBGGRR), or nothing when cancelled; `custom` holds the
  // custom colours as the user left them, also after a cancel.
  virtual std::optional<std::uint32_t> ChooseColor(std::uint32_t, CustomColors&) {
    return std::nullopt;
  }
  // The keys' physical state at this moment, not the state queued with an event.
  virtual bool ShiftDown() { return false; }
  virtual bool ControlDown() { return false; }
  // Opens a web address in the user's browser; false when that failed.
  virtual bool OpenUrl(const std::string&) { return false; }
};

// The plug-in's own warnings: captioned "Pictaro", exclamation icon, OK.
inline constexpr const char* kAppTitle = "Pictaro";

}  // namespace pictaro
