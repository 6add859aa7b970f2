#include "hostengine/HostEngine.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace pictaro {

namespace {

inline constexpr int16 kMemFullErr = -108;
// The most one buffer delivered whole may take; a request for more is answered as out of memory
// rather than allocated, unless it can be filled on demand.
inline constexpr int32 kBufferLimit = 256 * 1024 * 1024;
// Above this a delivery is filled on demand: the whole filter area that Apply asks for costs
// the pages the icon lands on, while the layer view's and the scans' requests stay whole.
inline constexpr std::size_t kDemandFillAbove = 1 << 20;
// Padding values below 0: copy the nearest edge pixel, or refuse any pixel
// outside the layer.
inline constexpr int16 kPaddingReplicateEdge = -1;
inline constexpr int16 kPaddingNone = -2;
// A new handle holds no zeros, so a plug-in that relies on them shows up.
inline constexpr char kNewHandleFill = static_cast<char>(0xA5);
// What the unused bytes at the end of a padded row hold.
inline constexpr std::uint8_t kRowPaddingFill = 0xEE;
inline constexpr OSType kHostSignature = 0x50435448;  // 'PCTH'
inline constexpr Fixed kResolution72 = 72 << 16;
inline constexpr int32 kBitsPerChannel = 8;

// Under AddressSanitizer every delivery gets fresh memory, so that a plug-in that keeps an old
// buffer reads freed memory (which the sanitizer reports) rather than stale pixels. Otherwise
// one allocation serves every request that fits in it.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kFreshBuffers = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kFreshBuffers = true;
#else
inline constexpr bool kFreshBuffers = false;
#endif
#else
inline constexpr bool kFreshBuffers = false;
#endif

HostEngine* activeHost = nullptr;

bool InsideLayer(const Rect& rect, const LayerPixels& layer) {
  return rect.left >= 0 && rect.top >= 0 && rect.right <= layer.Width() &&
         rect.bottom <= layer.Height();
}

Rect MakeRect(int top, int left, int bottom, int right) {
  return {static_cast<int16>(top), static_cast<int16>(left), static_cast<int16>(bottom),
          static_cast<int16>(right)};
}

}  // namespace

struct HostEngine::OwnedHandle {
  char* master = nullptr;  // the handle is the address of this pointer
  std::vector<char> block;
  std::size_t size = 0;
};

// The record's callbacks carry no context: they reach the engine whose Call is
// in progress.
struct HostEngineCallbacks {
  static int16 AdvanceState() { return activeHost ? activeHost->AdvanceState() : kParamErr; }
  static Handle NewHandle(int32 size) { return activeHost ? activeHost->NewHandle(size) : nullptr; }
  static void DisposeHandle(Handle h) {
    if (activeHost) activeHost->DisposeHandle(h);
  }
  static int32 GetSize(Handle h) {
    return activeHost ? static_cast<int32>(activeHost->HandleSize(h)) : 0;
  }
  static OSErr SetSize(Handle h, int32 size) {
    return activeHost ? activeHost->SetHandleSize(h, size) : kNilHandleErr;
  }
  static Ptr Lock(Handle h, Boolean /*moveHigh*/) {
    return activeHost ? activeHost->LockHandle(h) : nullptr;
  }
  static void Unlock(Handle /*h*/) {}
  static void RecoverSpace(int32 /*size*/) {}
};

LayerInMemory::LayerInMemory(Layer& layer)
    : LayerPixels(layer.width, layer.height, layer.planes), layer_(layer) {
  if (layer.width < 0 || layer.height < 0 ||
      layer.pixels.size() != static_cast<std::size_t>(layer.width) * layer.height * layer.planes)
    throw std::invalid_argument("layer pixels do not match its size");
}

PixelRows LayerInMemory::Read(const Rect& rect) {
  return {layer_.At(rect.left, rect.top), static_cast<std::size_t>(layer_.width) * layer_.planes};
}

void LayerInMemory::Write(const Rect& rect, PixelRows rows) {
  const auto bytes = static_cast<std::size_t>(rect.Width()) * layer_.planes;
  for (int y = 0; y < rect.Height(); ++y)
    std::memmove(layer_.At(rect.left, rect.top + y), rows.Row(y), bytes);
}

