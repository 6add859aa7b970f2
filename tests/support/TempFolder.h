// A temporary folder removed with its contents at the end of a test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace pictaro::testing {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pictaro-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() { std::filesystem::remove_all(path_, ignored_); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::error_code ignored_;
};

}  // namespace pictaro::testing
