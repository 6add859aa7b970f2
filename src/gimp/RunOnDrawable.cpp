#include "gimp/RunOnDrawable.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "hostengine/display/DisplayAvailable.h"

namespace pictaro {
namespace {

// The most of the drawable's tiles GEGL keeps in the plug-in, whatever the layer's size.
constexpr guint64 kTileCacheBytes = 16 << 20;
// How long a drawable found still there is taken to be there without asking GIMP again.
constexpr std::chrono::milliseconds kStillThereFor{100};

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

// Copies the rows of `from` in `rect` that lie in `part` to `to`, each holding its own rectangle.
void CopyPart(const Rect& part, const Rect& fromRect, PixelRows from, const Rect& toRect,
              std::uint8_t* to, std::size_t toRowBytes, int planes) {
  const auto bytes = static_cast<std::size_t>(part.Width()) * planes;
  for (int y = part.top; y < part.bottom; ++y)
    std::memcpy(to + (y - toRect.top) * toRowBytes + (part.left - toRect.left) * planes,
                from.Row(y - fromRect.top) + (part.left - fromRect.left) * planes, bytes);
}

// The drawable's pixels as the engine reads and writes them: a read asks GEGL for its rectangle
// alone, in 8 bits a channel; what the plug-in writes is kept aside, and read over what GEGL
// gives, until the run has succeeded. A drawable closed meanwhile reads as transparent black:
// asking GIMP for its tiles then would end the plug-in.
class DrawablePixels final : public LayerPixels {
 public:
  DrawablePixels(DrawableAccess& drawable, int planes)
      : LayerPixels(drawable.Width(), drawable.Height(), planes),
        drawable_(drawable),
        source_(drawable.Buffer()) {}
  ~DrawablePixels() override { g_object_unref(source_); }
  DrawablePixels(const DrawablePixels&) = delete;
  DrawablePixels& operator=(const DrawablePixels&) = delete;

  PixelRows Read(const Rect& rect) override {
    const std::size_t rowBytes = static_cast<std::size_t>(rect.Width()) * Planes();
    buffer_.resize(rowBytes * rect.Height());
    if (Gone()) {
      std::fill(buffer_.begin(), buffer_.end(), 0);
    } else {
      const GeglRectangle wanted = GeglRect(rect);
      gegl_buffer_get(source_, &wanted, 1.0, PixelFormat(Planes()), buffer_.data(),
                      static_cast<gint>(rowBytes), GEGL_ABYSS_NONE);
    }
    for (const Edit& edit : edits_) {
      const Rect part = Intersection(edit.rect, rect);
      if (!part.Empty())
        CopyPart(part, edit.rect, edit.Rows(Planes()), rect, buffer_.data(), rowBytes, Planes());
    }
    return {buffer_.data(), rowBytes};
  }

  // A write over the whole of an earlier one replaces it.
  void Write(const Rect& rect, PixelRows rows) override {
    std::erase_if(edits_,
                  [&](const Edit& edit) { return Intersection(edit.rect, rect) == edit.rect; });
    Edit& edit = edits_.emplace_back();
    edit.rect = rect;
    edit.pixels.resize(static_cast<std::size_t>(rect.Width()) * Planes() * rect.Height());
    CopyPart(rect, rect, rows, rect, edit.pixels.data(),
             static_cast<std::size_t>(rect.Width()) * Planes(), Planes());
  }

 private:
  struct Edit {
    Rect rect;
    std::vector<std::uint8_t> pixels;
    PixelRows Rows(int planes) const {
      return {pixels.data(), static_cast<std::size_t>(rect.Width()) * planes};
    }
  };

  bool Gone() {
    const auto now = std::chrono::steady_clock::now();
    if (!gone_ && now - checked_ >= kStillThereFor) {
      gone_ = !drawable_.StillThere();
      checked_ = now;
    }
    return gone_;
  }

  DrawableAccess& drawable_;
  GeglBuffer* source_;
  std::vector<Edit> edits_;
  std::vector<std::uint8_t> buffer_;
  bool gone_ = false;
  std::chrono::steady_clock::time_point checked_{};
};

}  // namespace

RunOutcome RunOnDrawable(DrawableAccess& drawable, PluginEntryProc entry) {
  const std::optional<Rect> area = drawable.SelectionBounds();
  if (!area) return {RunStatus::Failed, "Pictaro: the selection does not touch the layer."};
  if (drawable.Width() > INT16_MAX || drawable.Height() > INT16_MAX)
    return {RunStatus::Failed, "Pictaro: a layer is at most 32767 pixels wide and high."};
  DrawablePixels pixels(drawable, drawable.HasAlpha() ? 4 : 3);
  HostEngine host(pixels, *area);
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
  const Rect changed = Intersection(host.ChangedArea(), *area);
  if (changed.Empty()) return {RunStatus::Ok, {}};
  // The merge takes the selected area from the shadow buffer: the changed pixels alone when the
  // selection could be narrowed to them, else with the rest of the area in the drawable's own
  // format, so that a drawable of higher precision loses nothing outside them.
  const bool narrowed = drawable.NarrowSelectionTo(changed);
  {
    const BufferRef shadow{drawable.ShadowBuffer()};
    if (!narrowed) {
      const BufferRef source{drawable.Buffer()};
      const GeglRectangle whole = GeglRect(*area);
      gegl_buffer_copy(source.buffer, &whole, GEGL_ABYSS_NONE, shadow.buffer, &whole);
    }
    const PixelRows rows = pixels.Read(changed);
    const GeglRectangle rect = GeglRect(changed);
    gegl_buffer_set(shadow.buffer, &rect, 0, PixelFormat(pixels.Planes()), rows.first,
                    static_cast<gint>(rows.rowBytes));
  }
  drawable.MergeShadow(narrowed ? changed : *area);
  return {RunStatus::Ok, {}};
}

RunOutcome RunOnDrawable(DrawableAccess& drawable) {
  if (!DisplayAvailable())
    return {RunStatus::Failed,
            std::string("Pictaro: ") + kNoDisplayMessage + "; Pictaro runs only interactively."};
  std::string error;
  const PluginEntryProc entry = LoadPluginModule(DefaultModulePath(), error);
  if (entry == nullptr) return {RunStatus::Failed, "Pictaro: " + error};
  g_object_set(gegl_config(), "tile-cache-size", kTileCacheBytes, nullptr);
  return RunOnDrawable(drawable, entry);
}

}  // namespace pictaro
