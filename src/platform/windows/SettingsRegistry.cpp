// The settings record as the REG_BINARY value "Settings" of its key under HKEY_CURRENT_USER.
#include "platform/SettingsStore.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "platform/windows/RegistryKey.h"
#include "platform/windows/WideText.h"

namespace pictaro {

namespace {

constexpr const wchar_t* kSettingsValue = L"Settings";

SettingsRead WithError(LSTATUS error) {
  SettingsRead read;
  read.error = static_cast<int>(error);
  read.errorText = SystemErrorText(static_cast<unsigned long>(error));
  return read;
}

}  // namespace

SettingsRead SettingsStore::ReadRecord(std::size_t expected) const {
  RegistryKey key;
  if (const LSTATUS opened = key.Open(folder_, KEY_QUERY_VALUE); opened != ERROR_SUCCESS) {
    return WithError(opened);
  }
  if (expected > MAXDWORD) return WithError(ERROR_INVALID_PARAMETER);
  // Queried into a buffer of the expected size, as the record was always read: a smaller value
  // comes with success, a larger one with ERROR_MORE_DATA, each with its real size.
  std::vector<std::uint8_t> data(expected);
  DWORD size = static_cast<DWORD>(expected);
  const LSTATUS queried =
      ::RegQueryValueExW(key.Get(), kSettingsValue, nullptr, nullptr, data.data(), &size);
  SettingsRead read = WithError(queried);
  if (queried != ERROR_SUCCESS && queried != ERROR_MORE_DATA) return read;
  read.bytes = size;
  if (queried == ERROR_SUCCESS && size == expected) read.data = std::move(data);
  return read;
}

bool SettingsStore::Write(std::span<const std::uint8_t> bytes) const {
  if (bytes.size() > MAXDWORD) return false;
  RegistryKey key;
  // The registry replaces a value whole or not at all.
  return key.Create(folder_, KEY_SET_VALUE) == ERROR_SUCCESS &&
         ::RegSetValueExW(key.Get(), kSettingsValue, 0, REG_BINARY, bytes.data(),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

}  // namespace pictaro
