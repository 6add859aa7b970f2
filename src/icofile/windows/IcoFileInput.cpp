// .ico files opened for the reader, with Win32 file I/O.
#include "icofile/IcoInput.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "platform/Utf8Path.h"

namespace pictaro {

namespace {

class FileIcoInput : public IcoInput {
 public:
  FileIcoInput(HANDLE file, std::uint64_t size) : file_(file), size_(size) {}
  ~FileIcoInput() override { ::CloseHandle(file_); }
  FileIcoInput(const FileIcoInput&) = delete;
  FileIcoInput& operator=(const FileIcoInput&) = delete;

  std::uint64_t Size() const override { return size_; }

  bool Seek(std::uint64_t offset) override {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    return offset <= static_cast<std::uint64_t>(INT64_MAX) &&
           ::SetFilePointerEx(file_, position, nullptr, FILE_BEGIN) != 0;
  }

  std::int64_t Read(std::uint8_t* into, std::size_t bytes) override {
    std::size_t done = 0;
    while (done < bytes) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes - done, 1u << 30));
      DWORD got = 0;
      if (!::ReadFile(file_, into + done, chunk, &got, nullptr)) return -1;
      if (got == 0) break;
      done += got;
    }
    return static_cast<std::int64_t>(done);
  }

 private:
  HANDLE file_;
  std::uint64_t size_;
};

}  // namespace

std::unique_ptr<IcoInput> OpenIcoFile(const std::string& path) {
  // A folder can't be opened this way; a pipe, console or device is refused below.
  const HANDLE file = ::CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  BY_HANDLE_FILE_INFORMATION information{};
  LARGE_INTEGER size{};
  if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
      !::GetFileSizeEx(file, &size)) {
    ::CloseHandle(file);
    return nullptr;
  }
  return std::make_unique<FileIcoInput>(file, static_cast<std::uint64_t>(size.QuadPart));
}

}  // namespace pictaro
