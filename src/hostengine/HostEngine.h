// The host engine behind every front end (pictaro-host, pictaro, the GIMP plug-ins): it serves a
// layer from the host's own pixels, fills a filter record, serves the handle suite and
// advanceState exactly as the record's request fields ask, and runs the plug-in's selectors.
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
#include "platform/DemandPages.h"

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

// Rows of pixels in memory: the first row's first pixel and the distance from one row to the next.
struct PixelRows {
  const std::uint8_t* first = nullptr;
  std::size_t rowBytes = 0;
  const std::uint8_t* Row(int i) const { return first + static_cast<std::size_t>(i) * rowBytes; }
};

// The host's pixels, which the engine reads and writes in place but does not own: the decoded
// image of pictaro and pictaro-host, GIMP's drawable. Pixels come as in a Layer, top row first.
class LayerPixels {
 public:
  LayerPixels(int width, int height, int planes)
      : width_(width), height_(height), planes_(planes) {}
  virtual ~LayerPixels() = default;
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Planes() const { return planes_; }
  // The pixels of `rect`, which lies inside the layer; valid until the next call.
  virtual PixelRows Read(const Rect& rect) = 0;
  // Takes `rows` as the pixels of `rect`, which lies inside the layer.
  virtual void Write(const Rect& rect, PixelRows rows) = 0;

 private:
  int width_;
  int height_;
  int planes_;
};

// A Layer as the host's pixels.
class LayerInMemory final : public LayerPixels {
 public:
  // Throws std::invalid_argument when the layer's pixels don't match its size.
  explicit LayerInMemory(Layer& layer);
  PixelRows Read(const Rect& rect) override;
  void Write(const Rect& rect, PixelRows rows) override;

 private:
  Layer& layer_;
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
  // Serves `pixels`, which stay the host's: requests are read from them, and what the plug-in
  // changes is written into them. filterRect defaults to the whole layer.
  explicit HostEngine(LayerPixels& pixels, std::optional<Rect> filterRect = std::nullopt);
  // Serves a layer of its own.
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
  // A delivery of more than `bytes` is filled page by page as the plug-in touches it, where the
  // platform can, so that a request for a large area costs what the plug-in uses of it; 0 serves
  // every request so.
  void SetDemandFillAbove(std::size_t bytes) { demandFillAbove_ = bytes; }

  FilterRecord& Record() { return record_; }
  // The layer the engine was given to own; throws std::logic_error for one that serves the
  // host's pixels.
  const Layer& GetLayer() const;
  bool LayerChanged() const { return !changed_.Empty(); }
  // The smallest rectangle holding every pixel the plug-in changed; empty when it changed none.
  const Rect& ChangedArea() const { return changed_; }
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

  void Init(std::optional<Rect> filterRect);
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
  // One delivered buffer: the request it answers and its bytes, whole or filled on demand.
  struct Delivery {
    Rect rect{};
    int16 lo = 0;
    int16 hi = -1;
    int16 padding = 0;
    int32 rowBytes = 0;
    std::uint8_t* bytes = nullptr;
    std::unique_ptr<DemandPages> demand;
    std::size_t ColumnBytes() const { return static_cast<std::size_t>(hi - lo + 1); }
  };
  std::uint8_t* Deliver(Delivery& delivery, DeliveryBuffer& whole, const Rect& rect, int16 lo,
                        int16 hi, int16 padding);
  void FillBytes(const Delivery& d, std::size_t offset, std::size_t size, std::uint8_t* to);
  Rect SourceRect(const Delivery& d, int firstRow, int endRow, int firstColumn,
                  int endColumn) const;
  struct Stretch {
    std::size_t before = 0;
    std::size_t inside = 0;
    std::size_t after = 0;
    int insideLeft = 0;  // the layer column where the inside run starts
    bool plain = false;  // all inside, every plane: one copy a row
  };
  Stretch StretchOf(const Delivery& d, int firstColumn, int endColumn) const;
  void AssembleRows(const Delivery& d, const Stretch& stretch, const PixelRows& source,
                    const Rect& read, int firstY, int rows, std::uint8_t* to,
                    std::size_t rowBytes) const;
  PixelRows OutputRows(const Rect& rect);
  Rect ChangedIn(const Rect& block);
  void CommitOutput();
  void ReleaseBuffers();
  Handle NewHandle(int32 size);
  Ptr LockHandle(Handle h);
  void DisposeHandle(Handle h);
  OSErr SetHandleSize(Handle h, int32 size);
  OwnedHandle* FindHandle(Handle h) const;
  void FillRecord();

  std::unique_ptr<Layer> ownLayer_;
  std::unique_ptr<LayerInMemory> ownPixels_;
  LayerPixels* pixels_;
  Rect filterRect_{};
  FilterRecord record_{};
  HandleProcs handleProcs_{};
  PlatformData platformData_{};
  intptr_t dataCell_ = 0;
  std::vector<HostRequest> requests_;
  std::vector<std::unique_ptr<OwnedHandle>> handles_;
  DeliveryBuffer inBuffer_;
  DeliveryBuffer outBuffer_;
  Delivery in_;
  Delivery out_;  // its pixels go back to the layer at the next request or the call's end
  std::vector<std::uint8_t> rowScratch_;  // one row of a delivery filled in part
  std::vector<std::uint8_t> written_;     // the output's bytes set aside
  std::vector<std::uint8_t> merged_;      // written planes with the others
  std::size_t demandFillAbove_;
  Rect changed_{};
  bool failNewHandle_ = false;
  bool failLock_ = false;
  int16 failAdvanceCode_ = 0;
  int failAdvanceAfter_ = 0;
  int advanceCalls_ = 0;
  int rowPadding_ = 0;
};

// Loads a layer image with FreeImage: 4 planes when it has alpha (unless `opaque`), 3
// otherwise. FreeImage's decoded bitmap is the layer's one full-size copy, which the pixels
// returned read and write in place. Returns null with `error` set ("FILE: why") when it can't.
// What the image libraries say while reading (a TIFF reader's complaints about tags it does not
// know) is never printed: it goes to `libraryMessages` when given.
std::unique_ptr<LayerPixels> LoadLayerPixels(const std::string& path, bool opaque,
                                             std::string& error,
                                             std::vector<std::string>* libraryMessages = nullptr);
// The same as a Layer of its own, for small images.
std::optional<Layer> LoadLayerImage(const std::string& path, bool opaque, std::string& error,
                                    std::vector<std::string>* libraryMessages = nullptr);
// Writes the layer as an image file whose format follows the extension. Errors are "FILE: why".
bool SaveLayerImage(LayerPixels& layer, const std::string& path, std::string& error);
bool SaveLayerImage(const Layer& layer, const std::string& path, std::string& error);
// Whether SaveLayerImage knows a format for `path` that holds `planes` planes,
// so that a bad output name is refused before the plug-in runs.
bool CanSaveLayerImage(const std::string& path, int planes, std::string& error);

// A filter area given as "LEFT,TOP,RIGHT,BOTTOM" with left < right and top < bottom.
std::optional<Rect> ParseSelection(std::string_view text);
bool SelectionInside(const Rect& selection, int width, int height);

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
