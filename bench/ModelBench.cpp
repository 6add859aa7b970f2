// The grid operations that run on every capture, Clear and file read.
#include <benchmark/benchmark.h>

#include "model/ResourceGrid.h"

namespace pictaro {
namespace {

const GridSlot kAllSlots[ResourceGrid::kResourceCount] = {
    GridSlot(3, 0, 0), GridSlot(2, 0, 0), GridSlot(1, 0, 0), GridSlot(0, 0, 0), GridSlot(3, 1, 0),
    GridSlot(2, 1, 0), GridSlot(1, 1, 0), GridSlot(0, 1, 0), GridSlot(4, 2, 1), GridSlot(3, 2, 1),
    GridSlot(2, 2, 1), GridSlot(1, 2, 1), GridSlot(0, 2, 1)};

// A full Build's worth of fresh blocks, then a New.
void BM_PrepareAllThenClear(benchmark::State& state) {
  ResourceGrid grid;
  for (auto _ : state) {
    for (const GridSlot& slot : kAllSlots) grid.PrepareResource(slot);
    benchmark::DoNotOptimize(grid.resources[8].colorBits);
    grid.Clear();
  }
  state.SetItemsProcessed(state.iterations() * ResourceGrid::kResourceCount);
}
BENCHMARK(BM_PrepareAllThenClear);

// Re-preparing present resources, as repeated captures do: only the headers are rewritten.
void BM_PrepareAllPresent(benchmark::State& state) {
  ResourceGrid grid;
  for (const GridSlot& slot : kAllSlots) grid.PrepareResource(slot);
  for (auto _ : state) {
    for (const GridSlot& slot : kAllSlots) grid.PrepareResource(slot);
    benchmark::DoNotOptimize(grid.resources[8].colorBits);
  }
  state.SetItemsProcessed(state.iterations() * ResourceGrid::kResourceCount);
}
BENCHMARK(BM_PrepareAllPresent);

void BM_Parse256(benchmark::State& state) {
  ResourceGrid grid;
  grid.PrepareResource(GridSlot(4, 2, 1));
  IconResource resource;
  resource.AdoptBlock(grid.resources[8].block);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ResourceGrid::ParseResource(&resource));
    benchmark::DoNotOptimize(resource.maskBits);
  }
}
BENCHMARK(BM_Parse256);

}  // namespace
}  // namespace pictaro
