// A whole Build of the sample layer as the Build button runs it: thirteen view fetches, with
// the automatic table thirteen table generations, and thirteen captures; one 8-bit capture; and
// one request served by the host engine.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "SilentDesktop.h"
#include "host/LayerAccess.h"
#include "host/LayerWindow.h"
#include "hostengine/HostEngine.h"

namespace pictaro {
namespace {

Layer SampleLayer() {
  std::string error;
  std::optional<Layer> layer =
      LoadLayerImage(PICTARO_SOURCE_DIR "/samples/sample-layer.png", false, error);
  return layer ? *layer : Layer{1, 1, 4, {0, 0, 0, 0}};
}

// table: 0 the default 256-colour table, 1 the automatic one, 2 a loaded one.
void BM_BuildGrid(benchmark::State& state) {
  HostEngine host(SampleLayer());
  SilentDesktop desktop;
  LayerWindow window;
  window.useCustomTable = state.range(0) != 0;
  window.autoTable = state.range(0) == 1;
  for (std::size_t i = 0; i < window.customTable.size(); ++i)
    window.customTable[i] = static_cast<std::uint8_t>(i * 7);
  ResourceGrid grid;
  host.RunInside([&](HostContext& context) {
    GridSlot current;
    const std::vector<GridSlot> slots = BuildSlots(current, false, false);
    for (auto _ : state) {
      window.Build(context, current, slots, grid, desktop);
      host.ClearRequests();
    }
  });
  if (grid.CountPresent() != 13) state.SkipWithError("the build left resources empty");
}
BENCHMARK(BM_BuildGrid)->ArgName("table")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The 48 x 48 8-bit capture from the region in view, with the automatic table in use.
void BM_Capture8Bit(benchmark::State& state) {
  HostEngine host(SampleLayer());
  SilentDesktop desktop;
  LayerWindow window;
  window.useCustomTable = true;
  window.autoTable = true;
  ResourceGrid grid;
  const GridSlot slot(3, 1, 0);
  host.RunInside([&](HostContext& context) {
    window.Relayout(context, slot, desktop);
    for (auto _ : state) window.CaptureResource(context, slot, grid, desktop);
  });
}
BENCHMARK(BM_Capture8Bit)->Unit(benchmark::kMicrosecond);

// One advanceState: the 256 px position's 256 x 256 view read and written back, as a fetch asks;
// or one row of it read, as the automatic table's scan asks 256 times per table.
void BM_HostRequest(benchmark::State& state) {
  HostEngine host(SampleLayer());
  SilentDesktop desktop;
  LayerWindow window;
  host.RunInside([&](HostContext& context) {
    FilterRecord& record = *context.record;
    RequestLayerRect(record, window.ViewRect(GridSlot(4, 2, 1)));
    if (state.range(0) == 1) {
      record.inRect.bottom = static_cast<int16>(record.inRect.top + 1);
      record.outRect = Rect{};
    }
    for (auto _ : state) {
      if (record.advanceState() != kNoErr) state.SkipWithError("the host refused the request");
      host.ClearRequests();
    }
  });
}
BENCHMARK(BM_HostRequest)->ArgName("rows")->Arg(256)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pictaro
