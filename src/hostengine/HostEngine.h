// The host engine behind every front end (pictaro-host, pictaro, the GIMP plug-ins): it owns a
// layer, fills a filter record, serves the handle suite and advanceState exactly as the
// record's request fields ask, and runs the plug-in's selectors.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/FilterRecord.h"
#include "host/HostContext.h"

namespace pictaro {

using PluginEntryProc = void (*)(int16 selector, FilterRecord* record, intptr_t* data,
                                 int16* result);

// A layer of 8-bit planes, top row first, pixels interleaved: red, green, blue
// and, with four planes, transparency.
struct Layer {
  int width = 0;
  int height = 0;
  int planes = 4;  // 3 (opaque) or 4 (with transparency)
  std::vector<std::uint8_t> pixels;

  std::uint8_t* At(int x, int y) {
    return pixels.data() + (static_cast<std::size_t>(y) * width + x) * planes;
  }
  const std::uint8_t* At(int x, int y) const {
    return pixels.data() + (static_cast<std::size_t>(y) * width + x) * planes;
  }
};

// The request fields of the record as they stood at one advanceState call.
struct HostRequest {
  Rect inRect{};
  Rect outRect{};
  Rect maskRect{};
  int16 inLoPlane = 0;
  int16 inHiPlane = 0;
  int16 outLoPlane = 0;
  int16 outHiPlane = 0;
  bool wantsAbsolute = false;
  Fixed inputRate = 0;
  Fixed maskRate = 0;
  int16 inputPadding = 0;
  int16 outputPadding = 0;
  int16 maskPadding = 0;
  int16 result = 0;  // what advanceState answered
};

class HostEngine {
 public:
  // filterRect defaults to the whole layer.
  explicit HostEngine(Layer layer, std::optional<Rect> filterRect = std::nullopt);
  ~HostEngine();
  HostEngine(const HostEngine&) = delete;
  HostEngine& operator=(const HostEngine&) = delete;

  // One selector call; returns the result the plug-in left. `incomingResult` is
  // what the host's result cell holds on entry.
  int16 Call(PluginEntryProc entry, int16 selector, int16 incomingResult = 0);
  // Parameters, Prepare, Start, Finish, stopping at the first failure.
  int16 RunFilter(PluginEntryProc entry);
  // The About selector, with an about record in place of the filter record.
  int16 RunAbout(PluginEntryProc entry);
  // Runs `body` as the plug-in's code would run, inside one selector call, so that the
  // record's callbacks are live; returns the result it left.
  int16 RunInside(const std::function<void(HostContext&)>& body);

  // The host's own window (on Linux an X11 window id), which the plug-in's windows are to stay
  // above: from now on the record's platformData (the about record's too) points at it. 0, the
  // default, leaves platformData null.
  void SetHostWindow(intptr_t window);

  // Failure injection for tests.
  void FailNewHandle(bool fail) { failNewHandle_ = fail; }
  void FailLock(bool fail) { failLock_ = fail; }
  // advanceState answers `code` from its (afterCalls + 1)-th call on, counted from
  // now; 0 turns it off.
  void FailAdvanceState(int16 code, int afterCalls = 0);
  // Extra bytes at the end of every delivered row (inRowBytes and outRowBytes).
  void SetRowPadding(int extraBytes) { rowPadding_ = extraBytes; }

  FilterRecord& Record() { return record_; }
  const Layer& GetLayer() const { return layer_; }
  bool LayerChanged() const { return layerChanged_; }
  const std::vector<HostRequest>& Requests() const { return requests_; }
  void ClearRequests() { requests_.clear(); }
  // The parameter handle the plug-in created, kept across runs; null before.
  Handle ParameterHandle() const { return record_.parameters; }
  // Bytes of a handle made by this host's suite; 0 for any other.
  std::size_t HandleSize(Handle h) const;
  // Drops the parameter handle, as a host that keeps none would.
  void ForgetParameters();
  // The parameter block's bytes, to keep between runs; empty when there is no block.
  std::vector<std::uint8_t> ParameterBytes() const;
  // A parameter handle holding `bytes`, as a host that kept the block from an earlier run
  // hands it over; empty bytes leave no handle.
  void RestoreParameters(const std::vector<std::uint8_t>& bytes);
  intptr_t DataCell() const { return dataCell_; }
  void SetDataCell(intptr_t value) { dataCell_ = value; }

