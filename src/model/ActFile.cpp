#include "model/ActFile.h"

#include <filesystem>
#include <fstream>

#include "platform/Utf8Path.h"

namespace pictaro {

ActRead ReadActFile(const std::string& path, ColorTable& table) {
  // A folder opens as a stream on some systems, and would read as a short table.
  std::error_code ec;
  if (std::filesystem::is_directory(PathFromUtf8(path), ec)) return ActRead::CannotOpen;
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  if (!in) return ActRead::CannotOpen;
  in.read(reinterpret_cast<char*>(table.data()), static_cast<std::streamsize>(table.size()));
  return static_cast<std::size_t>(in.gcount()) == table.size() ? ActRead::Loaded
                                                               : ActRead::TooShort;
}

}  // namespace pictaro
