// Where the main window's settings record lives between runs: the file "Settings" in the
// settings folder, read and written whole, answering with error codes as a registry would.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace pictaro {

// No settings yet (the first run): the caller stays silent.
inline constexpr int kSettingsNotFound = ENOENT;

struct SettingsRead {
  int error = 0;                   // errno, 0 when the file could be read
  std::string errorText;           // the platform's text for `error`
  std::size_t bytes = 0;           // the file's real size; 0 when it couldn't be read
  std::size_t expected = 0;        // the record's size the caller asked for
  std::vector<std::uint8_t> data;  // filled only when the file holds exactly the bytes expected
};

class SettingsStore {
 public:
  // `folder` is SettingsFolder() in production, a temporary folder in tests.
  explicit SettingsStore(std::filesystem::path folder);

  const std::filesystem::path& Path() const { return path_; }

  SettingsRead Read(std::size_t expected) const;
  // Creates the folder when missing and replaces the value whole: a failed write leaves the
  // previous value as it was. Errors are returned, not reported.
  bool Write(std::span<const std::uint8_t> bytes) const;

 private:
  SettingsRead ReadFile(std::size_t expected) const;

  std::filesystem::path folder_;
  std::filesystem::path path_;
};

// "Could not read settings, error was %d - %s (%d bytes of %d)", against the size asked for.
std::string SettingsReadMessage(const SettingsRead& read);

}  // namespace pictaro
