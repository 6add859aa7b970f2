// The shipped sample layer, whose artwork stands at the standard grid positions.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "substitute/SubstituteHost.h"

namespace pictaro::testing {

inline Layer SampleLayer() {
  std::string error;
  std::optional<Layer> layer =
      LoadLayerImage(PICTARO_SOURCE_DIR "/samples/sample-layer.png", false, error);
  EXPECT_TRUE(layer) << error;
  return layer ? std::move(*layer) : Layer{1, 1, 4, std::vector<std::uint8_t>(4, 0)};
}

}  // namespace pictaro::testing
