#include "hostengine/HostEngine.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace pictaro {

namespace {

inline constexpr int16 kMemFullErr = -108;
// The most one delivered buffer may take; a request for more is answered as
// out of memory rather than allocated.
inline constexpr int32 kBufferLimit = 256 * 1024 * 1024;
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

bool InsideLayer(const Rect& rect, const Layer& layer) {
  return rect.left >= 0 && rect.top >= 0 && rect.right <= layer.width &&
         rect.bottom <= layer.height;
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

HostEngine::HostEngine(Layer layer, std::optional<Rect> filterRect) : layer_(std::move(layer)) {
  if (layer_.planes != 3 && layer_.planes != 4)
    throw std::invalid_argument("a layer has 3 or 4 planes");
  if (layer_.width < 0 || layer_.height < 0 || layer_.width > INT16_MAX ||
      layer_.height > INT16_MAX)
    throw std::invalid_argument("layer size out of range");
  if (layer_.pixels.size() !=
      static_cast<std::size_t>(layer_.width) * layer_.height * layer_.planes)
    throw std::invalid_argument("layer pixels do not match its size");
  filterRect_ = filterRect.value_or(
      Rect{0, 0, static_cast<int16>(layer_.height), static_cast<int16>(layer_.width)});

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

void HostEngine::FillRecord() {
  const Handle parameters = record_.parameters;
  std::memset(&record_, 0, sizeof record_);
  record_.parameters = parameters;
  record_.imageSize = {static_cast<int16>(layer_.height), static_cast<int16>(layer_.width)};
  record_.wholeSize = record_.imageSize;
  record_.planes = static_cast<int16>(layer_.planes);
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
  const int16 transparency = layer_.planes == 4 ? 1 : 0;
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
  if (lo < 0 || hi >= layer_.planes || lo > hi) return kParamErr;
  if (padding > 255 || padding < kPaddingNone) return kParamErr;
  if (padding == kPaddingNone && !InsideLayer(rect, layer_)) return kParamErr;
  if (padding == kPaddingReplicateEdge && (layer_.width == 0 || layer_.height == 0))
    return kParamErr;
  if (static_cast<std::int64_t>(RowBytesFor(rect, lo, hi)) * rect.Height() > kBufferLimit)
    return kMemFullErr;
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

// Row by row: the pixels left of the layer, the run inside it (one copy when every plane is
// wanted) and the pixels right of it; rows above or below the layer are all padding.
void HostEngine::Deliver(const Rect& rect, int16 lo, int16 hi, int16 padding, std::uint8_t* buffer,
                         int32 rowBytes) const {
  // The request was checked: at least one plane, and edge copies only from a layer with pixels.
  const auto columnBytes = static_cast<std::size_t>(hi - lo + 1);
  const auto planes = static_cast<std::size_t>(layer_.planes);
  const bool replicate = padding == kPaddingReplicateEdge;
  const auto fill = static_cast<std::uint8_t>(padding);
  // Columns [insideLeft, insideRight) of the layer lie inside the rectangle.
  const int insideLeft = std::clamp(0, static_cast<int>(rect.left), static_cast<int>(rect.right));
  const int insideRight =
      std::clamp(layer_.width, static_cast<int>(rect.left), static_cast<int>(rect.right));
  const std::size_t before = static_cast<std::size_t>(insideLeft - rect.left) * columnBytes;
  const std::size_t inside = static_cast<std::size_t>(insideRight - insideLeft) * columnBytes;
  const std::size_t pixelBytes = static_cast<std::size_t>(rect.Width()) * columnBytes;
  const std::size_t after = pixelBytes - before - inside;
  const std::size_t spare = static_cast<std::size_t>(rowBytes) - pixelBytes;

  // Fills `bytes` from `to` with copies of the wanted planes of the layer pixel `source`.
  const auto repeat = [&](std::uint8_t* to, std::size_t bytes, const std::uint8_t* source) {
    for (std::uint8_t* end = to + bytes; to != end; to += columnBytes)
      std::memcpy(to, source + lo, columnBytes);
  };
  for (int y = rect.top; y < rect.bottom; ++y) {
    std::uint8_t* row = buffer + static_cast<std::size_t>(y - rect.top) * rowBytes;
    if (spare != 0) std::memset(row + pixelBytes, kRowPaddingFill, spare);
    if (!replicate && (y < 0 || y >= layer_.height)) {
      std::memset(row, fill, pixelBytes);
      continue;
    }
    const int sy = std::clamp(y, 0, layer_.height - 1);
    if (replicate) {
      repeat(row, before, layer_.At(0, sy));
      repeat(row + before + inside, after, layer_.At(layer_.width - 1, sy));
    } else if (before + after != 0) {
      std::memset(row, fill, before);
      std::memset(row + before + inside, fill, after);
    }
    if (inside == 0) continue;
    const std::uint8_t* source = layer_.At(insideLeft, sy);
    if (columnBytes == planes) {
      std::memcpy(row + before, source, inside);
    } else {
      std::uint8_t* to = row + before;
      for (std::uint8_t* end = to + inside; to != end; to += columnBytes, source += planes)
        std::memcpy(to, source + lo, columnBytes);
    }
  }
}

// Row by row over the part inside the layer: one comparison per run of every plane, and a copy
// only where the plug-in changed something.
void HostEngine::CommitOutput() {
  if (deliveredOut_.Empty() || !outBuffer_.bytes) return;
  const Rect& r = deliveredOut_;
  const auto columnBytes = static_cast<std::size_t>(deliveredOutHi_ - deliveredOutLo_ + 1);
  const auto planes = static_cast<std::size_t>(layer_.planes);
  const int top = std::max<int>(r.top, 0);
  const int bottom = std::min<int>(r.bottom, layer_.height);
  const int left = std::max<int>(r.left, 0);
  const int right = std::min<int>(r.right, layer_.width);
  for (int y = top; y < bottom && left < right; ++y) {
    const std::uint8_t* source = outBuffer_.bytes.get() +
                                 static_cast<std::size_t>(y - r.top) * deliveredOutRowBytes_ +
                                 static_cast<std::size_t>(left - r.left) * columnBytes;
    std::uint8_t* target = layer_.At(left, y);
    const auto count = static_cast<std::size_t>(right - left);
    if (columnBytes == planes) {
      if (std::memcmp(source, target, count * planes) != 0) {
        std::memcpy(target, source, count * planes);
        layerChanged_ = true;
      }
      continue;
    }
    target += deliveredOutLo_;
    for (std::size_t i = 0; i < count; ++i, source += columnBytes, target += planes) {
      if (std::memcmp(source, target, columnBytes) != 0) {
        std::memcpy(target, source, columnBytes);
        layerChanged_ = true;
      }
    }
  }
  deliveredOut_ = Rect{};
}

void HostEngine::ReleaseBuffers() {
  if (kFreshBuffers) {
    inBuffer_ = {};
    outBuffer_ = {};
  }
  deliveredOut_ = Rect{};
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
  request.result = result;
  requests_.push_back(request);
  if (result != kNoErr) return result;

  if (!in.Empty()) {
    const int32 rowBytes = RowBytesFor(in, record_.inLoPlane, record_.inHiPlane);
    std::uint8_t* buffer = inBuffer_.Reserve(static_cast<std::size_t>(rowBytes) * in.Height());
    Deliver(in, record_.inLoPlane, record_.inHiPlane, record_.inputPadding, buffer, rowBytes);
    record_.inData = buffer;
    record_.inRowBytes = rowBytes;
    record_.inColumnBytes = record_.inHiPlane - record_.inLoPlane + 1;
    record_.inPlaneBytes = 1;
  }
  if (!out.Empty()) {
    const int32 rowBytes = RowBytesFor(out, record_.outLoPlane, record_.outHiPlane);
    std::uint8_t* buffer = outBuffer_.Reserve(static_cast<std::size_t>(rowBytes) * out.Height());
    Deliver(out, record_.outLoPlane, record_.outHiPlane, record_.outputPadding, buffer, rowBytes);
    record_.outData = buffer;
    record_.outRowBytes = rowBytes;
    record_.outColumnBytes = record_.outHiPlane - record_.outLoPlane + 1;
    record_.outPlaneBytes = 1;
    deliveredOut_ = out;
    deliveredOutLo_ = record_.outLoPlane;
    deliveredOutHi_ = record_.outHiPlane;
    deliveredOutRowBytes_ = rowBytes;
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