 private:
  friend struct HostEngineCallbacks;
  struct OwnedHandle;

  int16 AdvanceState();
  int16 CheckSide(const Rect& rect, int16 lo, int16 hi, int16 padding) const;
  int32 RowBytesFor(const Rect& rect, int16 lo, int16 hi) const;
  // Bytes for deliveries, kept from one request to the next (except under AddressSanitizer);
  // each delivery rewrites every byte it hands over.
  struct DeliveryBuffer {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t capacity = 0;
    std::uint8_t* Reserve(std::size_t size);
  };
  void Deliver(const Rect& rect, int16 lo, int16 hi, int16 padding, std::uint8_t* buffer,
               int32 rowBytes) const;
  void CommitOutput();
  void ReleaseBuffers();
  Handle NewHandle(int32 size);
  Ptr LockHandle(Handle h);
  void DisposeHandle(Handle h);
  OSErr SetHandleSize(Handle h, int32 size);
  OwnedHandle* FindHandle(Handle h) const;
  void FillRecord();

  Layer layer_;
  Rect filterRect_{};
  FilterRecord record_{};
  HandleProcs handleProcs_{};
  PlatformData platformData_{};
  intptr_t dataCell_ = 0;
  std::vector<HostRequest> requests_;
  std::vector<std::unique_ptr<OwnedHandle>> handles_;
  DeliveryBuffer inBuffer_;
  DeliveryBuffer outBuffer_;
  Rect deliveredOut_{};  // the outRect whose pixels outBuffer_ holds
  int16 deliveredOutLo_ = 0;
  int16 deliveredOutHi_ = -1;
  int32 deliveredOutRowBytes_ = 0;
  bool layerChanged_ = false;
  bool failNewHandle_ = false;
  bool failLock_ = false;
  int16 failAdvanceCode_ = 0;
  int failAdvanceAfter_ = 0;
  int advanceCalls_ = 0;
  int rowPadding_ = 0;
};

// Loads a layer image with FreeImage: 4 planes when it has alpha (unless
// `opaque`), 3 otherwise. Returns nullopt with `error` set ("FILE: why") when it can't. What the
// image libraries say while reading (a TIFF reader's complaints about tags it does not know) is
// never printed: it goes to `libraryMessages` when given.
std::optional<Layer> LoadLayerImage(const std::string& path, bool opaque, std::string& error,
                                    std::vector<std::string>* libraryMessages = nullptr);
// Writes the layer as an image file whose format follows the extension. Errors are "FILE: why".
bool SaveLayerImage(const Layer& layer, const std::string& path, std::string& error);
// Whether SaveLayerImage knows a format for `path` that holds `planes` planes,
// so that a bad output name is refused before the plug-in runs.
bool CanSaveLayerImage(const std::string& path, int planes, std::string& error);

// A filter area given as "LEFT,TOP,RIGHT,BOTTOM" with left < right and top < bottom.
std::optional<Rect> ParseSelection(std::string_view text);
bool SelectionInside(const Rect& selection, const Layer& layer);

inline constexpr const char* kPluginEntryName = "PluginMain";
// Loads the plug-in module and finds its entry point; null with `error` set when it can't.
PluginEntryProc LoadPluginModule(const std::string& path, std::string& error,
                                 const std::string& entryName = kPluginEntryName);
// The module's path beside the running program (where the build and the installation put it).
std::string ModuleBesideProgram();
// The module a front end runs: the one beside the program, or else the one an installation that
// keeps it apart (a distribution package) put in its own folder.
std::string DefaultModulePath();

}  // namespace pictaro
