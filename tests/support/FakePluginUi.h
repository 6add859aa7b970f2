// A scripted stand-in for the plug-in's windows: it records what the entry
// opened and answers the main window with a chosen outcome.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/PluginEntry.h"
#include "host/PluginUi.h"

namespace pictaro::testing {

struct ShownMessage {
  std::string text;
  std::string caption;
  MessageIcon icon;
  MessageButtons buttons;
};

class RecordingDesktop : public Desktop {
 public:
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override {
    messages.push_back({text, caption, icon, buttons});
    return MessageAnswer::Ok;
  }
  std::vector<ShownMessage> messages;
};

class FakePluginUi : public PluginUi {
 public:
  bool Begin() override {
    ++begins;
    return canBegin;
  }
  void End() override { ++ends; }
  void ShowAbout() override { ++abouts; }
  void ShowWelcome() override { ++welcomes; }
  int RunMainWindow(HostContext& host) override {
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

namespace pictaro::testing {

template <typename Host, typename Body>
void RunInsideCall(Host& host, Body body) {
  host.RunInside(body);
}

}  // namespace pictaro::testing
