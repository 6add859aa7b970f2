// Why a file could not be read or written, in the system's own words ("No such file or
// directory", "Is a directory", "Permission denied"), found by looking at the path once an
// attempt has failed.
#pragma once

#include <string>

namespace pictaro {

// Empty when the file can be opened for reading after all.
std::string ReadProblem(const std::string& path);

// What the path itself shows: the name is a folder, or its folder is missing; otherwise the
// system's text for `failure` (the errno of the failed attempt), or empty when that is 0.
std::string WriteProblem(const std::string& path, int failure);

}  // namespace pictaro
