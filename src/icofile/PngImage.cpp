#include "icofile/PngImage.h"

#include <FreeImage.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

namespace pictaro {

namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The square sizes the grid keeps at 32 bits.
constexpr std::array<std::uint32_t, 5> kIconSizes = {16, 24, 32, 48, 256};
constexpr std::uint8_t kColorTypeRgba = 6;
// Signature, then the IHDR chunk: length, type, width, height, bit depth, colour type, ...
constexpr std::size_t kIhdrWidth = 16;
constexpr std::size_t kIhdrHeight = 20;
constexpr std::size_t kIhdrBitDepth = 24;
constexpr std::size_t kIhdrColorType = 25;

std::uint32_t GetU32BigEndian(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

void AppendU32BigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

bool HasIhdr(const std::uint8_t* bytes, std::size_t size) {
  return size >= kPngHeaderBytes && std::memcmp(bytes, kSignature.data(), kSignature.size()) == 0 &&
         std::memcmp(bytes + 12, "IHDR", 4) == 0;
}

void AppendChunk(std::vector<std::uint8_t>& out, std::string_view type,
                 const std::vector<std::uint8_t>& data) {
  AppendU32BigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t crcStart = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  const DWORD crc =
      FreeImage_ZLibCRC32(0, out.data() + crcStart, static_cast<DWORD>(out.size() - crcStart));
  AppendU32BigEndian(out, crc);
}

std::uint8_t Paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left);
  const int toUp = std::abs(estimate - up);
  const int toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<std::uint8_t>(left);
  return static_cast<std::uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// Filters one row of RGBA bytes with whichever of the five PNG filters leaves the smallest sum
// of magnitudes, the usual guess at what compresses best.
void AppendFilteredRow(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& row,
                       const std::vector<std::uint8_t>& previous) {
  constexpr std::size_t kBpp = 4;
  std::array<std::vector<std::uint8_t>, 5> candidates;
  std::size_t best = 0;
  std::uint64_t bestCost = UINT64_MAX;
  for (std::size_t filter = 0; filter < candidates.size(); ++filter) {
    std::vector<std::uint8_t>& filtered = candidates[filter];
    filtered.resize(row.size());
    std::uint64_t cost = 0;
    for (std::size_t i = 0; i < row.size(); ++i) {
      const int left = i >= kBpp ? row[i - kBpp] : 0;
      const int up = previous[i];
      const int upLeft = i >= kBpp ? previous[i - kBpp] : 0;
      int predicted = 0;
      switch (filter) {
        case 1:
          predicted = left;
          break;
        case 2:
          predicted = up;
          break;
        case 3:
          predicted = (left + up) / 2;
          break;
        case 4:
          predicted = Paeth(left, up, upLeft);
          break;
        default:
          break;
      }
      filtered[i] = static_cast<std::uint8_t>(row[i] - predicted);
      cost += static_cast<std::uint64_t>(std::abs(static_cast<std::int8_t>(filtered[i])));
    }
    if (cost < bestCost) {
      bestCost = cost;
      best = filter;
    }
  }
  out.push_back(static_cast<std::uint8_t>(best));
  out.insert(out.end(), candidates[best].begin(), candidates[best].end());
}

// FreeImage stores a 32-bit image whose alpha is 255 everywhere as an RGB PNG. An icon's PNG
// must carry alpha, so such an image is written here as RGBA, compressed with FreeImage's zlib.
bool EncodeRgbaPng(const IconResource& resource, std::vector<std::uint8_t>& stream) {
  const std::uint32_t width = resource.width;
  const std::uint32_t height = resource.height;
  const std::size_t rowBytes = std::size_t{width} * 4;
  std::vector<std::uint8_t> raw;
  raw.reserve((rowBytes + 1) * height);
  std::vector<std::uint8_t> previous(rowBytes, 0);
  std::vector<std::uint8_t> row(rowBytes);
  for (std::uint32_t y = 0; y < height; ++y) {
    // PNG rows run top to bottom; the resource stores its bottom row first.
    const std::uint8_t* source = resource.colorBits + std::size_t{height - 1 - y} * rowBytes;
    for (std::size_t x = 0; x < width; ++x) {
      row[4 * x] = source[4 * x + 2];
      row[4 * x + 1] = source[4 * x + 1];
      row[4 * x + 2] = source[4 * x];
      row[4 * x + 3] = source[4 * x + 3];
    }
    AppendFilteredRow(raw, row, previous);
    previous.swap(row);
  }

  std::vector<std::uint8_t> compressed(raw.size() + raw.size() / 100 + 64);
  const DWORD compressedSize =
      FreeImage_ZLibCompress(compressed.data(), static_cast<DWORD>(compressed.size()), raw.data(),
                             static_cast<DWORD>(raw.size()));
  if (compressedSize == 0) return false;
  compressed.resize(compressedSize);

  std::vector<std::uint8_t> ihdr;
  AppendU32BigEndian(ihdr, width);
  AppendU32BigEndian(ihdr, height);
  // 8 bits per sample, RGBA, deflate, adaptive filtering, no interlace.
  ihdr.insert(ihdr.end(), {8, kColorTypeRgba, 0, 0, 0});

  stream.assign(kSignature.begin(), kSignature.end());
  AppendChunk(stream, "IHDR", ihdr);
  AppendChunk(stream, "IDAT", compressed);
  AppendChunk(stream, "IEND", {});
  return true;
}

std::string& LastImageLibraryMessage() {
  static std::string message;
  return message;
}

void KeepImageLibraryMessage(FREE_IMAGE_FORMAT, const char* message) {
  LastImageLibraryMessage() = message != nullptr ? message : "";
}

}  // namespace

