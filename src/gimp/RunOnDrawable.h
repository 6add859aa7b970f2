// What the GIMP 2.10 and GIMP 3 plug-ins share: everything that is not libgimp's API.
// GIMP plays the image editor: the drawable's pixels are the layer, the selection's bounds are
// the filter area, and the parameter block is kept in GIMP's store for the procedure. Each
// plug-in gives its own libgimp calls behind `DrawableAccess`; pixels travel through GEGL, which
// both GIMPs share, a requested rectangle at a time.
#pragma once

#include <gegl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hostengine/HostEngine.h"

namespace pictaro {

// One drawable as a libgimp version reaches it.
class DrawableAccess {
 public:
  virtual ~DrawableAccess() = default;
  virtual int Width() = 0;
  virtual int Height() = 0;
  virtual bool HasAlpha() = 0;
  // The selection's bounds within the drawable; nullopt when the selection doesn't touch it.
  virtual std::optional<Rect> SelectionBounds() = 0;
  // New references, released by the caller.
  virtual GeglBuffer* Buffer() = 0;
  virtual GeglBuffer* ShadowBuffer() = 0;
  // Whether the drawable still exists: the image may be closed while the window is open.
  virtual bool StillThere() = 0;
  // Narrows the selection to `rect` inside an undo step that the next merge closes, so that the
  // merge takes the shadow buffer's `rect` alone; false, with nothing done, when the image has a
  // selection or a floating selection of its own, or `rect` is not all on the canvas.
  virtual bool NarrowSelectionTo(const Rect& rect) = 0;
  // Merges the shadow buffer into the drawable as one undo step and shows `area` anew; a
  // selection narrowed for it is taken away again within that step.
  virtual void MergeShadow(const Rect& area) = 0;
  // The parameter block of the previous run, and the one to keep for the next.
  virtual std::vector<std::uint8_t> StoredParameters() = 0;
  virtual void StoreParameters(const std::vector<std::uint8_t>& bytes) = 0;
  // The editor's window that Pictaro's windows belong to; 0 when there is none.
  virtual intptr_t HostWindow() = 0;
};

enum class RunStatus { Ok, Cancelled, Failed };

struct RunOutcome {
  RunStatus status = RunStatus::Failed;
  std::string message;  // for Failed: what the caller is told
};

// Runs the filter module `entry` on the drawable and writes back what it changed.
RunOutcome RunOnDrawable(DrawableAccess& drawable, PluginEntryProc entry);
// The same with the installed module, after checking that its windows can open at all.
RunOutcome RunOnDrawable(DrawableAccess& drawable);

}  // namespace pictaro
