// The cost of an idle polling tick (adapter selected, nothing changing) in the program's own
// code: the request library is a scripted fake that answers at once, so the simulated driver's
// work is not counted. Counted beside the time: the requests and the tray icon's shell calls
// of one tick, on a link (argument 1) and while the card scans (0).

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
  const bool linked = state.range(0) != 0;
  DeviceConfig config;
  config.state = linked ? 5 : 1;
  config.operatingMode = 1;
  config.SetSsid("Harbour");
  config.signal = 60;
  config.linkQuality = 70;
  const auto raw = config.Encode();
  library.Answer(OID_PRIV_CONFIGURATION, std::vector<std::uint8_t>(raw.begin(), raw.end()));
  library.Answer(OID_PRIV_DEVICE_STATE, {config.state});
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
  windows.FireTimer(frame, CMainFrame::kPollTimerId);  // the tooltip with the link
  library.calls.clear();
  const std::size_t shellCallsBefore = windows.trayCalls.size();
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
  state.counters["shell_calls_per_tick"] = benchmark::Counter(
      static_cast<double>(windows.trayCalls.size() - shellCallsBefore),
      benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_IdleTick)->ArgName("linked")->Arg(1)->Arg(0);

}  // namespace
}  // namespace linkscope
