// The colour rules of the main window's surfaces and the picture of one grid cell: the
// background, the resource drawn in its view mode, and the three 1-pixel rings of its frame.
// Colours are 0x00BBGGRR, red in the low byte.
#pragma once

#include <cstdint>

#include "model/GridSlot.h"
#include "model/Raster.h"
#include "model/ResourceGrid.h"

namespace pictaro {

// The panel bands' and the labels' colour: darker by a quarter on a light colour (luminance
// 0.5 or more), half way to white on a dark one; single precision, truncated.
std::uint32_t ShadeOf(std::uint32_t color);

// The frame's shade of a cell: each channel three quarters, in double precision, truncated.
std::uint32_t FrameShadeOf(std::uint32_t color);

struct CellLook {
  std::uint32_t background = 0x808080;
  bool selected = false;
  bool stretch = false;
  bool focused = false;
};

// Paints a whole cell of the raster's size: `grid` may be null (background and frame only).
void PaintCell(Raster& cell, const ResourceGrid* grid, const GridSlot& slot, const CellLook& look);

}  // namespace pictaro
