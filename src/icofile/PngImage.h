// Icon images as PNG streams, encoded and decoded by FreeImage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/IconResource.h"

struct FIBITMAP;

namespace pictaro {

// FreeImage's formats, registered for as long as one lives. A shared FreeImage registers them
// as it loads, a static one (the Windows build's) only when asked; the scopes nest.
class ImageLibrary {
 public:
  ImageLibrary();
  ~ImageLibrary();
  ImageLibrary(const ImageLibrary&) = delete;
  ImageLibrary& operator=(const ImageLibrary&) = delete;
};

enum class PngEncoding { Encoded, NoImage, SaveFailed };

// Encodes a 32-bit resource's colour and alpha (rows bottom-up, blue, green, red, alpha) as a
// PNG of 8-bit red, green, blue and alpha. NoImage: FreeImage made no image of the bits;
// SaveFailed: it could not save one.
PngEncoding EncodePng(const IconResource& resource, std::vector<std::uint8_t>& stream);

// FreeImage explains a failed load or save only through its output-message handler, one for the
// process (one for each binary that links it statically, as the Windows build does). These keep
// its last message for whoever reports the failure.
// Installs the handler, forgetting any earlier message. Call it right before the FreeImage calls
// to be explained, in the binary that makes them: another handler may have taken over meanwhile.
void CaptureImageLibraryMessages();
// FreeImage's last message since the capture, forgotten once taken; empty when it gave none.
std::string TakeImageLibraryMessage();

// The bytes ReadPngHeader reads: the signature and the IHDR chunk.
inline constexpr std::size_t kPngHeaderBytes = 33;

// What a PNG stream's header says, read without decoding anything.
struct PngHeader {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t bitsPerPixel = 0;  // bit depth x samples a pixel
  bool rgba8 = false;              // 8-bit red, green, blue and alpha, as this program writes
};

// Nullopt unless the bytes start with the PNG signature and an IHDR chunk.
std::optional<PngHeader> ReadPngHeader(const std::uint8_t* bytes, std::size_t size);

// A decoded PNG stream, released with the object.
class PngImage {
 public:
  // Decodes only a stream whose header says a square of a size the grid keeps (16, 24, 32, 48
  // or 256 pixels), so that a hostile header cannot make the decoder allocate more than one
  // icon's worth. Any colour type and sample depth is converted to 8-bit blue, green, red and
  // straight alpha.
  static PngImage Decode(const std::uint8_t* bytes, std::size_t size);

  PngImage(PngImage&& other) noexcept : dib_(other.dib_), failure_(std::move(other.failure_)) {
    other.dib_ = nullptr;
  }
  PngImage& operator=(PngImage&&) = delete;
  ~PngImage();

  // The side of the decoded square; 0 when nothing was decoded.
  std::uint32_t Pixels() const;
  // Why nothing was decoded: FreeImage's own message (libpng's, for a damaged stream) when it
  // gave one.
  const std::string& Failure() const { return failure_; }
  // Copies the pixels as 32-bit rows, bottom row first, blue, green, red, alpha.
  void CopyTo(std::uint8_t* colorBits, std::uint32_t rowBytes) const;

 private:
  PngImage(FIBITMAP* dib, std::string failure) : dib_(dib), failure_(std::move(failure)) {}
  FIBITMAP* dib_;
  std::string failure_;
};

}  // namespace pictaro
