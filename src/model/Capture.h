// Cutting one resource out of the delivered layer region: 1:1, the square centred in it.
#pragma once

#include "model/ColorTable.h"
#include "model/GridSlot.h"
#include "model/LayerImage.h"
#include "model/ResourceGrid.h"
#include "platform/Desktop.h"

namespace pictaro {

// Which table 8-bit captures use; 4-bit ones always use the 16-colour table.
struct CaptureTables {
  bool useCustomTable = false;
  const ColorTable* customTable = nullptr;
};

// Fills the slot's resource from the square of its size centred in `image`: colour data
// (reduced to the slot's table for 4 and 8 bits) and mask. Returns 1, also when the square shows
// nothing (the resource is then emptied), and 0 when the host delivered nothing or the block
// could not be made.
int CaptureResource(const LayerImage& image, const GridSlot& slot, ResourceGrid& grid,
                    const CaptureTables& tables, Desktop& desktop);

}  // namespace pictaro
