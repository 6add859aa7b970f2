// .ico files opened for the reader, with POSIX I/O.
#include "icofile/IcoInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace pictaro {

namespace {

class FileIcoInput : public IcoInput {
 public:
  FileIcoInput(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  ~FileIcoInput() override { ::close(fd_); }
  FileIcoInput(const FileIcoInput&) = delete;
  FileIcoInput& operator=(const FileIcoInput&) = delete;

  std::uint64_t Size() const override { return size_; }

  bool Seek(std::uint64_t offset) override {
    return offset <= static_cast<std::uint64_t>(INT64_MAX) &&
           ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) != static_cast<off_t>(-1);
  }

  std::int64_t Read(std::uint8_t* into, std::size_t bytes) override {
    std::size_t done = 0;
    while (done < bytes) {
      const ssize_t got = ::read(fd_, into + done, bytes - done);
      if (got < 0) {
        if (errno == EINTR) continue;
        return -1;
      }
      if (got == 0) break;
      done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
  }

 private:
  int fd_;
  std::uint64_t size_;
};

}  // namespace

std::unique_ptr<IcoInput> OpenIcoFile(const std::string& path) {
  // O_NONBLOCK keeps the open itself from waiting on a pipe; the file is refused below anyway.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat status = {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<FileIcoInput>(fd, static_cast<std::uint64_t>(status.st_size));
}

}  // namespace pictaro
