// The window onto the layer that every capture reads: the thirteen grid positions, the
// 256 x 256 view rectangle centred on the current one, its request and fetch, the custom
// colour table and the capture itself. The Capture tab's view paints it; the command-line
// tool builds icons with it directly.
#pragma once

#include <array>
#include <vector>

#include "host/FilterRecord.h"
#include "host/HostContext.h"
#include "model/ColorTable.h"
#include "model/GridSlot.h"
#include "model/ResourceGrid.h"
#include "platform/Desktop.h"

namespace pictaro {

class LayerWindow {
 public:
  static constexpr int kPositionCount = 13;
  static constexpr int kViewSize = 256;  // the image area, in layer pixels

  LayerWindow();

  // The position entry that holds a slot's grid position, or -1. With `samePosition` the
  // depths of a size share the 32-bit entry.
  static int PositionEntry(const GridSlot& slot, bool samePosition);

  // Puts every grid position back at its standard location.
  void ResetPositions();

  // The layer rectangle in view for a slot: kViewSize square, centred on its grid position,
  // not clipped to the layer.
  Rect ViewRect(const GridSlot& slot) const;

  // Requests the slot's view rectangle, rebuilds the custom table from it when autoTable is
  // set, and fetches it.
  void Relayout(HostContext& host, const GridSlot& slot, Desktop& desktop);

  // Moves the region in view by (dy, dx) layer pixels and the slot's grid position with it;
  // nothing while locked. The caller fetches.
  void MoveView(HostContext& host, const GridSlot& slot, int dy, int dx);

  // A drag has ended over the region now requested: the automatic table follows it.
  void EndDrag(HostContext& host);

  // Captures the slot's resource from the region last fetched.
  int CaptureResource(const HostContext& host, const GridSlot& slot, ResourceGrid& grid,
                      Desktop& desktop) const;

  // Fills every slot of `slots` in turn: `current` is set to it, its region fetched and the
  // resource captured; `current` is restored at the end.
  void Build(HostContext& host, GridSlot& current, const std::vector<GridSlot>& slots,
             ResourceGrid& grid, Desktop& desktop);

  std::array<Rect, kPositionCount> gridPositions{};
  bool useCustomTable = false;
  ColorTable customTable;
  bool autoTable = false;
  bool locked = true;
  bool samePosition = false;
};

// The slots Build fills, in order: with Shift the current size in every depth (256 alone),
// with Ctrl the current depth in every size (256 last for 32 bits), otherwise all thirteen.
// Shift wins over Ctrl.
std::vector<GridSlot> BuildSlots(const GridSlot& current, bool shift, bool ctrl);

}  // namespace pictaro
