// The 256 x 256 image as a PNG stream, encoded and decoded by FreeImage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/IconResource.h"

struct FIBITMAP;

namespace pictaro {

enum class PngEncoding { Encoded, NoImage, SaveFailed };

// Encodes a 32-bit resource's colour and alpha (rows bottom-up, blue, green, red, alpha) as a
// PNG of 8-bit red, green, blue and alpha. NoImage: FreeImage made no image of the bits;
// SaveFailed: it could not save one.
PngEncoding EncodePng(const IconResource& resource, std::vector<std::uint8_t>& stream);

// A decoded PNG stream, released with the object.
class PngImage {
 public:
  // Decodes only a stream whose header says 256 x 256, so that a hostile header cannot make the
  // decoder allocate more than one icon's worth.
  static PngImage Decode(const std::uint8_t* bytes, std::size_t size);

  PngImage(PngImage&& other) noexcept : dib_(other.dib_) { other.dib_ = nullptr; }
  PngImage& operator=(PngImage&&) = delete;
  ~PngImage();

  // Whether it decoded to the one image an icon file may hold as PNG: 256 x 256, 32 bits.
  bool IsIconImage() const;
  // Copies the pixels as 32-bit rows, bottom row first, blue, green, red, alpha.
  void CopyTo(std::uint8_t* colorBits, std::uint32_t rowBytes) const;

 private:
  explicit PngImage(FIBITMAP* dib) : dib_(dib) {}
  FIBITMAP* dib_;
};

}  // namespace pictaro