HostEngine::HostEngine(Layer layer, std::optional<Rect> filterRect)
    : ownLayer_(std::make_unique<Layer>(std::move(layer))),
      ownPixels_(std::make_unique<LayerInMemory>(*ownLayer_)),
      pixels_(ownPixels_.get()) {
  Init(filterRect);
}

HostEngine::HostEngine(LayerPixels& pixels, std::optional<Rect> filterRect) : pixels_(&pixels) {
  Init(filterRect);
}

void HostEngine::Init(std::optional<Rect> filterRect) {
  const LayerPixels& layer = *pixels_;
  if (layer.Planes() != 3 && layer.Planes() != 4)
    throw std::invalid_argument("a layer has 3 or 4 planes");
  if (layer.Width() < 0 || layer.Height() < 0 || layer.Width() > INT16_MAX ||
      layer.Height() > INT16_MAX)
    throw std::invalid_argument("layer size out of range");
  filterRect_ = filterRect.value_or(MakeRect(0, 0, layer.Height(), layer.Width()));
  demandFillAbove_ = kDemandFillAbove;

  handleProcs_.handleProcsVersion = 1;
  handleProcs_.numHandleProcs = 8;
  handleProcs_.newProc = &HostEngineCallbacks::NewHandle;
  handleProcs_.disposeProc = &HostEngineCallbacks::DisposeHandle;
  handleProcs_.getSizeProc = &HostEngineCallbacks::GetSize;
  handleProcs_.setSizeProc = &HostEngineCallbacks::SetSize;
  handleProcs_.lockProc = &HostEngineCallbacks::Lock;
  handleProcs_.unlockProc = &HostEngineCallbacks::Unlock;
  handleProcs_.recoverSpaceProc = &HostEngineCallbacks::RecoverSpace;
  handleProcs_.disposeRegularHandleProc = &HostEngineCallbacks::DisposeHandle;
  FillRecord();
}

HostEngine::~HostEngine() {
  if (activeHost == this) activeHost = nullptr;
}

const Layer& HostEngine::GetLayer() const {
  if (!ownLayer_)
    throw std::logic_error("the engine serves the host's pixels, not a layer of its own");
  return *ownLayer_;
}

void HostEngine::FillRecord() {
  const Handle parameters = record_.parameters;
  std::memset(&record_, 0, sizeof record_);
  record_.parameters = parameters;
  record_.imageSize = {static_cast<int16>(pixels_->Height()), static_cast<int16>(pixels_->Width())};
  record_.wholeSize = record_.imageSize;
  record_.planes = static_cast<int16>(pixels_->Planes());
  record_.filterRect = filterRect_;
  record_.background = {0xFFFF, 0xFFFF, 0xFFFF};
  std::fill(std::begin(record_.backColor), std::end(record_.backColor), 0xFF);
  record_.maxSpace = record_.bufferSpace = kBufferLimit;
  record_.maxSpace64 = record_.bufferSpace64 = kBufferLimit;
  record_.isFloating = false;
  record_.haveMask = false;
  record_.hostSig = kHostSignature;
  record_.imageMode = kImageModeRGB;
  record_.imageHRes = record_.imageVRes = kResolution72;
  record_.handleProcs = &handleProcs_;
  record_.advanceState = &HostEngineCallbacks::AdvanceState;
  record_.supportsAbsolute = true;
  record_.supportsPadding = true;
  const int16 transparency = pixels_->Planes() == 4 ? 1 : 0;
  record_.inLayerPlanes = record_.absLayerPlanes = record_.outLayerPlanes = 3;
  record_.inTransparencyMask = record_.absTransparencyMask = record_.outTransparencyMask =
      transparency;
  record_.depth = kBitsPerChannel;
}

int16 HostEngine::Call(PluginEntryProc entry, int16 selector, int16 incomingResult) {
  HostEngine* const previous = activeHost;
  activeHost = this;
  int16 result = incomingResult;
  if (selector == kSelectorAbout) {
    AboutRecord about;
    std::memset(&about, 0, sizeof about);
    about.platformData = record_.platformData;
    entry(selector, reinterpret_cast<FilterRecord*>(&about), &dataCell_, &result);
  } else {
    entry(selector, &record_, &dataCell_, &result);
  }
  // What the plug-in wrote after its last advanceState still belongs to the layer.
  CommitOutput();
  ReleaseBuffers();
  activeHost = previous;
  return result;
}

void HostEngine::SetHostWindow(intptr_t window) {
  platformData_.hwnd = window;
  record_.platformData = window != 0 ? &platformData_ : nullptr;
}

