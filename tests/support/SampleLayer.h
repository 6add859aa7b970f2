// Layers for tests: the shipped sample, whose artwork stands at the standard grid positions, and
// patterned ones, held or made as they are read.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "hostengine/HostEngine.h"

namespace pictaro::testing {

inline Layer SampleLayer() {
  std::string error;
  std::optional<Layer> layer =
      LoadLayerImage(PICTARO_SOURCE_DIR "/samples/sample-layer.png", false, error);
  if (!layer) throw std::runtime_error(error);
  return std::move(*layer);
}

// Never 0 or 255, so that padding stands out, and unlike its neighbours' bytes, so that a stray
// write shows; 255 - PatternByte never equals it.
inline std::uint8_t PatternByte(int x, int y, int plane) {
  return static_cast<std::uint8_t>(1 + (x * 29 + y * 7 + plane * 3) % 254);
}

inline Layer Patterned(int width, int height, int planes) {
  Layer layer{width, height, planes,
              std::vector<std::uint8_t>(std::size_t(width * height * planes))};
  for (int i = 0; i < width * height * planes; ++i)
    layer.pixels[i] = PatternByte(i / planes % width, i / planes / width, i % planes);
  return layer;
}

// The host's pixels of a patterned layer of any size, made as they are read, so that they take
// no memory; the rectangles read and written are kept.
class PatternedPixels final : public LayerPixels {
 public:
  using LayerPixels::LayerPixels;
  PixelRows Read(const Rect& rect) override {
    reads.push_back(rect);
    const std::size_t rowBytes = std::size_t(rect.Width() * Planes());
    buffer.resize(rowBytes * rect.Height());
    for (std::size_t i = 0; i < buffer.size(); ++i)
      buffer[i] = PatternByte(rect.left + int(i % rowBytes) / Planes(),
                              rect.top + int(i / rowBytes), int(i % rowBytes) % Planes());
    return {buffer.data(), rowBytes};
  }
  void Write(const Rect& rect, PixelRows) override { writes.push_back(rect); }

  std::vector<Rect> reads, writes;
  std::vector<std::uint8_t> buffer;
};

}  // namespace pictaro::testing
