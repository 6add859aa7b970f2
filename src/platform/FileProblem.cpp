#include "platform/FileProblem.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/Utf8Path.h"

namespace pictaro {

namespace fs = std::filesystem;

std::string ReadProblem(const std::string& path) {
  const fs::path file = PathFromUtf8(path);
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (ec && status.type() != fs::file_type::not_found) return ec.message();
  if (status.type() == fs::file_type::not_found) return std::strerror(ENOENT);
  if (status.type() == fs::file_type::directory) return std::strerror(EISDIR);
  // Opening a pipe or a device to see would wait on it, or read from it.
  if (status.type() != fs::file_type::regular) return "not a regular file";
  errno = 0;
  if (std::ifstream(file, std::ios::binary)) return {};
  return std::strerror(errno != 0 ? errno : EACCES);
}

std::string WriteProblem(const std::string& path, int failure) {
  const fs::path file = PathFromUtf8(path);
  std::error_code ec;
  if (fs::is_directory(file, ec)) return std::strerror(EISDIR);
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  const fs::file_status status = fs::status(folder, ec);
  if (status.type() == fs::file_type::not_found) return std::strerror(ENOENT);
  if (status.type() != fs::file_type::directory) return std::strerror(ENOTDIR);
  return failure != 0 ? std::strerror(failure) : std::string();
}

}  // namespace pictaro