int16 HostEngine::RunFilter(PluginEntryProc entry) {
  for (int16 selector : {kSelectorParameters, kSelectorPrepare, kSelectorStart, kSelectorFinish}) {
    const int16 result = Call(entry, selector);
    if (result != kNoErr) return result;
  }
  return kNoErr;
}

int16 HostEngine::RunAbout(PluginEntryProc entry) {
  return Call(entry, kSelectorAbout);
}

void HostEngine::FailAdvanceState(int16 code, int afterCalls) {
  failAdvanceCode_ = code;
  failAdvanceAfter_ = advanceCalls_ + afterCalls;
}

int16 HostEngine::CheckSide(const Rect& rect, int16 lo, int16 hi, int16 padding) const {
  if (rect.Empty()) return kNoErr;
  if (lo < 0 || hi >= pixels_->Planes() || lo > hi) return kParamErr;
  if (padding > 255 || padding < kPaddingNone) return kParamErr;
  if (padding == kPaddingNone && !InsideLayer(rect, *pixels_)) return kParamErr;
  if (padding == kPaddingReplicateEdge && (pixels_->Width() == 0 || pixels_->Height() == 0))
    return kParamErr;
  return kNoErr;
}

int32 HostEngine::RowBytesFor(const Rect& rect, int16 lo, int16 hi) const {
  return rect.Width() * (hi - lo + 1) + rowPadding_;
}

std::uint8_t* HostEngine::DeliveryBuffer::Reserve(std::size_t size) {
  if (size > capacity) {
    bytes.reset();
    bytes = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    capacity = size;
  }
  return bytes.get();
}

// A large delivery is filled on demand where the platform can; otherwise it is filled whole, up to
// the limit. Null when there is no memory for it.
std::uint8_t* HostEngine::Deliver(Delivery& d, DeliveryBuffer& whole, const Rect& rect, int16 lo,
                                  int16 hi, int16 padding) {
  d.rect = rect;
  d.lo = lo;
  d.hi = hi;
  d.padding = padding;
  d.rowBytes = RowBytesFor(rect, lo, hi);
  const std::size_t size = static_cast<std::size_t>(d.rowBytes) * rect.Height();
  if (size > demandFillAbove_) {
    // Ready before the first page is touched: a fill must not allocate more than it reads.
    rowScratch_.resize(std::max(rowScratch_.size(), static_cast<std::size_t>(d.rowBytes)));
    d.demand = DemandPages::Reserve(
        size, [this, &d](std::size_t offset, std::size_t bytes, std::uint8_t* to) {
          FillBytes(d, offset, bytes, to);
        });
    if (d.demand) return d.bytes = d.demand->Data();
  }
  if (size > static_cast<std::size_t>(kBufferLimit)) return nullptr;
  d.bytes = whole.Reserve(size);
  FillBytes(d, 0, size, d.bytes);
  return d.bytes;
}

// The layer pixels that rows [firstRow, endRow) and columns [firstColumn, endColumn) of a delivery
// are made from (counted within its rectangle): the part inside the layer or, for edge copies,
// the nearest pixels inside it. Empty when they need none.
Rect HostEngine::SourceRect(const Delivery& d, int firstRow, int endRow, int firstColumn,
                            int endColumn) const {
  const int width = pixels_->Width();
  const int height = pixels_->Height();
  const int top = d.rect.top + firstRow;
  const int bottom = d.rect.top + endRow;
  const int left = d.rect.left + firstColumn;
  const int right = d.rect.left + endColumn;
  if (firstColumn == endColumn) return {};
  if (d.padding == kPaddingReplicateEdge) {
    return MakeRect(std::clamp(top, 0, height - 1), std::clamp(left, 0, width - 1),
                    std::clamp(bottom - 1, 0, height - 1) + 1,
                    std::clamp(right - 1, 0, width - 1) + 1);
  }
  return Intersection(MakeRect(top, left, bottom, right), MakeRect(0, 0, height, width));
}

