#include "model/ResourceGrid.h"

#include <algorithm>
#include <new>
#include <optional>
#include <utility>

#include "model/BitmapInfoHeader.h"

namespace pictaro {

namespace {

struct ImageKind {
  std::uint32_t pixels;
  std::uint32_t depth;
};

// Resource-index order, which is also the order of a written file's entries.
constexpr std::array<ImageKind, ResourceGrid::kResourceCount> kImageKinds = {{
    {48, 4},
    {32, 4},
    {24, 4},
    {16, 4},
    {48, 8},
    {32, 8},
    {24, 8},
    {16, 8},
    {256, 32},
    {48, 32},
    {32, 32},
    {24, 32},
    {16, 32},
}};

// Where the parts of a block read from a file lie, all checked to fit inside it.
struct BlockLayout {
  std::uint32_t width;
  std::uint32_t height;
  std::uint32_t depth;
  std::uint32_t colorCount;
  std::size_t colorOffset;
  std::size_t maskOffset;
};

// A 16-bit count: biClrUsed's low half when it is set, else what the bit count implies.
std::uint32_t ColorCountOf(const BitmapInfoHeader& h) {
  if (h.biClrUsed != 0) return h.biClrUsed & 0xFFFF;
  switch (h.biBitCount) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

// With `withMask` false, only the header, table and colour bitmap must fit.
std::optional<BlockLayout> LayoutOf(const std::vector<std::uint8_t>& block, bool withMask = true) {
  const std::uint64_t size = block.size();
  if (size < kBitmapInfoHeaderSize) return std::nullopt;
  const BitmapInfoHeader h = ReadBitmapInfoHeader(block.data());
  // A shorter header is no BITMAPINFOHEADER; a longer one just moves the colour table.
  if (h.biSize < kBitmapInfoHeaderSize) return std::nullopt;
  const std::int32_t height = h.biHeight / 2;
  if (h.biWidth <= 0 || height <= 0) return std::nullopt;
  const std::uint64_t depth = std::uint64_t{h.biPlanes} * h.biBitCount;
  if (depth == 0) return std::nullopt;

  const std::uint32_t colorCount = ColorCountOf(h);
  const std::uint64_t colorOffset = std::uint64_t{h.biSize} + 4 * std::uint64_t{colorCount};
  if (colorOffset > size) return std::nullopt;
  // Both rows are at least 4 bytes; dividing instead of multiplying cannot overflow.
  const std::uint64_t colorRow = RowBytes(static_cast<std::uint64_t>(h.biWidth), depth);
  const std::uint64_t maskRow = RowBytes(static_cast<std::uint64_t>(h.biWidth), 1);
  const std::uint64_t rows = static_cast<std::uint64_t>(height);
  if (rows > (size - colorOffset) / colorRow) return std::nullopt;
  const std::uint64_t maskOffset = colorOffset + rows * colorRow;
  if (withMask && rows > (size - maskOffset) / maskRow) return std::nullopt;

  return BlockLayout{.width = static_cast<std::uint32_t>(h.biWidth),
                     .height = static_cast<std::uint32_t>(height),
                     .depth = static_cast<std::uint32_t>(depth),
                     .colorCount = colorCount,
                     .colorOffset = static_cast<std::size_t>(colorOffset),
                     .maskOffset = static_cast<std::size_t>(maskOffset)};
}

}  // namespace

ResourceGrid::~ResourceGrid() {
  Clear();
}

int ResourceGrid::IndexOf(std::uint32_t width, std::uint32_t height, std::uint32_t depth) {
  if (width != height) return -1;
  for (int index = 0; index < kResourceCount; ++index) {
    if (kImageKinds[index].pixels == width && kImageKinds[index].depth == depth) return index;
  }
  return -1;
}

int ResourceGrid::IndexOf(const GridSlot& slot) {
  const std::uint32_t pixels = slot.GridPixelSize();
  return IndexOf(pixels, pixels, slot.BitsPerPixel());
}

void ResourceGrid::Clear() {
  for (int index = 0; index < kResourceCount; ++index) ResetResource(index, 0);
}

void ResourceGrid::ResetResource(int index, int modifiedValue) {
  if (index < 0 || index >= kResourceCount) return;
  IconResource& resource = resources[index];
  // A block adopted from a file but never parsed is freed as well.
  resource.ReleaseBlock();
  resource.present = 0;
  resource.modified = modifiedValue;
}

void ResourceGrid::ClearResource(int index) {
  ResetResource(index, 1);
}

void ResourceGrid::ClearResource(const GridSlot& slot) {
  const int index = IndexOf(slot);
  if (index >= 0) ClearResource(index);
}

void ResourceGrid::PrepareResource(const GridSlot& slot) {
  const int index = IndexOf(slot);
  if (index < 0) return;
  IconResource& resource = resources[index];

  const std::uint32_t pixels = slot.GridPixelSize();
  const std::uint32_t depth = slot.BitsPerPixel();
  const std::uint32_t colorCount = depth <= 8 ? 1u << depth : 0;
  const std::size_t colorOffset = kBitmapInfoHeaderSize + 4 * colorCount;
  const std::size_t maskOffset = colorOffset + pixels * RowBytes(pixels, depth);
  const std::size_t blockSize = maskOffset + pixels * RowBytes(pixels, 1);

  resource.width = pixels;
  resource.height = pixels;
  resource.depth = depth;
  // A block read from a file may have another layout; writing this one's header and views
  // into it could run past its end.
  if (!resource.present || resource.block.size() != blockSize) {
    const int discarded = resource.present;
    try {
      std::vector<std::uint8_t> fresh(blockSize);
      resource.ReleaseBlock();
      resource.block = std::move(fresh);
    } catch (const std::bad_alloc&) {
      ResetResource(index, discarded != 0 ? 1 : resource.modified);
      return;
    }
    resource.present = 1;
  }
  resource.blockSize = static_cast<std::uint32_t>(blockSize);
  resource.modified = 1;

  BitmapInfoHeader header;
  header.biSize = kBitmapInfoHeaderSize;
  header.biWidth = static_cast<std::int32_t>(pixels);
  header.biHeight = static_cast<std::int32_t>(2 * pixels);
  header.biPlanes = 1;
  header.biBitCount = static_cast<std::uint16_t>(depth);
  WriteBitmapInfoHeader(header, resource.block.data());
  resource.header = resource.block.data();
  resource.colorBits = resource.header + colorOffset;
  resource.maskBits = resource.header + maskOffset;
  resource.colorCount = colorCount;
}

bool ResourceGrid::GetBuffers(const GridSlot& slot, ResourceBuffers& buffers) {
  const int index = IndexOf(slot);
  if (index < 0) return false;
  const IconResource& resource = resources[index];
  if (!resource.present || resource.colorBits == nullptr) {
    buffers = ResourceBuffers{};
    return true;
  }
  buffers.colorBits = resource.colorBits;
  buffers.colorRowBytes = static_cast<std::uint32_t>(RowBytes(resource.width, resource.depth));
  buffers.maskBits = resource.maskBits;
  buffers.maskRowBytes = static_cast<std::uint32_t>(RowBytes(resource.width, 1));
  // The table ends where the colour bits start: right behind the header, however long that is.
  buffers.colorTable = resource.colorBits - 4 * std::size_t{resource.colorCount};
  buffers.colorCount = resource.colorCount;
  return true;
}

int ResourceGrid::CountPresent() const {
  int count = 0;
  for (const IconResource& resource : resources) count += resource.present != 0 ? 1 : 0;
  return count;
}

int ResourceGrid::AnyModified() const {
  for (const IconResource& resource : resources) {
    if (resource.modified != 0) return 1;
  }
  return 0;
}

void ResourceGrid::SetPngCompression(int flag) {
  pngCompress = flag;
}

int ResourceGrid::ParseResource(IconResource* resource) {
  if (resource == nullptr) return 0;
  IconResource& r = *resource;
  r.header = nullptr;
  r.colorBits = nullptr;
  r.maskBits = nullptr;
  r.colorCount = 0;
  const std::optional<BlockLayout> layout = LayoutOf(r.block);
  if (!layout) return 0;
  r.width = layout->width;
  r.height = layout->height;
  r.depth = layout->depth;
  r.colorCount = layout->colorCount;
  r.header = r.block.data();
  r.colorBits = r.header + layout->colorOffset;
  r.maskBits = r.header + layout->maskOffset;
  return 1;
}

int ResourceGrid::CompleteMask(IconResource* resource) {
  if (resource == nullptr) return 0;
  std::vector<std::uint8_t>& block = resource->block;
  const std::optional<BlockLayout> layout = LayoutOf(block, false);
  if (!layout) return 0;
  const std::size_t maskRow = RowBytes(layout->width, 1);
  const std::size_t maskBytes = layout->height * maskRow;
  if (block.size() >= layout->maskOffset + maskBytes) return 0;
  // The missing part is at most the size of the colour bitmap, which is in the block already.
  const std::size_t present = block.size() - layout->maskOffset;
  block.resize(layout->maskOffset + maskBytes, 0);
  resource->blockSize = static_cast<std::uint32_t>(block.size());
  if (ParseResource(resource) == 0) return 0;
  // A 32-bit image that comes without a mask keeps its transparency in alpha.
  if (present == 0) MaskFromAlpha(resource);
  return 1;
}

void ResourceGrid::MaskFromAlpha(IconResource* resource) {
  if (resource == nullptr || resource->depth != 32 || resource->colorBits == nullptr) return;
  const IconResource& r = *resource;
  const std::size_t colorRow = RowBytes(r.width, 32);
  const std::size_t maskRow = RowBytes(r.width, 1);
  for (std::size_t y = 0; y < r.height; ++y) {
    const std::uint8_t* pixels = r.colorBits + y * colorRow;
    std::uint8_t* mask = r.maskBits + y * maskRow;
    std::fill(mask, mask + maskRow, std::uint8_t{0});
    for (std::size_t x = 0; x < r.width; ++x) {
      if (pixels[4 * x + 3] == 0) mask[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  }
}

}  // namespace pictaro
