// Windows are tested for real on a (virtual) display; without one the whole
// binary reports itself skipped.
#include <gtest/gtest.h>
#include <wx/debug.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (std::getenv("DISPLAY") == nullptr || *std::getenv("DISPLAY") == '\0') {
    std::puts("no display: GUI tests skipped");
    return 77;
  }
#ifndef _WIN32
  setenv("GSETTINGS_BACKEND", "memory", 1);
#endif
  return RUN_ALL_TESTS();
}
