#include "ui/views/RasterBitmap.h"

#include <cstdlib>
#include <cstring>

namespace pictaro {

wxColour ToWxColour(std::uint32_t color) {
  return wxColour(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

wxImage RasterToImage(const Raster& raster, bool alpha) {
  if (raster.width <= 0 || raster.height <= 0) return wxImage();
  const std::size_t pixels = static_cast<std::size_t>(raster.width) * raster.height;
  // wxImage takes ownership of malloc'd buffers.
  auto* rgb = static_cast<unsigned char*>(std::malloc(pixels * 3));
  auto* a = alpha ? static_cast<unsigned char*>(std::malloc(pixels)) : nullptr;
  for (std::size_t i = 0; i < pixels; ++i) {
    std::memcpy(rgb + i * 3, raster.rgba.data() + i * 4, 3);
    if (a != nullptr) a[i] = raster.rgba[i * 4 + 3];
  }
  wxImage image(raster.width, raster.height, rgb, false);
  if (a != nullptr) image.SetAlpha(a, false);
  return image;
}

wxBitmap RasterToBitmap(const Raster& raster, int factor) {
  const wxImage image = Magnified(RasterToImage(raster, false), factor);
  return image.IsOk() ? wxBitmap(image) : wxBitmap();
}

wxImage Magnified(const wxImage& image, int factor) {
  if (factor <= 1 || !image.IsOk()) return image;
  return image.Scale(image.GetWidth() * factor, image.GetHeight() * factor,
                     wxIMAGE_QUALITY_NEAREST);
}

wxIcon CreateIcon(const ResourceGrid& grid, int index) {
  const Raster picture = grid.IconImage(index);
  wxIcon icon;
  if (picture.width <= 0) return icon;
  icon.CopyFromBitmap(wxBitmap(RasterToImage(picture, true)));
  return icon;
}

wxIcon CreateIcon(const ResourceGrid& grid, const GridSlot& slot) {
  return CreateIcon(grid, ResourceGrid::IndexOf(slot));
}

}  // namespace pictaro
