// The document: the thirteen icon images in resource-index order, which is also the order of
// the entries in a written .ico file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/GridSlot.h"
#include "model/IconResource.h"
#include "model/Raster.h"

namespace pictaro {

class Desktop;
class IcoInput;

// How a resource was stored in the file it was read from, for listing a file's entries.
struct StoredEntry {
  std::uint32_t storedBytes = 0;  // the entry's bytes in the file
  bool png = false;
};

// An entry of a file that found no place in the grid, so that a save leaves it out.
struct SkippedEntry {
  std::uint32_t entry = 0;  // its place in the directory, from 0
  std::uint32_t width = 0;  // as its own header says, or the directory when that says nothing
  std::uint32_t height = 0;
  std::uint32_t depth = 0;  // bits per pixel
  bool png = false;
};

// Where a resource's pixels are, as capture, drawing and Apply need them.
struct ResourceBuffers {
  std::uint8_t* colorBits = nullptr;
  std::uint32_t colorRowBytes = 0;
  std::uint8_t* maskBits = nullptr;
  std::uint32_t maskRowBytes = 0;
  std::uint8_t* colorTable = nullptr;
  // Entries in the table; a block read from a file may carry fewer than 2^depth.
  std::uint32_t colorCount = 0;
};

class ResourceGrid {
 public:
  static constexpr int kResourceCount = 13;

  ResourceGrid() = default;
  ResourceGrid(const ResourceGrid&) = delete;
  ResourceGrid& operator=(const ResourceGrid&) = delete;
  virtual ~ResourceGrid();

  // The resource index of a square image of that size and depth, or -1.
  static int IndexOf(std::uint32_t width, std::uint32_t height, std::uint32_t depth);
  static int IndexOf(const GridSlot& slot);

  // Empties all thirteen resources and marks them unmodified.
  void Clear();
  void ResetResource(int index, int modifiedValue);
  // Empties a resource and marks it modified, even when it was empty already.
  void ClearResource(int index);
  void ClearResource(const GridSlot& slot);

  // Gives the slot's resource a block with a fresh header for its size and depth. An empty
  // resource gets a zero-filled block: colour index 0 (transparent black at 32 bits) and an
  // all-opaque mask. A present one keeps its pixels, unless its block, read from a file, has
  // another layout; then it starts over from zero. If the block cannot be allocated, the
  // resource is left empty.
  void PrepareResource(const GridSlot& slot);

  // Fills `buffers` for the slot's resource, all null and 0 when it is not present. Returns
  // false, leaving `buffers` alone, when the slot has no place in the grid.
  bool GetBuffers(const GridSlot& slot, ResourceBuffers& buffers);

  int CountPresent() const;
  int AnyModified() const;
  void SetPngCompression(int flag);

  // Sets a block read from a file to its header's view: the sizes, the depth and the pointers
  // to header, colour bitmap and mask. Returns 1 when header, colour table, colour bitmap and
  // mask all lie inside the block; otherwise 0, with no pointer into the block left set.
  static int ParseResource(IconResource* resource);

  // Some writers leave out the mask of a 32-bit image, or cut a mask short. When a block's
  // header, table and colour bitmap fit but its mask does not, this appends the missing mask
  // bytes (opaque; for a 32-bit image without any mask, transparent where alpha is 0) and parses
  // the block. Returns 1 when the block was completed and parsed, else 0, changing nothing.
  static int CompleteMask(IconResource* resource);

  // Sets the 1-bit mask of a parsed 32-bit image from its alpha: transparent exactly where
  // alpha is 0, as in images captured here. Other images are left alone.
  static void MaskFromAlpha(IconResource* resource);

  // Replaces the grid's content with the icon images of an .ico file. Returns 1 on success and
  // 0 on failure; every failure but a file that cannot be opened is shown through `desktop`,
  // titled with the path, a PNG entry that lands but cannot be decoded included. `stored`, when
  // given, receives how each resource read was stored, and `skipped` the entries that have no
  // place in the grid.
  int ReadIco(const std::string& path, Desktop& desktop,
              std::array<StoredEntry, 13>* stored = nullptr,
              std::vector<SkippedEntry>* skipped = nullptr);
  // The same, from an already opened input; `path` only titles the messages.
  int ReadIco(IcoInput& input, const std::string& path, Desktop& desktop,
              std::array<StoredEntry, 13>* stored = nullptr,
              std::vector<SkippedEntry>* skipped = nullptr);

  // Stores the present resources as an .ico file, the 256 x 256 image as PNG when pngCompress
  // is set. The file is replaced only when all of it was written. Returns 1 on success.
  int WriteIco(const std::string& path, Desktop& desktop);

  // Where the image of a resource starts in a written file.
  std::uint32_t ImageOffset(int index) const;

  // Draws a resource into (left, top, right, bottom) of `context` in a view mode (0 both,
  // 1 data, 2 mask): at its own size centred, or stretched to fill the rectangle. 32-bit images
  // are blended with `background` (0x00BBGGRR); a 4- or 8-bit image in mode 0 leaves whatever
  // the context holds under its transparent pixels. Returns 0 when there is nothing to draw.
  int Draw(Raster& context, int left, int top, int right, int bottom, int viewMode, int stretch,
           std::uint32_t background, int index) const;
  int Draw(Raster& context, int left, int top, int right, int bottom, int viewMode, int stretch,
           std::uint32_t background, const GridSlot& slot) const;

  // The picture a platform icon is made of: colour with alpha (32-bit) or with the 1-bit mask
  // as alpha. Empty when the resource is not present.
  Raster IconImage(int index) const;

  // The Windows-1252 text that lists the grid's problems with older versions of Windows.
  std::string BuildCompatibilityReport() const;

  std::array<IconResource, kResourceCount> resources;
  int pngCompress = 0;
};

}  // namespace pictaro
