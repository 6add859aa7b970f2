// A file written beside its target and renamed over it only when complete, so that a failed
// or interrupted save leaves the previous file exactly as it was.
#pragma once

#include <cstddef>
#include <string>

namespace pictaro {

class ReplacingFile {
 public:
  // Creates the temporary file in the target's folder. A symbolic link is followed, so the
  // file it names is replaced and the link stays. Fails, leaving IsOpen() false, when the
  // target is a folder or a file that may not be written.
  explicit ReplacingFile(const std::string& target);
  // Removes the temporary file unless it was committed.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // For writers that want a path rather than a descriptor.
  const std::string& TemporaryPath() const { return temporary_; }

  // Writes all of `size` bytes or fails; a short write is a failure.
  bool Write(const void* data, std::size_t size);

  // Flushes the data to disk, gives the file the target's permissions (or the usual ones for a
  // new file) and renames it over the target.
  bool Commit();

 private:
  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace pictaro
