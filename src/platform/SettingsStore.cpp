#include "platform/SettingsStore.h"

#include <utility>

namespace pictaro {

namespace {

constexpr const char* kSettingsValue = "Settings";

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path folder)
    : folder_(std::move(folder)), path_(folder_ / kSettingsValue) {}

SettingsRead SettingsStore::Read(std::size_t expected) const {
  SettingsRead read = ReadRecord(expected);
  read.expected = expected;
  return read;
}

std::string SettingsReadMessage(const SettingsRead& read) {
  return "Could not read settings, error was " + std::to_string(read.error) + " - " +
         read.errorText + " (" + std::to_string(read.bytes) + " bytes of " +
         std::to_string(read.expected) + ")";
}

}  // namespace pictaro
