// Registry traffic of the profile store: how many registry calls a lookup, a listing and a
// switch of the active profile cost with 1, 10 and 99 stored profiles. The counts are exact
// (the fake registry counts every call); time per operation is reported beside them.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "config/ProfileStore.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeWindowSystem.h"

namespace linkscope {
namespace {

struct Fixture {
  explicit Fixture(int profiles) : messages(windows, texts), store(registry, messages) {
    for (int i = 0; i < profiles; ++i) {
      Profile p;
      p.name = "Profile " + std::to_string(i);
      p.keys = {"7E3D91C0A5", "7E3D91C0A5", "7E3D91C0A5", "7E3D91C0A5"};
      store.Save(p, false);
    }
    last = "profile " + std::to_string(profiles - 1);
  }
  FakeRegistry registry;
  FakeWindowSystem windows;
  DefaultTexts texts;
  Messages messages;
  ProfileStore store;
  std::string last;
};

void Report(benchmark::State& state, int before, const Fixture& f) {
  state.counters["registry_calls"] =
      benchmark::Counter(static_cast<double>(f.registry.calls - before),
                         benchmark::Counter::kAvgIterations);
}

// Finding the last profile by name, in another letter case.
void BM_Find(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  const int before = f.registry.calls;
  for (auto _ : state) {
    Profile p;
    benchmark::DoNotOptimize(f.store.Find(f.last, &p));
  }
  Report(state, before, f);
}

// Listing every name, as the dialog's profile selector and the tray menu do.
void BM_ListByIndex(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  const int before = f.registry.calls;
  for (auto _ : state) {
    const int count = f.store.Count();
    for (int i = 0; i < count; ++i) benchmark::DoNotOptimize(f.store.NameAt(i));
  }
  Report(state, before, f);
}

void BM_ListInOnePass(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  const int before = f.registry.calls;
  for (auto _ : state) {
    std::vector<std::string> names;
    benchmark::DoNotOptimize(f.store.Names(&names));
  }
  Report(state, before, f);
}

// The store's share of a switch: find the profile, remember it as the last one.
void BM_Switch(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  const int before = f.registry.calls;
  for (auto _ : state) {
    Profile p;
    benchmark::DoNotOptimize(f.store.Find(f.last, &p));
    benchmark::DoNotOptimize(f.store.WriteLastProfile(f.last));
  }
  Report(state, before, f);
}

BENCHMARK(BM_Find)->Arg(1)->Arg(10)->Arg(99);
BENCHMARK(BM_ListByIndex)->Arg(1)->Arg(10)->Arg(99);
BENCHMARK(BM_ListInOnePass)->Arg(1)->Arg(10)->Arg(99);
BENCHMARK(BM_Switch)->Arg(1)->Arg(10)->Arg(99);

}  // namespace
}  // namespace linkscope

BENCHMARK_MAIN();
