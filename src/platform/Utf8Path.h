// The program keeps paths as UTF-8 text; std::filesystem::path reads a narrow string in the
// system's code page on Windows, so every conversion between the two goes through here.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pictaro {

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace pictaro
