// A whole Build of the sample layer as the Build button runs it: thirteen view fetches, with
// the automatic table thirteen table generations, and thirteen captures; and one 8-bit capture.
#include <benchmark/benchmark.h>

#include <string>

#include "SilentDesktop.h"
#include "host/LayerAccess.h"
#include "host/LayerWindow.h"
#include "substitute/SubstituteHost.h"

namespace pictaro {
namespace {

Layer SampleLayer() {
  std::string error;
  std::optional<Layer> layer =
      LoadLayerImage(PICTARO_SOURCE_DIR "/samples/sample-layer.png", false, error);
  return layer ? *layer : Layer{1, 1, 4, {0, 0, 0, 0}};
}

void BM_BuildGrid(benchmark::State& state) {
  SubstituteHost host(SampleLayer());
  SilentDesktop desktop;
  LayerWindow window;
  window.useCustomTable = state.range(0) != 0;
  window.autoTable = state.range(0) != 0;
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
BENCHMARK(BM_BuildGrid)->ArgName("auto")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The 48 x 48 8-bit capture from the region in view, with the automatic table in use.
void BM_Capture8Bit(benchmark::State& state) {
  SubstituteHost host(SampleLayer());
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

}  // namespace
}  // namespace pictaro
