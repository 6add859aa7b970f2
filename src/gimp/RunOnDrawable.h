// What the GIMP 2.10 and GIMP 3 plug-ins share: everything that is not libgimp's API.
// GIMP plays the image editor: the drawable's pixels are the layer, the selection's bounds are
// the filter area, and the parameter block is kept in GIMP's store for the procedure. Each
// plug-in gives its own libgimp calls behind `DrawableAccess`; pixels travel through GEGL, which
// both GIMPs share.
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
  // Merges the shadow buffer into the drawable as one undo step and shows `area` anew.
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

// The smallest rectangle inside `area` that holds every pixel that differs between the two
// layers; empty when none does.
Rect ChangedBounds(const Layer& before, const Layer& after, const Rect& area);

// Fills `shadow` over `area` from `source` in the drawable's own format, then sets the pixels
// of `changed` from `layer`, so that a drawable of higher precision loses nothing outside them.
void WriteChanged(GeglBuffer* source, GeglBuffer* shadow, const Layer& layer, const Rect& area,
                  const Rect& changed);

}  // namespace pictaro
