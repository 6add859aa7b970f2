#include "platform/ProgramArguments.h"

namespace pictaro {

// Arguments are bytes here, taken as they are.
std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  if (argc < 1) return {std::string()};
  return std::vector<std::string>(argv, argv + argc);
}

}  // namespace pictaro
