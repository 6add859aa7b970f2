// The only ways pixels travel between the host and the plug-in: a requested rectangle of the
// layer delivered through advanceState, read through a LayerImage, and the Apply step that
// writes one resource of the working file into the layer.
#pragma once

#include <cstdint>
#include <functional>

#include "host/FilterRecord.h"
#include "host/HostContext.h"
#include "model/GridSlot.h"
#include "model/LayerImage.h"
#include "model/ResourceGrid.h"
#include "platform/Desktop.h"

namespace pictaro {

// The input side of the record as the host last delivered it.
LayerImage CurrentLayerImage(const FilterRecord& record);

// Asks the host to deliver `rect` for reading and writing at full resolution, colour planes
// followed by transparency, no padding.
void RequestLayerRect(FilterRecord& record, const Rect& rect);

// advanceState; its result goes into the result cell, and a failure is shown as
// "Advance state failed!". Returns the result.
int16 FetchLayer(HostContext& host, Desktop& desktop);

// Delivers the current request's rectangle one row at a time, top row first, then requests
// and fetches the rectangle again so that the caller's LayerImage is valid as before.
void ScanLayerRows(HostContext& host, const std::function<void(const LayerImage& row)>& visitor);

// The Apply step: reads the working file named in the parameter block and writes its selected
// resource, centred, into the whole filter area.
void DoFilterRect(HostContext& host, Desktop& desktop);

// Writes the slot's resource, centred and at its own size, into the host's output buffer.
void WriteResourceToLayer(const FilterRecord& record, const GridSlot& slot, ResourceGrid& grid,
                          Desktop& desktop);

}  // namespace pictaro
