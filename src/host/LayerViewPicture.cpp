#include "host/LayerViewPicture.h"

#include <algorithm>
#include <utility>

namespace pictaro {
namespace {

// Resources up to this size can be shown enlarged.
constexpr int kLargestZoomedSize = 48;
constexpr int kZoomFactor = 4;

float Fraction(std::uint32_t color, int shift) {
  return static_cast<float>((color >> shift) & 0xFF) / 255.0f;
}

// The picture at its natural size: layer pixels over the background, the square undimmed.
void Compose(const LayerImage& image, const LayerViewLook& look, Raster& picture) {
  const int width = picture.width;
  const int height = picture.height;
  const int squareLeft = width / 2 - look.squareSize / 2;
  const int squareTop = height / 2 - look.squareSize / 2;
  const float background[3] = {Fraction(look.background, 0), Fraction(look.background, 8),
                               Fraction(look.background, 16)};
  const float luminance = 0.3f * background[0] + 0.59f * background[1] + 0.11f * background[2];
  const bool darken = luminance >= 0.5f;
  // Whatever the host delivered, only its own rectangle is read; beyond it the layer counts
  // as transparent.
  const int readableWidth = std::min(width, image.Width());
  const int readableHeight = std::min(height, image.Height());

  for (int r = 0; r < height; ++r) {
    const bool squareRow = r >= squareTop && r < squareTop + look.squareSize;
    for (int c = 0; c < width; ++c) {
      float source[3] = {0.0f, 0.0f, 0.0f};
      float alpha = 0.0f;
      if (c < readableWidth && r < readableHeight) {
        const std::uint8_t* p = image.Pixel(c, r);
        for (int i = 0; i < 3; ++i) source[i] = static_cast<float>(p[i]) / 255.0f;
        alpha = image.HasTransparency() ? static_cast<float>(p[3]) / 255.0f : 1.0f;
      }
      const bool inSquare = squareRow && c >= squareLeft && c < squareLeft + look.squareSize;
      std::uint8_t* out = picture.At(c, r);
      for (int i = 0; i < 3; ++i) {
        float v = source[i] * alpha + (1.0f - alpha) * background[i];
        if (!inSquare) {
          v = darken ? v * 0.75f : std::min(1.0f - (1.0f - v) * 0.5f, 1.0f);
        }
        out[i] = static_cast<std::uint8_t>(v * 255.0f);
      }
      out[3] = 255;
    }
  }
}

// Stretches the centre quarter of `picture` over `area`, each pixel a block, no smoothing.
void Enlarge(const Raster& picture, Raster& area) {
  const int sourceWidth = picture.width / kZoomFactor;
  const int sourceHeight = picture.height / kZoomFactor;
  const int left = picture.width / 2 - sourceWidth / 2;
  const int top = picture.height / 2 - sourceHeight / 2;
  for (int y = 0; y < area.height; ++y) {
    const int sy = top + y * sourceHeight / area.height;
    for (int x = 0; x < area.width; ++x) {
      const int sx = left + x * sourceWidth / area.width;
      std::copy_n(picture.At(sx, sy), 4, area.At(x, y));
    }
  }
}

}  // namespace

bool RenderLayerPicture(const LayerImage& image, const LayerViewLook& look, Raster& area) {
  if (image.base == nullptr || area.width <= 0 || area.height <= 0) return false;
  Raster picture(area.width, area.height);
  Compose(image, look, picture);
  if (look.zoom && look.squareSize <= kLargestZoomedSize) {
    Enlarge(picture, area);
  } else {
    area = std::move(picture);
  }
  return true;
}

}  // namespace pictaro
