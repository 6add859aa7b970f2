#include "gimp/RunOnDrawable.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "hostengine/display/DisplayAvailable.h"

namespace pictaro {
namespace {

const Babl* PixelFormat(int planes) {
  return babl_format(planes == 4 ? "R'G'B'A u8" : "R'G'B' u8");
}

// GEGL's rectangles are x, y, width, height.
GeglRectangle GeglRect(const Rect& r) {
  return {r.left, r.top, r.Width(), r.Height()};
}

// A reference from libgimp, released when the scope ends.
struct BufferRef {
  GeglBuffer* buffer;
  ~BufferRef() {
    if (buffer != nullptr) g_object_unref(buffer);
  }
};

}  // namespace

Rect ChangedBounds(const Layer& before, const Layer& after, const Rect& area) {
  Rect bounds{INT16_MAX, INT16_MAX, 0, 0};
  const std::size_t rowBytes = static_cast<std::size_t>(area.Width()) * after.planes;
  for (int y = area.top; y < area.bottom; ++y) {
    const std::uint8_t* now = after.At(area.left, y);
    const std::uint8_t* was = before.At(area.left, y);
    if (std::equal(now, now + rowBytes, was)) continue;
    std::size_t first = 0, last = rowBytes;
    while (now[first] == was[first]) ++first;
    while (now[last - 1] == was[last - 1]) --last;
    const int left = area.left + static_cast<int>(first) / after.planes;
    const int right = area.left + static_cast<int>(last - 1) / after.planes + 1;
    bounds = {std::min(bounds.top, static_cast<int16>(y)),
              std::min(bounds.left, static_cast<int16>(left)), static_cast<int16>(y + 1),
              std::max(bounds.right, static_cast<int16>(right))};
  }
  return bounds.Empty() ? Rect{} : bounds;
}

void WriteChanged(GeglBuffer* source, GeglBuffer* shadow, const Layer& layer, const Rect& area,
                  const Rect& changed) {
  const GeglRectangle whole = GeglRect(area);
  gegl_buffer_copy(source, &whole, GEGL_ABYSS_NONE, shadow, &whole);
  const GeglRectangle rect = GeglRect(changed);
  gegl_buffer_set(shadow, &rect, 0, PixelFormat(layer.planes), layer.At(changed.left, changed.top),
                  layer.width * layer.planes);
}

RunOutcome RunOnDrawable(DrawableAccess& drawable, PluginEntryProc entry) {
  const std::optional<Rect> area = drawable.SelectionBounds();
  if (!area) return {RunStatus::Failed, "Pictaro: the selection does not touch the layer."};
  Layer layer;
  layer.width = drawable.Width();
  layer.height = drawable.Height();
  layer.planes = drawable.HasAlpha() ? 4 : 3;
  if (layer.width > INT16_MAX || layer.height > INT16_MAX)
    return {RunStatus::Failed, "Pictaro: a layer is at most 32767 pixels wide and high."};
  layer.pixels.resize(static_cast<std::size_t>(layer.width) * layer.height * layer.planes);
  {
    const BufferRef buffer{drawable.Buffer()};
    const GeglRectangle whole{0, 0, layer.width, layer.height};
    gegl_buffer_get(buffer.buffer, &whole, 1.0, PixelFormat(layer.planes), layer.pixels.data(),
                    GEGL_AUTO_ROWSTRIDE, GEGL_ABYSS_NONE);
  }

  const Layer before = layer;
  HostEngine host(std::move(layer), *area);
  host.SetHostWindow(drawable.HostWindow());
  host.RestoreParameters(drawable.StoredParameters());
  const int16 result = host.RunFilter(entry);
  const std::vector<std::uint8_t> parameters = host.ParameterBytes();
  if (!parameters.empty()) drawable.StoreParameters(parameters);
  if (result == kUserCanceledErr) return {RunStatus::Cancelled, {}};
  if (result != kNoErr)
    return {RunStatus::Failed, "Pictaro failed with result " + std::to_string(result) + "."};
  if (!drawable.StillThere())
    return {RunStatus::Failed,
            "Pictaro: the layer was closed while Pictaro was open; nothing was written into it."};
  // A run that changed no pixel leaves the drawable, and its undo history, alone.
  const Rect changed = ChangedBounds(before, host.GetLayer(), *area);
  if (changed.Empty()) return {RunStatus::Ok, {}};
  {
    const BufferRef source{drawable.Buffer()};
    const BufferRef shadow{drawable.ShadowBuffer()};
    WriteChanged(source.buffer, shadow.buffer, host.GetLayer(), *area, changed);
  }
  drawable.MergeShadow(*area);
  return {RunStatus::Ok, {}};
}

RunOutcome RunOnDrawable(DrawableAccess& drawable) {
  if (!DisplayAvailable())
    return {RunStatus::Failed,
            std::string("Pictaro: ") + kNoDisplayMessage + "; Pictaro runs only interactively."};
  std::string error;
  const PluginEntryProc entry = LoadPluginModule(DefaultModulePath(), error);
  if (entry == nullptr) return {RunStatus::Failed, "Pictaro: " + error};
  return RunOnDrawable(drawable, entry);
}

}  // namespace pictaro
