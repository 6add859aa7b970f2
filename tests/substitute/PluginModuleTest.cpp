#include <gtest/gtest.h>

#include "substitute/SubstituteHost.h"

namespace pictaro {
namespace {

TEST(PluginModuleTest, AMissingModuleGivesNoEntryAndSaysWhich) {
  std::string error;
  EXPECT_EQ(LoadPluginModule("/nonexistent/Pictaro.8bf", error), nullptr);
  EXPECT_NE(error.find("/nonexistent/Pictaro.8bf"), std::string::npos);
}

TEST(PluginModuleTest, ALibraryWithoutPluginMainIsNoPlugIn) {
  std::string error;
  EXPECT_EQ(LoadPluginModule("libm.so.6", error), nullptr);
  EXPECT_NE(error.find("PluginMain"), std::string::npos);
}

}  // namespace
}  // namespace pictaro
