// A scripted stand-in for the plug-in's windows: it records what the entry
// opened and answers the main window with a chosen outcome.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/PluginEntry.h"
#include "host/PluginUi.h"

namespace pictaro::testing {

struct ShownMessage {
  std::string text, caption;
  MessageIcon icon;
  MessageButtons buttons;
  bool operator==(const ShownMessage&) const = default;
};
inline void PrintTo(const ShownMessage& m, std::ostream* out) {
  *out << '"' << m.text << "\" in \"" << m.caption << '"';
}
// A warning as the plug-in shows it.
inline ShownMessage Warning(std::string text) {
  return {std::move(text), "Pictaro", MessageIcon::Exclamation, MessageButtons::Ok};
}

// Records every request and answers from queues; an empty queue answers OK to a
// message and "cancelled" to a file chooser; a colour chooser is always cancelled.
class RecordingDesktop : public Desktop {
 public:
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override {
    messages.push_back({text, caption, icon, buttons});
    return Next(answers).value_or(MessageAnswer::Ok);
  }
  std::optional<std::string> ChooseFile(const FileRequest& request) override {
    fileRequests.push_back(request);
    return Next(fileAnswers).value_or(std::nullopt);
  }
  std::optional<std::uint32_t> ChooseColor(std::uint32_t, CustomColors&) override {
    return std::nullopt;
  }
  bool ShiftDown() override { return shift; }
  bool ControlDown() override { return control; }
  bool OpenUrl(const std::string& url) override {
    openedUrls.push_back(url);
    return urlOpens;
  }

  std::vector<ShownMessage> messages;
  std::deque<MessageAnswer> answers;
  std::vector<FileRequest> fileRequests;
  std::deque<std::optional<std::string>> fileAnswers;
  bool shift = false, control = false;
  std::vector<std::string> openedUrls;
  bool urlOpens = true;

 private:
  template <typename T>
  static std::optional<T> Next(std::deque<T>& queue) {
    if (queue.empty()) return std::nullopt;
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
  }
};

class FakePluginUi : public PluginUi {
 public:
  bool Begin(intptr_t) override {
    ++begins;
    return canBegin;
  }
  void End() override { ++ends; }
  void ShowAbout() override { ++abouts; }
  void ShowWelcome() override { ++welcomes; }
  int RunMainWindow(HostContext& host, const std::filesystem::path&) override {
    ++mainWindows;
    if (whileOpen) whileOpen(host);
    return outcome;
  }
  Desktop& GetDesktop() override { return desktop; }

  bool canBegin = true;
  int outcome = kMainWindowDone;
  std::function<void(HostContext&)> whileOpen;
  RecordingDesktop desktop;
  int begins = 0, ends = 0, abouts = 0, welcomes = 0, mainWindows = 0;
};

// Routes a plain entry function (as a host calls it) to the services under test.
inline EntryServices* gEntryServices = nullptr;

inline void EntryUnderTest(int16 selector, FilterRecord* record, intptr_t* data, int16* result) {
  RunPluginMain(selector, record, data, result, *gEntryServices);
}

}  // namespace pictaro::testing
