#include "platform/FirstRun.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace pictaro {
namespace {

constexpr const char* kWelcomedFile = "Welcomed";

}  // namespace

std::filesystem::path SettingsFolder() {
  std::filesystem::path base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
    base = config;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    base = std::filesystem::path(home) / ".config";
  } else {
    base = std::filesystem::temp_directory_path();
  }
  return base / "Quillory" / "PictaroXP" / "2.0";
}

bool IsFirstRun(const std::filesystem::path& folder) {
  std::error_code error;
  return !std::filesystem::exists(folder / kWelcomedFile, error);
}

bool RecordFirstRun(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return false;
  std::ofstream out(folder / kWelcomedFile, std::ios::trunc);
  out << "1\n";
  return static_cast<bool>(out.flush());
}

}  // namespace pictaro
