// The cost of an idle polling tick (adapter selected, nothing changing) in the program's own
// code: the request library is a scripted fake that answers at once, so the simulated driver's
// work is not counted.

#include <benchmark/benchmark.h>

#include <cstdio>

#include "app/CLinkscopeApp.h"
#include "device/Oids.h"
#include "fakes/FakePcCardProbe.h"
#include "fakes/FakeDialogSystem.h"
#include "fakes/FakePrivateProfile.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeRequestLibrary.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeWindowSystem.h"

namespace linkscope {
namespace {

void BM_IdleTick(benchmark::State& state) {
  FakeRegistry registry;
  FakePrivateProfile profile;
  FakeSystem system;
  FakeWindowSystem windows;
  FakeRequestLibrary library;
  FakePcCardProbe probe;
  FakeDialogSystem dialogs;
  library.ScriptAdapter(registry, "ORVEX PCI Skyrelay", "SKYPCI", 21);
  system.version = OsVersion{5, 0, 2195, kPlatformNt, ""};
  Platform platform{registry, profile, system, windows, library, probe, dialogs};
  CLinkscopeApp app(platform);
  if (!app.InitInstance()) {
    state.SkipWithError("start-up failed");
    return;
  }
  const WindowHandle frame = app.MainFrame()->Window();
  windows.FireTimer(frame, CMainFrame::kPollTimerId);  // discovery
  windows.FireTimer(frame, CMainFrame::kPollTimerId);  // selection, icon
  library.calls.clear();
  std::size_t requests = 0;
  for (auto _ : state) {
    windows.FireTimer(frame, CMainFrame::kPollTimerId);
    // The fake logs each request; keep the log from growing without end.
    if (library.calls.size() > 4096) {
      requests += library.calls.size();
      library.calls.clear();
    }
  }
  requests += library.calls.size();
  state.counters["requests_per_tick"] =
      benchmark::Counter(static_cast<double>(requests), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_IdleTick);

}  // namespace
}  // namespace linkscope
