// The file a loaded module was loaded from.
#pragma once

#include <windows.h>

#include <filesystem>

namespace pictaro {

// `module` null stands for the program itself. Empty when the system can't tell.
std::filesystem::path ModuleFile(HMODULE module);

}  // namespace pictaro
