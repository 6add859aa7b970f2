// Where the Web menu's commands lead. The maker's pages are the project's own documentation,
// installed in a "docs" folder beside the plug-in module; the guidelines are public pages.
#pragma once

#include <filesystem>
#include <string>

namespace pictaro {

// The folder that holds the running module (the plug-in, or the program it is linked into), not
// the host program.
std::filesystem::path ModuleFolder();

// The address a Web menu command opens, or empty for another command.
std::string WebPageAddress(int command);

}  // namespace pictaro
