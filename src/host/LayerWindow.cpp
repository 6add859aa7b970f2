#include "host/LayerWindow.h"

#include "host/ColorTableGenerator.h"
#include "host/LayerAccess.h"
#include "model/Capture.h"

namespace pictaro {

namespace {

constexpr std::uint32_t kSize256 = 4;
constexpr std::uint32_t kDepth32 = 2;

struct Location {
  int16 left, top, size;
};

// Entry order: for each size 16, 24, 32, 48 the 32-, 8- and 4-bit positions, then 256.
constexpr std::array<Location, LayerWindow::kPositionCount> kStandardLocations = {{
    {22, 256, 16},
    {87, 256, 16},
    {152, 256, 16},
    {22, 215, 24},
    {87, 215, 24},
    {152, 215, 24},
    {22, 166, 32},
    {87, 166, 32},
    {152, 166, 32},
    {22, 101, 48},
    {87, 101, 48},
    {152, 101, 48},
    {230, 101, 256},
}};

// Host rectangles hold 16-bit values; layer arithmetic wraps as they do.
int16 Wrap(int value) {
  return static_cast<int16>(value);
}

}  // namespace

LayerWindow::LayerWindow() : customTable(GreyRampTable()) {
  ResetPositions();
}

int LayerWindow::PositionEntry(const GridSlot& slot, bool samePosition) {
  if (slot.sizeIndex == kSize256) return samePosition || slot.depthIndex == kDepth32 ? 12 : -1;
  const int size =
      slot.sizeIndex >= 1 && slot.sizeIndex <= 3 ? static_cast<int>(slot.sizeIndex) : 0;
  if (samePosition) return 3 * size;
  if (slot.depthIndex > kDepth32) return -1;
  return 3 * size + (2 - static_cast<int>(slot.depthIndex));
}

void LayerWindow::ResetPositions() {
  for (int entry = 0; entry < kPositionCount; ++entry) {
    const Location& l = kStandardLocations[entry];
    gridPositions[entry] = Rect{l.top, l.left, Wrap(l.top + l.size), Wrap(l.left + l.size)};
  }
}

Rect LayerWindow::ViewRect(const GridSlot& slot) const {
  const int entry = PositionEntry(slot, samePosition);
  // A slot without a position is never produced; the view then stays on the origin.
  const Rect p = entry >= 0 ? gridPositions[entry] : Rect{};
  const int16 left = Wrap(p.left + Wrap(p.right - p.left) / 2 - kViewSize / 2);
  const int16 top = Wrap(p.top + Wrap(p.bottom - p.top) / 2 - kViewSize / 2);
  return Rect{top, left, Wrap(top + kViewSize), Wrap(left + kViewSize)};
}

void LayerWindow::Relayout(HostContext& host, const GridSlot& slot, Desktop& desktop) {
  RequestLayerRect(*host.record, ViewRect(slot));
  if (autoTable) GenerateColorTable(host, customTable);
  FetchLayer(host, desktop);
}

void LayerWindow::MoveView(HostContext& host, const GridSlot& slot, int dy, int dx) {
  if (locked) return;
  Rect view = host.record->inRect;
  view.top = Wrap(view.top + dy);
  view.bottom = Wrap(view.bottom + dy);
  view.left = Wrap(view.left + dx);
  view.right = Wrap(view.right + dx);
  RequestLayerRect(*host.record, view);

  const int entry = PositionEntry(slot, samePosition);
  if (entry < 0) return;
  // The size the view's square and the capture use too, so a position is never stored smaller.
  const int size = static_cast<int>(slot.GridPixelSize());
  const int16 left = Wrap(view.left + Wrap(view.right - view.left) / 2 - size / 2);
  const int16 top = Wrap(view.top + Wrap(view.bottom - view.top) / 2 - size / 2);
  gridPositions[entry] = Rect{top, left, Wrap(top + size), Wrap(left + size)};
}

void LayerWindow::EndDrag(HostContext& host) {
  if (autoTable) GenerateColorTable(host, customTable);
}

int LayerWindow::CaptureResource(const HostContext& host, const GridSlot& slot, ResourceGrid& grid,
                                 Desktop& desktop) const {
  const CaptureTables tables{.useCustomTable = useCustomTable, .customTable = &customTable};
  return pictaro::CaptureResource(CurrentLayerImage(*host.record), slot, grid, tables, desktop);
}

void LayerWindow::Build(HostContext& host, GridSlot& current, const std::vector<GridSlot>& slots,
                        ResourceGrid& grid, Desktop& desktop) {
  const GridSlot saved = current;
  for (const GridSlot& slot : slots) {
    current.CopyFrom(slot, true);
    Relayout(host, current, desktop);
    // Each capture stands alone: an empty square or a failed one leaves the others to do.
    CaptureResource(host, current, grid, desktop);
  }
  current.CopyFrom(saved, true);
}

std::vector<GridSlot> BuildSlots(const GridSlot& current, bool shift, bool ctrl) {
  const auto slot = [](std::uint32_t size, std::uint32_t depth) {
    return GridSlot(size, depth, depth == kDepth32 ? 1 : 0, 0);
  };
  std::vector<GridSlot> slots;
  if (shift) {
    if (current.sizeIndex == kSize256) return {slot(kSize256, kDepth32)};
    for (std::uint32_t depth = 0; depth <= kDepth32; ++depth) {
      slots.push_back(slot(current.sizeIndex, depth));
    }
    return slots;
  }
  if (ctrl) {
    for (std::uint32_t size = 0; size < kSize256; ++size) {
      slots.push_back(slot(size, current.depthIndex));
    }
    if (current.depthIndex == kDepth32) slots.push_back(slot(kSize256, kDepth32));
    return slots;
  }
  for (std::uint32_t size = 0; size < kSize256; ++size) {
    for (std::uint32_t depth = 0; depth <= kDepth32; ++depth) slots.push_back(slot(size, depth));
  }
  slots.push_back(slot(kSize256, kDepth32));
  return slots;
}

}  // namespace pictaro
