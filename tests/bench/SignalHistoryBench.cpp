// The cost of one repaint of the signal history window at 1024x768 with ten full minutes of
// samples (a gap in the middle), on the recording canvas: the painter's own work, without
// GDI's.

#include <benchmark/benchmark.h>

#include "fakes/FakeCanvas.h"
#include "ui/SignalHistoryGraph.h"

namespace linkscope {
namespace {

void BM_SignalHistoryRepaint(benchmark::State& state) {
  SignalHistory history(1000);
  for (std::uint32_t i = 0; i <= 600; ++i) {
    HistorySample s;
    s.time = i * 1000;
    if (i < 280 || i > 320) {
      s.signalPercent = static_cast<int>(40 + i % 50);
      s.qualityPercent = static_cast<int>(30 + i % 40);
    }
    history.Add(s);
  }
  const SignalHistoryTexts texts{"Signal Strength", "Link Quality", "%", "Minutes ago", "no link"};
  SignalHistoryGraph graph(history, texts);
  for (auto _ : state) {
    FakeCanvas canvas(1024, 768);
    graph.Paint(canvas);
    benchmark::DoNotOptimize(canvas.operations.data());
  }
}
BENCHMARK(BM_SignalHistoryRepaint);

}  // namespace
}  // namespace linkscope
