#include "platform/FirstRun.h"

#include <windows.h>

#include "platform/windows/RegistryKey.h"

namespace pictaro {
namespace {

constexpr const wchar_t* kWelcomedValue = L"Welcomed";

}  // namespace

std::filesystem::path SettingsFolder() {
  return L"Software\\Quillory\\PictaroXP\\2.0";
}

bool IsFirstRun(const std::filesystem::path& folder) {
  RegistryKey key;
  return key.Open(folder, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
         ::RegQueryValueExW(key.Get(), kWelcomedValue, nullptr, nullptr, nullptr, nullptr) !=
             ERROR_SUCCESS;
}

bool RecordFirstRun(const std::filesystem::path& folder) {
  RegistryKey key;
  const DWORD welcomed = 1;
  return key.Create(folder, KEY_SET_VALUE) == ERROR_SUCCESS &&
         ::RegSetValueExW(key.Get(), kWelcomedValue, 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&welcomed),
                          sizeof welcomed) == ERROR_SUCCESS;
}

}  // namespace pictaro
