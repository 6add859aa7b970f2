// A program's command-line arguments as UTF-8, the text the rest of the program works in.
#pragma once

#include <string>
#include <vector>

namespace pictaro {

// All of them, the program's own name first (empty when it was given none, so there is always
// a first). On Windows they are taken from the wide command
// line, so that a file name outside the system's code page arrives whole.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace pictaro
