// A temporary folder removed with its contents at the end of a test.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace pictaro::testing {

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    do {
      path_ = std::filesystem::temp_directory_path() / ("pictaro-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_, ignored_) && !ignored_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_, ignored_); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::error_code ignored_;
};

}  // namespace pictaro::testing
