// The settings record as the file "Settings" in the settings folder.
#include "platform/SettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <system_error>
#include <utility>

#include "platform/ReplacingFile.h"

namespace pictaro {

namespace {

SettingsRead WithError(int error) {
  SettingsRead read;
  read.error = error;
  read.errorText = std::strerror(error);
  return read;
}

// Closes the descriptor on every way out of ReadRecord.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

SettingsRead SettingsStore::ReadRecord(std::size_t expected) const {
  // Non-blocking, so that a pipe put in the record's place can't hang the window.
  const FileDescriptor file(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.Get() < 0) return WithError(errno);
  struct stat status = {};
  if (::fstat(file.Get(), &status) != 0) return WithError(errno);
  if (S_ISDIR(status.st_mode)) return WithError(EISDIR);

  // A record of another size is no error, as a registry reports a value of another size with
  // success and its real size; only the size is looked at, however large the file.
  SettingsRead read = WithError(0);
  read.bytes = static_cast<std::size_t>(status.st_size);
  if (read.bytes != expected) return read;

  std::vector<std::uint8_t> data(expected);
  std::size_t done = 0;
  while (done < expected) {
    const ssize_t got = ::read(file.Get(), data.data() + done, expected - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return WithError(errno);
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  // The file may have shrunk since it was measured.
  read.bytes = done;
  if (done == expected) read.data = std::move(data);
  return read;
}

bool SettingsStore::Write(std::span<const std::uint8_t> bytes) const {
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  if (error) return false;
  ReplacingFile file(path_.string());
  return file.IsOpen() && file.Write(bytes.data(), bytes.size()) && file.Commit();
}

}  // namespace pictaro
