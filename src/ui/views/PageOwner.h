// What the tab pages ask of the window that holds them.
#pragma once

#include "host/HostContext.h"
#include "model/GridSlot.h"
#include "model/ResourceGrid.h"
#include "platform/Desktop.h"

namespace pictaro {

class PageOwner {
 public:
  virtual const ResourceGrid& Grid() const = 0;
  virtual GridSlot& CurrentSlot() = 0;
  virtual HostContext& Host() = 0;
  virtual Desktop& GetDesktop() = 0;
  // The window's shared refreshes after the current selection changed.
  virtual void UpdateSelectionControls() = 0;
  virtual void ShowCurrentSlot() = 0;
  virtual void RefreshViews() = 0;
  // Empties the current resource, or captures it from the layer, as Delete and Insert do.
  virtual void DeleteCurrent() = 0;
  virtual void CaptureCurrent() = 0;

 protected:
  ~PageOwner() = default;
};

}  // namespace pictaro
