// A file written beside its target and renamed over it only when complete, so that a failed
// or interrupted save leaves the previous file exactly as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pictaro {

class ReplacingFile {
 public:
  // Creates the temporary file in the target's folder; `target` is UTF-8. A symbolic link is
  // followed on POSIX, so the file it names is replaced and the link stays. Fails, leaving
  // IsOpen() false, when the target is a folder or a file that may not be written.
  explicit ReplacingFile(const std::string& target);
  // Removes the temporary file unless it was committed.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool IsOpen() const { return file_ != kNoFile; }
  // For writers that want a path rather than a descriptor (UTF-8; others may open it meanwhile).
  const std::string& TemporaryPath() const { return temporary_; }

  // Writes all of `size` bytes or fails; a short write is a failure.
  bool Write(const void* data, std::size_t size);

  // Flushes the data to disk and puts the file in the target's place: on POSIX with the target's
  // permissions (or the usual ones for a new file), on Windows with its attributes and security.
  bool Commit();

 private:
  // A descriptor, or on Windows a HANDLE; both platforms mark "none" with -1.
  static constexpr std::intptr_t kNoFile = -1;

  std::string target_;
  std::string temporary_;
  std::intptr_t file_ = kNoFile;
  bool committed_ = false;
};

}  // namespace pictaro
