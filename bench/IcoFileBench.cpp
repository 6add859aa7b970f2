// Saving and opening a full grid of the sample's artwork, with and without the 256 px image
// stored as PNG. Saves include the flush to disk that makes them safe. Opening the largest
// directory a file can hold, its entries all PNG or all bitmap images.
#include <FreeImage.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "SilentDesktop.h"
#include "icofile/IcoFormat.h"
#include "icofile/PngImage.h"
#include "model/LittleEndian.h"
#include "model/ResourceGrid.h"

namespace pictaro {
namespace {

struct Placement {
  GridSlot slot;
  unsigned left, top;
};

// Where the sample layer holds each resource's artwork.
const std::array<Placement, ResourceGrid::kResourceCount> kPlacements = {{
    {GridSlot(3, 0, 0), 152, 101},
    {GridSlot(2, 0, 0), 152, 166},
    {GridSlot(1, 0, 0), 152, 215},
    {GridSlot(0, 0, 0), 152, 256},
    {GridSlot(3, 1, 0), 87, 101},
    {GridSlot(2, 1, 0), 87, 166},
    {GridSlot(1, 1, 0), 87, 215},
    {GridSlot(0, 1, 0), 87, 256},
    {GridSlot(4, 2, 1), 230, 101},
    {GridSlot(3, 2, 1), 22, 101},
    {GridSlot(2, 2, 1), 22, 166},
    {GridSlot(1, 2, 1), 22, 215},
    {GridSlot(0, 2, 1), 22, 256},
}};

// Fills the grid from the sample layer: 32-bit resources 1:1 with their alpha, the indexed ones
// through a plain 3-3-2 (8-bit) or 1-2-1 (4-bit) table; the mask is set where alpha is 0.
void FillFromSample(ResourceGrid& grid) {
  const std::string path = std::string(PICTARO_SOURCE_DIR) + "/samples/sample-layer.png";
  FIBITMAP* loaded = FreeImage_Load(FIF_PNG, path.c_str(), 0);
  FIBITMAP* layer = FreeImage_ConvertTo32Bits(loaded);
  FreeImage_Unload(loaded);
  const unsigned layerHeight = FreeImage_GetHeight(layer);
  for (const Placement& place : kPlacements) {
    grid.PrepareResource(place.slot);
    ResourceBuffers b;
    grid.GetBuffers(place.slot, b);
    const unsigned size = place.slot.GridPixelSize();
    const unsigned depth = place.slot.BitsPerPixel();
    for (unsigned i = 0; i < b.colorCount; ++i) {
      const bool wide = depth == 8;
      b.colorTable[4 * i] = static_cast<std::uint8_t>(wide ? (i & 3) * 85 : (i & 1) * 255);
      b.colorTable[4 * i + 1] =
          static_cast<std::uint8_t>(wide ? ((i >> 2) & 7) * 36 : ((i >> 1) & 3) * 85);
      b.colorTable[4 * i + 2] = static_cast<std::uint8_t>(wide ? (i >> 5) * 36 : (i >> 3) * 255);
    }
    for (unsigned y = 0; y < size; ++y) {
      // FreeImage's scan line 0 is the bottom row, like the resource's.
      const BYTE* source =
          FreeImage_GetScanLine(layer, layerHeight - 1 - (place.top + size - 1 - y));
      std::uint8_t* row = b.colorBits + y * b.colorRowBytes;
      std::uint8_t* mask = b.maskBits + y * b.maskRowBytes;
      for (unsigned x = 0; x < size; ++x) {
        const BYTE* p = source + 4 * (place.left + x);
        const unsigned blue = p[FI_RGBA_BLUE], green = p[FI_RGBA_GREEN], red = p[FI_RGBA_RED];
        const unsigned alpha = p[FI_RGBA_ALPHA];
        if (alpha == 0) mask[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        if (depth == 32) {
          row[4 * x] = static_cast<std::uint8_t>(blue);
          row[4 * x + 1] = static_cast<std::uint8_t>(green);
          row[4 * x + 2] = static_cast<std::uint8_t>(red);
          row[4 * x + 3] = static_cast<std::uint8_t>(alpha);
        } else if (depth == 8) {
          row[x] = static_cast<std::uint8_t>((red >> 5) << 5 | (green >> 5) << 2 | blue >> 6);
        } else {
          const unsigned index = (red >> 7) << 3 | (green >> 6) << 1 | blue >> 7;
          row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
      }
    }
  }
  FreeImage_Unload(layer);
}

std::string BenchFile(const char* name) {
  return (std::filesystem::temp_directory_path() /
          (std::string(name) + std::to_string(getpid()) + ".ico"))
      .string();
}

void BM_WriteIco(benchmark::State& state) {
  ResourceGrid grid;
  FillFromSample(grid);
  grid.SetPngCompression(static_cast<int>(state.range(0)));
  SilentDesktop desktop;
  const std::string path = BenchFile("pictaro-bench-write-");
  for (auto _ : state) {
    if (grid.WriteIco(path, desktop) != 1) state.SkipWithError("the save failed");
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_WriteIco)->ArgName("png")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ReadIco(benchmark::State& state) {
  SilentDesktop desktop;
  const std::string path = BenchFile("pictaro-bench-read-");
  {
    ResourceGrid grid;
    FillFromSample(grid);
    grid.SetPngCompression(static_cast<int>(state.range(0)));
    grid.WriteIco(path, desktop);
  }
  ResourceGrid grid;
  for (auto _ : state) {
    if (grid.ReadIco(path, desktop) != 1) state.SkipWithError("the read failed");
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadIco)->ArgName("png")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A 16 px, 32-bit image of the sample's artwork, as a bitmap block or as a PNG stream.
std::vector<std::uint8_t> Image16(bool png) {
  const GridSlot slot(0, 2, 1);
  ResourceGrid grid;
  FillFromSample(grid);
  const IconResource& resource = grid.resources[ResourceGrid::IndexOf(slot)];
  std::vector<std::uint8_t> stream;
  if (png && EncodePng(resource, stream) != PngEncoding::Encoded) stream.clear();
  return png ? stream : resource.block;
}

// 65535 directory entries (a megabyte of directory), all naming the same 16 px, 32-bit image.
void WriteManyEntries(const std::string& path, const std::vector<std::uint8_t>& image) {
  constexpr std::uint16_t kEntries = 65535;
  constexpr std::uint8_t kPixels = 16;
  const std::size_t imageOffset = ico::kHeaderSize + std::size_t{kEntries} * ico::kEntrySize;
  std::vector<std::uint8_t> file(imageOffset);
  PutU16(file.data() + 2, ico::kTypeIcon);
  PutU16(file.data() + 4, kEntries);
  for (std::size_t i = 0; i < kEntries; ++i) {
    std::uint8_t* entry = file.data() + ico::kHeaderSize + i * ico::kEntrySize;
    entry[ico::kEntryWidth] = kPixels;
    entry[ico::kEntryHeight] = kPixels;
    PutU16(entry + ico::kEntryPlanes, 1);
    PutU16(entry + ico::kEntryBitCount, 32);
    PutU32(entry + ico::kEntryBytes, static_cast<std::uint32_t>(image.size()));
    PutU32(entry + ico::kEntryOffset, static_cast<std::uint32_t>(imageOffset));
  }
  file.insert(file.end(), image.begin(), image.end());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

// Every entry is read, and the last one lands.
void BM_ReadManyEntries(benchmark::State& state) {
  const bool png = state.range(0) != 0;
  SilentDesktop desktop;
  const std::string path = BenchFile("pictaro-bench-many-");
  const std::vector<std::uint8_t> image = Image16(png);
  if (image.empty()) state.SkipWithError("no PNG stream of the 16 px image");
  WriteManyEntries(path, image);
  ResourceGrid grid;
  for (auto _ : state) {
    if (grid.ReadIco(path, desktop) != 1 || grid.CountPresent() != 1) {
      state.SkipWithError("the read failed");
    }
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadManyEntries)->ArgName("png")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pictaro