// Columns [firstColumn, endColumn) of a delivery's rows, counted within its rectangle: the bytes
// left of the layer, the run inside it and those right of it.
HostEngine::Stretch HostEngine::StretchOf(const Delivery& d, int firstColumn, int endColumn) const {
  const std::size_t columnBytes = d.ColumnBytes();
  const int left = d.rect.left + firstColumn;
  const int right = d.rect.left + endColumn;
  Stretch stretch;
  stretch.insideLeft = std::clamp(0, left, right);
  const int insideRight = std::clamp(pixels_->Width(), left, right);
  stretch.before = static_cast<std::size_t>(stretch.insideLeft - left) * columnBytes;
  stretch.inside = static_cast<std::size_t>(insideRight - stretch.insideLeft) * columnBytes;
  stretch.after = static_cast<std::size_t>(right - insideRight) * columnBytes;
  stretch.plain = stretch.before + stretch.after == 0 &&
                  columnBytes == static_cast<std::size_t>(pixels_->Planes());
  return stretch;
}

// One stretch of `rows` layer rows from `firstY` as the delivery hands them over, `rowBytes` apart
// from `to`, from `source`, which holds the layer's pixels of `read`: padding or copies of the
// edge pixel around the run inside the layer (one copy when every plane is wanted); rows above or
// below the layer are all padding.
void HostEngine::AssembleRows(const Delivery& d, const Stretch& s, const PixelRows& source,
                              const Rect& read, int firstY, int rows, std::uint8_t* to,
                              std::size_t rowBytes) const {
  // The request was checked: at least one plane, and edge copies only from a layer with pixels.
  const std::size_t bytes = s.before + s.inside + s.after;
  if (bytes == 0) return;
  const auto planes = static_cast<std::size_t>(pixels_->Planes());
  const std::size_t columnBytes = d.ColumnBytes();
  const int height = pixels_->Height();
  const bool replicate = d.padding == kPaddingReplicateEdge;
  const auto fill = static_cast<std::uint8_t>(d.padding);
  // Fills `count` bytes from `at` with copies of the wanted planes of the layer pixel `from`.
  const auto repeat = [&](std::uint8_t* at, std::size_t count, const std::uint8_t* from) {
    for (std::uint8_t* end = at + count; at != end; at += columnBytes)
      std::memcpy(at, from + d.lo, columnBytes);
  };
  for (int y = firstY; y < firstY + rows; ++y, to += rowBytes) {
    if (!replicate && (s.inside == 0 || y < 0 || y >= height)) {
      std::memset(to, fill, bytes);
      continue;
    }
    const std::uint8_t* row = source.Row(std::clamp(y, 0, height - 1) - read.top);
    const auto pixel = [&](int x) {
      return row + static_cast<std::size_t>(x - read.left) * planes;
    };
    if (s.plain) {
      std::memcpy(to, pixel(s.insideLeft), s.inside);
      continue;
    }
    if (replicate) {
      if (s.before != 0) repeat(to, s.before, pixel(0));
      if (s.after != 0) repeat(to + s.before + s.inside, s.after, pixel(pixels_->Width() - 1));
    } else {
      std::memset(to, fill, s.before);
      std::memset(to + s.before + s.inside, fill, s.after);
    }
    if (s.inside == 0) continue;
    const std::uint8_t* from = pixel(s.insideLeft);
    if (columnBytes == planes) {
      std::memcpy(to + s.before, from, s.inside);
      continue;
    }
    for (std::uint8_t *at = to + s.before, *end = at + s.inside; at != end;
         at += columnBytes, from += planes)
      std::memcpy(at, from + d.lo, columnBytes);
  }
}

