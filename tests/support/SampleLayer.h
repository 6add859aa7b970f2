// The shipped sample layer, whose artwork stands at the standard grid positions.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "substitute/SubstituteHost.h"

namespace pictaro::testing {

inline Layer SampleLayer() {
  std::string error;
  std::optional<Layer> layer =
      LoadLayerImage(PICTARO_SOURCE_DIR "/samples/sample-layer.png", false, error);
  if (!layer) throw std::runtime_error(error);
  return std::move(*layer);
}

}  // namespace pictaro::testing
