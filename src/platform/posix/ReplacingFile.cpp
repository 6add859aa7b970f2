#include "platform/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace pictaro {

namespace fs = std::filesystem;

ReplacingFile::ReplacingFile(const std::string& target) : target_(target) {
  std::error_code ec;
  if (fs::is_symlink(target_, ec)) {
    const fs::path resolved = fs::weakly_canonical(target_, ec);
    if (!ec) target_ = resolved.string();
  }
  struct stat existing = {};
  const bool exists = ::stat(target_.c_str(), &existing) == 0;
  // Renaming would replace a file its permissions protect, and a folder is no file at all.
  if (exists && S_ISDIR(existing.st_mode)) {
    errno = EISDIR;
    return;
  }
  if (exists && ::access(target_.c_str(), W_OK) != 0) return;

  const fs::path path(target_);
  const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
  // Appended piece by piece: GCC 12 at -O3 warns falsely about a literal + string concatenation.
  std::string name = ".";
  name += path.filename().string();
  name += ".XXXXXX";
  temporary_ = (folder / name).string();
  const int fd = ::mkstemp(temporary_.data());
  if (fd < 0) {
    temporary_.clear();
    return;
  }
  file_ = fd;
  // mkstemp makes the file private: give it the target's permissions and owner, or the usual
  // ones for a new file.
  if (exists) {
    ::fchmod(fd, existing.st_mode & 07777);
    if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
      // Only a privileged user may give a file away; the file is still written.
    }
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
}

ReplacingFile::~ReplacingFile() {
  if (IsOpen()) ::close(static_cast<int>(file_));
  if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

bool ReplacingFile::Write(const void* data, std::size_t size) {
  if (!IsOpen()) return false;
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = ::write(static_cast<int>(file_), bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool ReplacingFile::Commit() {
  if (!IsOpen()) return false;
  const int fd = static_cast<int>(file_);
  file_ = kNoFile;
  const bool flushed = ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!flushed || !closed) return false;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
  committed_ = true;
  // Make the rename itself durable; a folder that cannot be synced still holds the new file.
  const fs::path folder = fs::path(target_).parent_path();
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace pictaro