// Bytes [offset, offset + size) of a delivery, from one read of the layer. Whole rows are made in
// place; a row cut by the range is made aside and the part in range copied.
void HostEngine::FillBytes(const Delivery& d, std::size_t offset, std::size_t size,
                           std::uint8_t* to) {
  const std::size_t columnBytes = d.ColumnBytes();
  const auto rowBytes = static_cast<std::size_t>(d.rowBytes);
  const int width = d.rect.Width();
  const std::size_t pixelBytes = static_cast<std::size_t>(width) * columnBytes;
  const std::size_t end = offset + size;
  // Whole deliveries skip the divisions.
  const bool all = offset == 0 && size == rowBytes * d.rect.Height();
  const auto firstRow = all ? 0 : static_cast<int>(offset / rowBytes);
  const auto lastRow = all ? d.rect.Height() - 1 : static_cast<int>((end - 1) / rowBytes);
  const bool headCut = !all && offset % rowBytes != 0;
  const bool tailCut = !all && end % rowBytes != 0;
  // Within one row only the columns in range are needed.
  int firstColumn = 0;
  int endColumn = width;
  if (firstRow == lastRow && !all) {
    const std::size_t rowStart = static_cast<std::size_t>(firstRow) * rowBytes;
    firstColumn = static_cast<int>(std::min<std::size_t>((offset - rowStart) / columnBytes, width));
    endColumn = static_cast<int>(
        std::min<std::size_t>((end - rowStart + columnBytes - 1) / columnBytes, width));
  }
  const Stretch stretch = StretchOf(d, firstColumn, endColumn);
  const Rect read = SourceRect(d, firstRow, lastRow + 1, firstColumn, endColumn);
  const PixelRows source = read.Empty() ? PixelRows{} : pixels_->Read(read);
  const auto padRows = [&](std::uint8_t* at, int rows) {
    if (rowBytes == pixelBytes) return;
    for (int i = 0; i < rows; ++i, at += rowBytes)
      std::memset(at + pixelBytes, kRowPaddingFill, rowBytes - pixelBytes);
  };
  const auto partRow = [&](int r) {
    const std::size_t rowStart = static_cast<std::size_t>(r) * rowBytes;
    const std::size_t from = std::max(offset, rowStart);
    const std::size_t until = std::min(end, rowStart + rowBytes);
    std::uint8_t* row = rowScratch_.data();
    AssembleRows(d, stretch, source, read, d.rect.top + r, 1,
                 row + static_cast<std::size_t>(firstColumn) * columnBytes, rowBytes);
    padRows(row, 1);
    std::memcpy(to + (from - offset), row + (from - rowStart), until - from);
  };
  int r = firstRow;
  if (headCut || (firstRow == lastRow && tailCut)) partRow(r++);
  const int wholeEnd = tailCut ? lastRow : lastRow + 1;
  if (r < wholeEnd) {
    std::uint8_t* at = to + (static_cast<std::size_t>(r) * rowBytes - offset);
    AssembleRows(d, stretch, source, read, d.rect.top + r, wholeEnd - r, at, rowBytes);
    padRows(at, wholeEnd - r);
  }
  if (r <= lastRow && wholeEnd <= lastRow) partRow(lastRow);
}

// The output's bytes for `rect` (inside it), rows apart as delivered. A delivery filled on
// demand is copied aside first, so that the pages it touches fill before any read of the layer.
PixelRows HostEngine::OutputRows(const Rect& rect) {
  const Delivery& d = out_;
  const std::size_t columnBytes = d.ColumnBytes();
  const std::uint8_t* at = d.bytes + static_cast<std::size_t>(rect.top - d.rect.top) * d.rowBytes +
                           static_cast<std::size_t>(rect.left - d.rect.left) * columnBytes;
  if (!d.demand) return {at, static_cast<std::size_t>(d.rowBytes)};
  const std::size_t bytes = static_cast<std::size_t>(rect.Width()) * columnBytes;
  written_.resize(bytes * rect.Height());
  for (int y = 0; y < rect.Height(); ++y)
    std::memcpy(written_.data() + y * bytes, at + static_cast<std::size_t>(y) * d.rowBytes, bytes);
  return {written_.data(), bytes};
}

// The smallest rectangle inside `block` where the output differs from the layer.
Rect HostEngine::ChangedIn(const Rect& block) {
  if (block.Empty()) return {};
  const std::size_t columnBytes = out_.ColumnBytes();
  const auto planes = static_cast<std::size_t>(pixels_->Planes());
  const PixelRows written = OutputRows(block);
  const PixelRows now = pixels_->Read(block);
  const auto differs = [&](int y, int x) {
    return std::memcmp(written.Row(y) + x * columnBytes, now.Row(y) + x * planes + out_.lo,
                       columnBytes) != 0;
  };
  Rect changed{};
  for (int y = 0; y < block.Height(); ++y) {
    // One comparison for a row of every plane; the ends of a changed row pixel by pixel.
    if (columnBytes == planes &&
        std::memcmp(written.Row(y), now.Row(y), block.Width() * planes) == 0)
      continue;
    int first = 0;
    while (first < block.Width() && !differs(y, first)) ++first;
    if (first == block.Width()) continue;
    int last = block.Width() - 1;
    while (!differs(y, last)) --last;
    changed = Bounds(changed, MakeRect(block.top + y, block.left + first, block.top + y + 1,
                                       block.left + last + 1));
  }
  return changed;
}

