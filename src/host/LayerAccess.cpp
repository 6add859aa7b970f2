#include "host/LayerAccess.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "host/FilterParameters.h"
#include "model/ResourcePixels.h"

namespace pictaro {
namespace {

constexpr Rect kEmptyRect{0, 0, 0, 0};
constexpr std::uint8_t kOpaque = 255;
constexpr std::uint8_t kTransparent = 0;
constexpr std::uint8_t kWhite = 255;

// A host without the callback delivers nothing; it counts as a failed request.
int16 AdvanceState(const FilterRecord& record) {
  return record.advanceState != nullptr ? record.advanceState() : kParamErr;
}

void Warn(Desktop& desktop, const char* text) {
  desktop.ShowMessage(text, kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
}

// Colour planes first, then transparency; outside a floating selection the planes are counted
// in absolute layer terms.
void ApplyPlaneRange(FilterRecord& record) {
  record.inLoPlane = record.outLoPlane = 0;
  record.outHiPlane = static_cast<int16>(record.planes - 1);
  record.inHiPlane = record.outHiPlane;
  if (record.isFloating) return;
  record.wantsAbsolute = true;
  if (record.inLayerPlanes != 0 && record.inTransparencyMask != 0) {
    record.inHiPlane = static_cast<int16>(record.absLayerPlanes + record.absTransparencyMask +
                                          record.absLayerMasks + record.absInvertedLayerMasks +
                                          record.absNonLayerPlanes - 1);
  }
  if (record.outLayerPlanes != 0 && record.outTransparencyMask != 0) {
    record.outHiPlane = static_cast<int16>(record.outLayerPlanes + record.outTransparencyMask +
                                           record.outLayerMasks + record.outInvertedLayerMasks +
                                           record.outNonLayerPlanes - 1);
  }
}

void ShowTooSmall(Desktop& desktop, std::uint32_t pixels) {
  char text[200];
  std::snprintf(text, sizeof text,
                "The layer selection is too small for the %d x %d pixel icon data.\n\n"
                "Please try running Pictaro again with a larger selection.",
                static_cast<int>(pixels), static_cast<int>(pixels));
  Warn(desktop, text);
}

}  // namespace

LayerImage CurrentLayerImage(const FilterRecord& record) {
  return LayerImage{record.inRect, static_cast<const std::uint8_t*>(record.inData),
                    record.inRowBytes, record.inColumnBytes};
}

void RequestLayerRect(FilterRecord& record, const Rect& rect) {
  record.inRect = record.outRect = rect;
  ApplyPlaneRange(record);
  if (record.haveMask) record.maskRect = rect;
  record.inputRate = kFixedOne;
  if (record.haveMask) record.maskRate = kFixedOne;
  record.inputPadding = record.outputPadding = 0;
  if (record.haveMask) record.maskPadding = 0;
}

int16 FetchLayer(HostContext& host, Desktop& desktop) {
  host.result = AdvanceState(*host.record);
  if (host.result != kNoErr) Warn(desktop, "Advance state failed!");
  return host.result;
}

void ScanLayerRows(HostContext& host, const std::function<void(const LayerImage& row)>& visitor) {
  FilterRecord& record = *host.record;
  const Rect area = record.inRect;

  // Read only, one row at a time, so that the host's working set stays one row.
  record.inLoPlane = 0;
  record.inHiPlane = static_cast<int16>(record.planes - 1);
  record.outLoPlane = record.outHiPlane = 0;
  record.wantsAbsolute = false;
  record.outRect = record.maskRect = kEmptyRect;
  record.inputRate = kFixedOne;
  record.inputPadding = record.outputPadding = 0;

  // A failed delivery is not examined: the visitor sees whatever the host left (base null).
  for (int i = 0; i < area.bottom - area.top; ++i) {
    const auto top = static_cast<int16>(area.top + i);
    record.inRect = Rect{top, area.left, static_cast<int16>(top + 1), area.right};
    AdvanceState(record);
    visitor(CurrentLayerImage(record));
  }

  RequestLayerRect(record, area);
  if (!area.Empty()) AdvanceState(record);
}

void DoFilterRect(HostContext& host, Desktop& desktop) {
  FilterRecord& record = *host.record;
  ApplyPlaneRange(record);
  if (record.haveMask) record.maskRect = kEmptyRect;
  record.outRect = record.inRect = record.filterRect;
  record.inputRate = kFixedOne;
  record.maskRate = 0;
  record.inputPadding = record.outputPadding = 0;
  if (record.haveMask) record.maskPadding = 0;

  host.result = AdvanceState(record);
  if (host.result == kNoErr) {
    GridSlot slot;
    std::string path;
    host.result = LoadApplySelection(host, slot, path);
    if (host.result == kNoErr) {
      // The layer receives the working file as saved, not the closing window's grid. A file
      // that can't be opened (Apply after New) writes nothing and says nothing.
      ResourceGrid grid;
      if (grid.ReadIco(path, desktop) != 0) WriteResourceToLayer(record, slot, grid, desktop);
    }
    if (host.result != kNoErr) Warn(desktop, "DoFilterRect failed!");
  }

  // Nothing more for the host to deliver.
  record.inRect = record.outRect = record.maskRect = kEmptyRect;
}

void WriteResourceToLayer(const FilterRecord& record, const GridSlot& slot, ResourceGrid& grid,
                          Desktop& desktop) {
  const std::uint32_t pixels = slot.PixelSize();
  if (pixels == 0) return;  // a size index from a damaged block

  const int width = record.filterRect.Width();
  const int height = record.filterRect.Height();
  if (width < static_cast<int>(pixels) || height < static_cast<int>(pixels)) {
    ShowTooSmall(desktop, pixels);
    return;
  }

  ResourceBuffers buffers;
  if (!grid.GetBuffers(slot, buffers)) return;
  auto* const out = static_cast<std::uint8_t*>(record.outData);
  // Bytes 0 to 2 are written for every pixel: a buffer of fewer planes can't take them.
  if (out == nullptr || buffers.colorBits == nullptr || record.outColumnBytes < 3) return;
  const IconResource& resource = grid.resources[ResourceGrid::IndexOf(slot)];

  // A resource read from another file may have its own size and depth at this position: it is
  // clipped to the square and written by its own depth. PixelAt reads any depth safely.
  const std::uint32_t columns = std::min(resource.width, pixels);
  const std::uint32_t rows = std::min(resource.height, pixels);
  const bool hasAlpha = resource.depth == 32;
  const bool withTransparency = record.outColumnBytes == 4;

  const int x0 = width / 2 - static_cast<int>(pixels) / 2;
  const int y0 = height / 2 - static_cast<int>(pixels) / 2;
  // The output buffer may be smaller than the filter area only with a host that ignored the
  // request; nothing outside it is written.
  const int outWidth = record.outRect.Width();
  const int outHeight = record.outRect.Height();

  for (std::uint32_t r = 0; r < rows; ++r) {
    const int y = y0 + static_cast<int>(r);
    if (y >= outHeight) break;
    std::uint8_t* row = out + static_cast<std::intptr_t>(y) * record.outRowBytes;
    for (std::uint32_t c = 0; c < columns; ++c) {
      const int x = x0 + static_cast<int>(c);
      if (x >= outWidth) break;
      const ResourcePixel pixel = PixelAt(resource, c, r);
      std::uint8_t* target = row + static_cast<std::intptr_t>(x) * record.outColumnBytes;
      target[0] = pixel.red;
      target[1] = pixel.green;
      target[2] = pixel.blue;
      if (hasAlpha) {
        // A 32-bit image's own 1-bit mask is not used: its alpha says it all.
        if (withTransparency) target[3] = pixel.alpha;
      } else if (withTransparency) {
        target[3] = pixel.masked ? kTransparent : kOpaque;
      } else if (pixel.masked) {
        target[0] = target[1] = target[2] = kWhite;
      }
    }
  }
}

}  // namespace pictaro
