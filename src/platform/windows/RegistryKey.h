// A key under HKEY_CURRENT_USER, closed when it goes out of scope.
#pragma once

#include <windows.h>

#include <filesystem>

namespace pictaro {

class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Both return the registry's error code, ERROR_SUCCESS when the key is open.
  LSTATUS Open(const std::filesystem::path& path, REGSAM access) {
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key_);
  }
  LSTATUS Create(const std::filesystem::path& path, REGSAM access) {
    return ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             access, nullptr, &key_, nullptr);
  }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace pictaro
