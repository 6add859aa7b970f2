#include "model/BitmapInfoHeader.h"

#include "model/LittleEndian.h"

namespace pictaro {

namespace {

std::int32_t GetI32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(GetU32(p));
}

void PutI32(std::uint8_t* p, std::int32_t value) {
  PutU32(p, static_cast<std::uint32_t>(value));
}

}  // namespace

BitmapInfoHeader ReadBitmapInfoHeader(const std::uint8_t* bytes) {
  using namespace header_offset;
  BitmapInfoHeader h;
  h.biSize = GetU32(bytes + kSize);
  h.biWidth = GetI32(bytes + kWidth);
  h.biHeight = GetI32(bytes + kHeight);
  h.biPlanes = GetU16(bytes + kPlanes);
  h.biBitCount = GetU16(bytes + kBitCount);
  h.biCompression = GetU32(bytes + kCompression);
  h.biSizeImage = GetU32(bytes + kSizeImage);
  h.biXPelsPerMeter = GetI32(bytes + kXPelsPerMeter);
  h.biYPelsPerMeter = GetI32(bytes + kYPelsPerMeter);
  h.biClrUsed = GetU32(bytes + kClrUsed);
  h.biClrImportant = GetU32(bytes + kClrImportant);
  return h;
}

void WriteBitmapInfoHeader(const BitmapInfoHeader& h, std::uint8_t* bytes) {
  using namespace header_offset;
  PutU32(bytes + kSize, h.biSize);
  PutI32(bytes + kWidth, h.biWidth);
  PutI32(bytes + kHeight, h.biHeight);
  PutU16(bytes + kPlanes, h.biPlanes);
  PutU16(bytes + kBitCount, h.biBitCount);
  PutU32(bytes + kCompression, h.biCompression);
  PutU32(bytes + kSizeImage, h.biSizeImage);
  PutI32(bytes + kXPelsPerMeter, h.biXPelsPerMeter);
  PutI32(bytes + kYPelsPerMeter, h.biYPelsPerMeter);
  PutU32(bytes + kClrUsed, h.biClrUsed);
  PutU32(bytes + kClrImportant, h.biClrImportant);
}

}  // namespace pictaro
