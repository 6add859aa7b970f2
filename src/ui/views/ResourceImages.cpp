#include "ui/views/ResourceImages.h"

#include <wx/image.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "resources/ImageResources.h"

namespace pictaro {

namespace {

// The raster as a wxImage; it carries alpha only where some pixel is not opaque.
wxImage ImageOf(const Raster& raster) {
  wxImage image(raster.width, raster.height, false);
  bool opaque = true;
  for (std::size_t i = 3; i < raster.rgba.size() && opaque; i += 4) opaque = raster.rgba[i] == 255;
  if (!opaque) image.InitAlpha();
  for (int y = 0; y < raster.height; ++y) {
    for (int x = 0; x < raster.width; ++x) {
      const std::uint8_t* pixel = raster.At(x, y);
      image.SetRGB(x, y, pixel[0], pixel[1], pixel[2]);
      if (!opaque) image.SetAlpha(x, y, pixel[3]);
    }
  }
  return image;
}

}  // namespace

wxCursor ResourceCursor(int id) {
  const std::optional<CursorImage> cursor = LoadCursorResource(id);
  if (!cursor) return wxCursor();
  wxImage image = ImageOf(cursor->image);
  image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, cursor->hotX);
  image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, cursor->hotY);
  return wxCursor(image);
}

wxBitmap ResourceBitmap(int id) {
  const std::optional<Raster> raster = LoadBitmapResource(id);
  if (!raster) return wxBitmap();
  return wxBitmap(ImageOf(*raster));
}

}  // namespace pictaro