// What the plug-in changed goes back to the layer: the output is compared with the layer where
// the plug-in can have written (the whole delivery, or the pages it touched), and the smallest
// rectangle holding every difference is written.
void HostEngine::CommitOutput() {
  const Delivery& d = out_;
  if (d.bytes == nullptr) return;
  const Rect inside = Intersection(d.rect, MakeRect(0, 0, pixels_->Height(), pixels_->Width()));
  const std::size_t columnBytes = d.ColumnBytes();
  Rect changed{};
  if (!d.demand) {
    changed = ChangedIn(inside);
  } else {
    std::vector<Rect> blocks;
    d.demand->ForEachTouched([&](std::size_t offset, std::size_t size) {
      const std::size_t rowBytes = static_cast<std::size_t>(d.rowBytes);
      for (std::size_t row = offset / rowBytes; row * rowBytes < offset + size; ++row) {
        // The columns of the bytes touched, the row's padding left out.
        const std::size_t from = std::max(offset, row * rowBytes) - row * rowBytes;
        const std::size_t until = std::min(offset + size - row * rowBytes, rowBytes);
        const auto columns = static_cast<std::size_t>(d.rect.Width());
        const auto top = static_cast<int>(d.rect.top + row);
        const auto left = static_cast<int>(std::min(from / columnBytes, columns));
        const auto right =
            static_cast<int>(std::min((until + columnBytes - 1) / columnBytes, columns));
        blocks.push_back(
            Intersection(MakeRect(top, d.rect.left + left, top + 1, d.rect.left + right), inside));
      }
    });
    for (const Rect& block : blocks) changed = Bounds(changed, ChangedIn(block));
  }
  if (changed.Empty()) return;
  const PixelRows written = OutputRows(changed);
  const auto planes = static_cast<std::size_t>(pixels_->Planes());
  if (columnBytes == planes) {
    pixels_->Write(changed, written);
  } else {
    // The planes not delivered keep their values.
    const std::size_t rowBytes = static_cast<std::size_t>(changed.Width()) * planes;
    merged_.resize(rowBytes * changed.Height());
    const PixelRows now = pixels_->Read(changed);
    for (int y = 0; y < changed.Height(); ++y) {
      std::uint8_t* row = merged_.data() + y * rowBytes;
      std::memcpy(row, now.Row(y), rowBytes);
      for (int x = 0; x < changed.Width(); ++x)
        std::memcpy(row + x * planes + d.lo, written.Row(y) + x * columnBytes, columnBytes);
    }
    pixels_->Write(changed, {merged_.data(), rowBytes});
  }
  changed_ = Bounds(changed_, changed);
}

void HostEngine::ReleaseBuffers() {
  if (kFreshBuffers) {
    inBuffer_ = {};
    outBuffer_ = {};
  }
  in_ = {};
  out_ = {};
  record_.inData = nullptr;
  record_.outData = nullptr;
}

int16 HostEngine::AdvanceState() {
  CommitOutput();
  ReleaseBuffers();
  ++advanceCalls_;

  HostRequest request;
  request.inRect = record_.inRect;
  request.outRect = record_.outRect;
  request.maskRect = record_.maskRect;
  request.inLoPlane = record_.inLoPlane;
  request.inHiPlane = record_.inHiPlane;
  request.outLoPlane = record_.outLoPlane;
  request.outHiPlane = record_.outHiPlane;
  request.wantsAbsolute = record_.wantsAbsolute != 0;
  request.inputRate = record_.inputRate;
  request.maskRate = record_.maskRate;
  request.inputPadding = record_.inputPadding;
  request.outputPadding = record_.outputPadding;
  request.maskPadding = record_.maskPadding;

  const Rect in = record_.inRect;
  const Rect out = record_.outRect;
  int16 result = kNoErr;
  if (failAdvanceCode_ != kNoErr && advanceCalls_ > failAdvanceAfter_) {
    result = failAdvanceCode_;
  } else {
    result = CheckSide(in, record_.inLoPlane, record_.inHiPlane, record_.inputPadding);
    if (result == kNoErr && !in.Empty() && record_.inputRate != kFixedOne) result = kParamErr;
    if (result == kNoErr)
      result = CheckSide(out, record_.outLoPlane, record_.outHiPlane, record_.outputPadding);
  }
  // Memory is the last thing to fail: the buffers are made only for a request otherwise good.
  if (result == kNoErr && !in.Empty() &&
      Deliver(in_, inBuffer_, in, record_.inLoPlane, record_.inHiPlane, record_.inputPadding) ==
          nullptr)
    result = kMemFullErr;
  if (result == kNoErr && !out.Empty() &&
      Deliver(out_, outBuffer_, out, record_.outLoPlane, record_.outHiPlane,
              record_.outputPadding) == nullptr)
    result = kMemFullErr;
  request.result = result;
  requests_.push_back(request);
  if (result != kNoErr) {
    ReleaseBuffers();
    return result;
  }

  if (!in.Empty()) {
    record_.inData = in_.bytes;
    record_.inRowBytes = in_.rowBytes;
    record_.inColumnBytes = record_.inHiPlane - record_.inLoPlane + 1;
    record_.inPlaneBytes = 1;
  }
  if (!out.Empty()) {
    record_.outData = out_.bytes;
    record_.outRowBytes = out_.rowBytes;
    record_.outColumnBytes = record_.outHiPlane - record_.outLoPlane + 1;
    record_.outPlaneBytes = 1;
  }
  return kNoErr;
}

