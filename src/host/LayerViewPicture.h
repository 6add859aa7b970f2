// The picture of the Capture tab's view: the region the host delivered, composited on the
// background colour, with the current capture square undimmed and everything around it
// dimmed, and small resources optionally shown four times enlarged.
#pragma once

#include <cstdint>

#include "host/LayerAccess.h"
#include "model/Raster.h"

namespace pictaro {

struct LayerViewLook {
  std::uint32_t background = 0x808080;  // 0x00BBGGRR
  int squareSize = 48;                  // the current selection's pixel size
  bool zoom = false;                    // "Zoom small resources"
};

// Composes `image` into `area`, which has the image area's size, pixel (c, r) of the image
// at (c, r) of the area. Returns false, leaving `area` as it was, when the host delivered
// nothing.
bool RenderLayerPicture(const LayerImage& image, const LayerViewLook& look, Raster& area);

}  // namespace pictaro
