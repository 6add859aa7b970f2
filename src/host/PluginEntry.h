// The selector dispatch and the run of one filter invocation.
#pragma once

#include <filesystem>
#include <functional>

#include "host/FilterRecord.h"
#include "host/PluginUi.h"

namespace pictaro {

struct EntryServices {
  PluginUi& ui;
  // Folder of the first-run record.
  std::filesystem::path settingsFolder;
  // The Apply step, run after the main window closed with Apply.
  std::function<void(HostContext&, Desktop&)> applyStep;
};

// Everything PluginMain does; never lets an exception out.
void RunPluginMain(int16 selector, FilterRecord* record, intptr_t* data, int16* result,
                   EntryServices& services);

}  // namespace pictaro
