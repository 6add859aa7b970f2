// Finished rasters on screen, and platform icons made of a resource.
#pragma once

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/icon.h>
#include <wx/image.h>

#include <cstdint>

#include "model/GridSlot.h"
#include "model/Raster.h"
#include "model/ResourceGrid.h"

namespace pictaro {

// A 0x00BBGGRR colour (red in the low byte) as wx takes it.
wxColour ToWxColour(std::uint32_t color);

// The raster's colours; with `alpha` its alpha channel as well.
wxImage RasterToImage(const Raster& raster, bool alpha);
// Each of the raster's pixels as `factor` x `factor` pixels on screen.
wxBitmap RasterToBitmap(const Raster& raster, int factor = 1);

// The image with each pixel repeated `factor` times across and down: whole pixels, never
// resampled by a fraction.
wxImage Magnified(const wxImage& image, int factor);

// An icon of the resource's own size with its alpha (32-bit) or 1-bit mask; invalid when the
// resource is not present.
wxIcon CreateIcon(const ResourceGrid& grid, int index);
wxIcon CreateIcon(const ResourceGrid& grid, const GridSlot& slot);

}  // namespace pictaro
