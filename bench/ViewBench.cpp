// What a window repaints: the Capture tab's view of a 256 x 256 region (on every drag step),
// and a cell's picture, small and as the stretched Preview.
#include <benchmark/benchmark.h>

#include <vector>

#include "host/LayerViewPicture.h"
#include "model/CellPicture.h"

namespace pictaro {
namespace {

void BM_RenderLayerView(benchmark::State& state) {
  constexpr int kSide = 256;
  std::vector<std::uint8_t> pixels(kSide * kSide * 4);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7);
  LayerImage image;
  image.rect = Rect{0, 0, kSide, kSide};
  image.base = pixels.data();
  image.rowBytes = kSide * 4;
  image.columnBytes = 4;
  LayerViewLook look;
  look.zoom = state.range(0) != 0;
  Raster area(kSide, kSide);
  for (auto _ : state) {
    RenderLayerPicture(image, look, area);
    benchmark::DoNotOptimize(area.rgba.data());
  }
}
BENCHMARK(BM_RenderLayerView)->ArgName("zoom")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PaintCell(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  ResourceGrid grid;
  const GridSlot slot(size == 16 ? 0 : 4, 2, 1);
  grid.PrepareResource(slot);
  CellLook look;
  look.stretch = state.range(1) != 0;
  Raster cell(state.range(1) != 0 ? 262 : size + 6, state.range(1) != 0 ? 262 : size + 6);
  for (auto _ : state) {
    PaintCell(cell, &grid, slot, look);
    benchmark::DoNotOptimize(cell.rgba.data());
  }
}
BENCHMARK(BM_PaintCell)
    ->ArgNames({"size", "stretch"})
    ->Args({16, 0})
    ->Args({16, 1})
    ->Args({256, 0})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pictaro
