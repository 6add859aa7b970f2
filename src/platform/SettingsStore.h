// Where the main window's settings record lives between runs, read and written whole: on Windows
// the REG_BINARY value "Settings" of a key under HKEY_CURRENT_USER; elsewhere the file "Settings"
// in the settings folder, answering with error codes as the registry would.
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
#ifdef _WIN32
inline constexpr int kSettingsNotFound = 2;  // ERROR_FILE_NOT_FOUND, for a missing key or value
#else
inline constexpr int kSettingsNotFound = ENOENT;
#endif

struct SettingsRead {
  int error = 0;                   // the registry's error code, or errno; 0 when it could be read
  std::string errorText;           // the platform's text for `error`
  std::size_t bytes = 0;           // the record's real size; 0 when it couldn't be read
  std::size_t expected = 0;        // the record's size the caller asked for
  std::vector<std::uint8_t> data;  // filled only when the record holds exactly the bytes expected
};

class SettingsStore {
 public:
  // `folder` is SettingsFolder() in production, a throwaway folder (a key on Windows) in tests.
  explicit SettingsStore(std::filesystem::path folder);

  // The record's file, or on Windows the key's path followed by the value's name.
  const std::filesystem::path& Path() const { return path_; }

  SettingsRead Read(std::size_t expected) const;
  // Creates the folder (key) when missing and replaces the value whole: a failed write leaves the
  // previous value as it was. Errors are returned, not reported.
  bool Write(std::span<const std::uint8_t> bytes) const;

 private:
  SettingsRead ReadRecord(std::size_t expected) const;

  std::filesystem::path folder_;
  std::filesystem::path path_;
};

// "Could not read settings, error was %d - %s (%d bytes of %d)", against the size asked for.
std::string SettingsReadMessage(const SettingsRead& read);

}  // namespace pictaro
