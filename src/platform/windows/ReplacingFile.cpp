#include "platform/ReplacingFile.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>

#include "platform/Utf8Path.h"
#include "platform/windows/WideText.h"

namespace pictaro {

namespace {

HANDLE AsHandle(std::intptr_t file) {
  return reinterpret_cast<HANDLE>(file);
}

// Callers report a failure by errno, as they do on POSIX.
void SetErrno(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      errno = ENOENT;
      break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      errno = ENOSPC;
      break;
    default:
      errno = EACCES;
  }
}

// A name no other save uses: CREATE_NEW refuses a name taken meanwhile, and the next is tried.
std::wstring TemporaryName(const std::wstring& target) {
  static std::atomic<unsigned> count{0};
  return L"." + target + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(::GetTickCount64() % 100000) + L"-" + std::to_wstring(++count);
}

// ReplaceFileW keeps the target's attributes, security and streams; a new target is moved in.
bool PutInPlace(const std::wstring& temporary, const std::wstring& target) {
  constexpr DWORD kIgnore = REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
  if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
    if (::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, kIgnore, nullptr, nullptr)) {
      return true;
    }
    switch (::GetLastError()) {
      case ERROR_FILE_NOT_FOUND:  // the target went away meanwhile
      case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
      case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:  // the new file is still under its temporary name
        break;
      default:
        return false;
    }
  }
  return ::MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& target) : target_(target) {
  // Whole paths from here on: the replacing calls take no name relative to the current folder.
  std::error_code error;
  const std::filesystem::path path = std::filesystem::absolute(PathFromUtf8(target_), error);
  if (error) {
    errno = ENOENT;
    return;
  }
  target_ = Utf8FromPath(path);
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  // Replacing would remove a file marked read-only, and a folder is no file at all.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    errno = EISDIR;
    return;
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    errno = EACCES;
    return;
  }

  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path temporary =
        path.parent_path() / TemporaryName(path.filename().native());
    // Shared, so that a writer given TemporaryPath() can open it too.
    const HANDLE handle =
        ::CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      temporary_ = Utf8FromPath(temporary);
      file_ = reinterpret_cast<std::intptr_t>(handle);
      return;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      SetErrno(error);
      return;
    }
  }
  errno = EEXIST;
}

ReplacingFile::~ReplacingFile() {
  if (IsOpen()) ::CloseHandle(AsHandle(file_));
  if (!committed_ && !temporary_.empty()) ::DeleteFileW(WideFromUtf8(temporary_).c_str());
}

bool ReplacingFile::Write(const void* data, std::size_t size) {
  if (!IsOpen()) return false;
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(AsHandle(file_), bytes, chunk, &written, nullptr) || written == 0) {
      SetErrno(::GetLastError());
      return false;
    }
    bytes += written;
    size -= written;
  }
  return true;
}

bool ReplacingFile::Commit() {
  if (!IsOpen()) return false;
  const HANDLE handle = AsHandle(file_);
  file_ = kNoFile;
  const bool flushed = ::FlushFileBuffers(handle) != 0;
  const bool closed = ::CloseHandle(handle) != 0;
  if (!flushed || !closed ||
      !PutInPlace(WideFromUtf8(temporary_), PathFromUtf8(target_).native())) {
    SetErrno(::GetLastError());
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace pictaro