void CaptureImageLibraryMessages() {
  LastImageLibraryMessage().clear();
  FreeImage_SetOutputMessage(&KeepImageLibraryMessage);
}

std::string TakeImageLibraryMessage() {
  return std::exchange(LastImageLibraryMessage(), std::string());
}

ImageLibrary::ImageLibrary() {
  FreeImage_Initialise(FALSE);
}

ImageLibrary::~ImageLibrary() {
  FreeImage_DeInitialise();
}

PngEncoding EncodePng(const IconResource& resource, std::vector<std::uint8_t>& stream) {
  const ImageLibrary library;
  const int pitch = static_cast<int>((resource.width * 32 + 31) / 32 * 4);
  FIBITMAP* dib = FreeImage_ConvertFromRawBits(resource.colorBits, static_cast<int>(resource.width),
                                               static_cast<int>(resource.height), pitch, 32,
                                               0x00FF0000, 0x0000FF00, 0x000000FF, FALSE);
  if (dib == nullptr) return PngEncoding::NoImage;

  FIMEMORY* memory = FreeImage_OpenMemory(nullptr, 0);
  const bool saved = memory != nullptr && FreeImage_SaveToMemory(FIF_PNG, dib, memory, 0) != FALSE;
  FreeImage_Unload(dib);
  if (!saved) {
    if (memory != nullptr) FreeImage_CloseMemory(memory);
    return PngEncoding::SaveFailed;
  }
  const long length = FreeImage_TellMemory(memory);
  BYTE* data = nullptr;
  DWORD acquired = 0;
  FreeImage_AcquireMemory(memory, &data, &acquired);
  stream.assign(data, data + std::min<long>(length, static_cast<long>(acquired)));
  FreeImage_CloseMemory(memory);

  if (HasIhdr(stream.data(), stream.size()) && stream[kIhdrColorType] == kColorTypeRgba) {
    return PngEncoding::Encoded;
  }
  return EncodeRgbaPng(resource, stream) ? PngEncoding::Encoded : PngEncoding::SaveFailed;
}

std::optional<PngHeader> ReadPngHeader(const std::uint8_t* bytes, std::size_t size) {
  if (!HasIhdr(bytes, size)) return std::nullopt;
  const std::uint8_t colorType = bytes[kIhdrColorType];
  // Samples a pixel by colour type: grey, -, RGB, palette index, grey and alpha, -, RGBA.
  constexpr std::array<std::uint32_t, 7> kSamples = {1, 0, 3, 1, 2, 0, 4};
  const std::uint32_t samples = colorType < kSamples.size() ? kSamples[colorType] : 0;
  return PngHeader{.width = GetU32BigEndian(bytes + kIhdrWidth),
                   .height = GetU32BigEndian(bytes + kIhdrHeight),
                   .bitsPerPixel = samples * bytes[kIhdrBitDepth],
                   .rgba8 = colorType == kColorTypeRgba && bytes[kIhdrBitDepth] == 8};
}

PngImage PngImage::Decode(const std::uint8_t* bytes, std::size_t size) {
  const std::optional<PngHeader> header = ReadPngHeader(bytes, size);
  if (!header || header->width != header->height || size > UINT32_MAX ||
      std::find(kIconSizes.begin(), kIconSizes.end(), header->width) == kIconSizes.end()) {
    return PngImage(nullptr, "its header names no square of a size the grid keeps");
  }
  const ImageLibrary library;
  CaptureImageLibraryMessages();
  // Nothing decoded: FreeImage says why, or at least that it made nothing.
  const auto failed = [] {
    std::string reason = TakeImageLibraryMessage();
    return PngImage(nullptr, reason.empty() ? "FreeImage made no image of it" : std::move(reason));
  };
  FIMEMORY* memory = FreeImage_OpenMemory(const_cast<BYTE*>(bytes), static_cast<DWORD>(size));
  if (memory == nullptr) return failed();
  // The samples as the file holds them, as other readers show them: FreeImage would otherwise
  // apply a gamma the file states.
  FIBITMAP* dib = FreeImage_LoadFromMemory(FIF_PNG, memory, PNG_IGNOREGAMMA);
  FreeImage_CloseMemory(memory);
  if (dib == nullptr) return failed();
  // 16-bit grey has no direct way to 32 bits; its high bytes make 8-bit grey first. The other
  // types (palette with or without transparency, grey, RGB, 16-bit colour) convert directly.
  if (FreeImage_GetImageType(dib) == FIT_UINT16) {
    FIBITMAP* grey = FreeImage_ConvertTo8Bits(dib);
    FreeImage_Unload(dib);
    dib = grey;
  }
  FIBITMAP* rgba = dib != nullptr ? FreeImage_ConvertTo32Bits(dib) : nullptr;
  if (dib != nullptr) FreeImage_Unload(dib);
  if (rgba != nullptr &&
      (FreeImage_GetImageType(rgba) != FIT_BITMAP || FreeImage_GetBPP(rgba) != 32 ||
       FreeImage_GetWidth(rgba) != header->width || FreeImage_GetHeight(rgba) != header->width)) {
    FreeImage_Unload(rgba);
    rgba = nullptr;
  }
  return rgba != nullptr ? PngImage(rgba, {}) : failed();
}

PngImage::~PngImage() {
  if (dib_ != nullptr) FreeImage_Unload(dib_);
}

std::uint32_t PngImage::Pixels() const {
  return dib_ != nullptr ? FreeImage_GetWidth(dib_) : 0;
}

void PngImage::CopyTo(std::uint8_t* colorBits, std::uint32_t rowBytes) const {
  FreeImage_ConvertToRawBits(colorBits, dib_, static_cast<int>(rowBytes), 32, 0x00FF0000,
                             0x0000FF00, 0x000000FF, FALSE);
}

}  // namespace pictaro