Handle HostEngine::NewHandle(int32 size) {
  if (failNewHandle_ || size < 0) return nullptr;
  auto owned = std::make_unique<OwnedHandle>();
  // One spare byte so that even an empty block has an address.
  owned->block.assign(static_cast<std::size_t>(size) + 1, kNewHandleFill);
  owned->size = static_cast<std::size_t>(size);
  owned->master = owned->block.data();
  Handle h = &owned->master;
  handles_.push_back(std::move(owned));
  return h;
}

HostEngine::OwnedHandle* HostEngine::FindHandle(Handle h) const {
  if (h == nullptr) return nullptr;
  for (const auto& owned : handles_)
    if (&owned->master == h) return owned.get();
  return nullptr;
}

Ptr HostEngine::LockHandle(Handle h) {
  if (failLock_) return nullptr;
  OwnedHandle* owned = FindHandle(h);
  return owned ? owned->master : nullptr;
}

void HostEngine::DisposeHandle(Handle h) {
  OwnedHandle* owned = FindHandle(h);
  if (owned == nullptr) return;
  if (record_.parameters == h) record_.parameters = nullptr;
  std::erase_if(handles_, [owned](const auto& p) { return p.get() == owned; });
}

OSErr HostEngine::SetHandleSize(Handle h, int32 size) {
  OwnedHandle* owned = FindHandle(h);
  if (owned == nullptr) return kNilHandleErr;
  if (size < 0) return kParamErr;
  owned->block.resize(static_cast<std::size_t>(size) + 1, kNewHandleFill);
  owned->size = static_cast<std::size_t>(size);
  owned->master = owned->block.data();
  return kNoErr;
}

std::size_t HostEngine::HandleSize(Handle h) const {
  const OwnedHandle* owned = FindHandle(h);
  return owned ? owned->size : 0;
}

void HostEngine::ForgetParameters() {
  DisposeHandle(record_.parameters);
  record_.parameters = nullptr;
}

std::vector<std::uint8_t> HostEngine::ParameterBytes() const {
  const OwnedHandle* owned = FindHandle(record_.parameters);
  if (owned == nullptr) return {};
  return {owned->block.begin(), owned->block.begin() + static_cast<std::ptrdiff_t>(owned->size)};
}

void HostEngine::RestoreParameters(const std::vector<std::uint8_t>& bytes) {
  ForgetParameters();
  if (bytes.empty() || bytes.size() > INT32_MAX) return;
  const Handle h = NewHandle(static_cast<int32>(bytes.size()));
  if (h == nullptr) return;
  std::copy(bytes.begin(), bytes.end(), *h);
  record_.parameters = h;
}

namespace {

// The body RunInside runs; a plain entry function can carry no context of its own.
const std::function<void(HostContext&)>* gInsideBody = nullptr;

void InsideEntry(int16, FilterRecord* record, intptr_t* data, int16* result) {
  HostContext context{record, data, *result};
  (*gInsideBody)(context);
  *result = context.result;
}

}  // namespace

int16 HostEngine::RunInside(const std::function<void(HostContext&)>& body) {
  gInsideBody = &body;
  const int16 result = Call(InsideEntry, kSelectorContinue);
  gInsideBody = nullptr;
  return result;
}

}  // namespace pictaro
