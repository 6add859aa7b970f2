// The automatic colour table over the layer view's largest window, 256 x 256 pixels of smoothly
// varying colours (about 37000 distinct 6-bit cells): the whole generation through the host's
// row deliveries, and the median cut alone.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "host/ColorTableGenerator.h"
#include "host/LayerAccess.h"
#include "hostengine/HostEngine.h"

namespace pictaro {
namespace {

constexpr int kSide = 256;

void Colour(int x, int y, std::uint8_t* pixel) {
  pixel[0] = static_cast<std::uint8_t>(x);
  pixel[1] = static_cast<std::uint8_t>(y);
  pixel[2] = static_cast<std::uint8_t>((x * 3 + y * 5 + (x * y >> 6)) & 0xFF);
}

Layer ManyColours() {
  Layer layer{kSide, kSide, 4, {}};
  layer.pixels.resize(static_cast<std::size_t>(kSide) * kSide * 4);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      Colour(x, y, layer.At(x, y));
      layer.At(x, y)[3] = 255;
    }
  }
  return layer;
}

void BM_GenerateColorTable(benchmark::State& state) {
  HostEngine host(ManyColours());
  ColorTable table{};
  host.RunInside([&](HostContext& context) {
    RequestLayerRect(*context.record, Rect{0, 0, kSide, kSide});
    context.record->advanceState();
    for (auto _ : state) {
      GenerateColorTable(context, table);
      benchmark::DoNotOptimize(table.data());
      host.ClearRequests();
    }
  });
}
BENCHMARK(BM_GenerateColorTable)->Unit(benchmark::kMillisecond);

void BM_MedianCut(benchmark::State& state) {
  ColorHistogram histogram;
  std::uint8_t pixel[3];
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      Colour(x, y, pixel);
      histogram.Add(pixel[0], pixel[1], pixel[2]);
    }
  }
  ColorTable table{};
  for (auto _ : state) {
    MedianCut(histogram, table);
    benchmark::DoNotOptimize(table.data());
  }
}
BENCHMARK(BM_MedianCut)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pictaro
