// The profile store and profile application over a registry holding whatever the input says:
// values of any type and size under the profiles key, inside profiles, beside them, and in the
// adapter's driver key (which the simulated driver reads when it starts). The program lists,
// loads, finds, applies and compares every profile, starts for the first time (creating
// "Default"), then saves, renames and deletes with one or two registry calls failing; a change
// that fails, or succeeds, leaves every profile it does not name as it was, and whatever the
// input left beside the profiles (a change key of any content), the store answers again once
// the registry works.
//
// Input: byte 0 chooses the Windows layout, bytes 1 and 2 the registry calls that fail (0 for
// none), then values: where (1 byte), key name and value name (a length byte and the bytes
// each), type (1 byte), data length (2 bytes, at most 1024) and the data.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <map>
#include <string>
#include <vector>

#include "app/CLinkscopeApp.h"
#include "config/DriverParameters.h"
#include "config/ProfileApplication.h"
#include "config/ProfileStore.h"
#include "device/CAdapterLink.h"
#include "device/DeviceDescriptions.h"
#include "fakes/FakePcCardProbe.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeWindowSystem.h"
#include "fuzz/FuzzCheck.h"
#include "sim/SimHost.h"
#include "sim/SimInstaller.h"
#include "sim/SimRequestLibrary.h"
#include "support/StoredProfiles.h"
#include "text/Messages.h"

namespace linkscope {
namespace {

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool AtEnd() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::string Bytes(std::size_t n) {
    n = std::min(n, size_ - std::min(at_, size_));
    std::string s(reinterpret_cast<const char*>(data_ + at_), n);
    at_ += n;
    return s;
  }
  std::string Short() { return Bytes(Byte()); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

using Profiles = StoredProfiles;

bool SameName(std::string a, std::string b) {
  for (char& c : a) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  for (char& c : b) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return a == b;
}

struct Machine {
  explicit Machine(std::uint8_t layout) {
    static const struct {
      sim::SimOsFamily family;
      OsKind kind;
      OsVersion version;
    } kLayouts[] = {
        {sim::SimOsFamily::Win9x, OsKind::Win98Me, {4, 10, 1998, kPlatformWin9x, ""}},
        {sim::SimOsFamily::Nt4, OsKind::NT4, {4, 0, 1381, kPlatformNt, ""}},
        {sim::SimOsFamily::Nt5, OsKind::WinXP, {5, 1, 2600, kPlatformNt, ""}},
    };
    const auto& chosen = kLayouts[layout % 3];
    system.version = chosen.version;
    sim::SimAdapterSetup card;
    card.displayName = "ORVEX PCI Skyrelay";
    card.serviceName = "SKYPCI";
    card.cardType = 21;
    card.mac = {0x00, 0x60, 0x1D, 0x10, 0x20, 0x30};
    card.allSettingsSupported = (layout & 4) == 0;
    env.adapters.push_back(card);
    sim::SimNetwork harbour;
    harbour.ssid = "Harbour";
    harbour.channel = 1;
    harbour.bssid = {0x00, 0x40, 0x96, 0xA1, 0x00, 0x01};
    env.networks.push_back(harbour);
    std::string error;
    sim::InstallAdapters(registry, chosen.family, env, &error);
    host = std::make_unique<sim::SimHost>(system, registry, chosen.family);
    host->SetEnvironment(env);
    library = std::make_unique<sim::SimRequestLibrary>(*host);
    link = std::make_unique<CAdapterLink>(*library, system);
    link->SetOsKind(chosen.kind);
    link->Enumerate(DiscoveryContext{registry, probe}, BuiltInDeviceDescriptions());
    if (link->AdapterCount() > 0) link->SelectAdapter(0);
    link->BuildDriverKeyPath();
  }

  // The card pulled and plugged in again: its driver reads the driver key anew.
  void Replug() {
    link->ResetChannel();
    host->SetEnvironment(sim::SimEnvironment{});
    host->SetEnvironment(env);
  }

  sim::SimEnvironment env;
  FakeSystem system;
  FakeRegistry registry;
  FakePcCardProbe probe;
  std::unique_ptr<sim::SimHost> host;
  std::unique_ptr<sim::SimRequestLibrary> library;
  std::unique_ptr<CAdapterLink> link;
  std::size_t failedCloses = 0;
};

// Fails calls n and m (counted from 1; 0 fails none) of what runs until the hook is cleared.
// A key whose close failed stays open; those are counted, as no program can free them.
void FailCalls(Machine& machine, int n, int m) {
  int seen = 0;
  machine.registry.failHook = [n, m, seen, &machine](const char* operation) mutable {
    ++seen;
    if (seen != n && seen != m) return 0L;
    machine.failedCloses += std::string(operation) == "CloseKey";
    return kRegAccessDenied;
  };
}

// Runs a change with calls failing, then checks that the profiles it does not name are as
// they were.
void Change(Machine& m, ProfileStore& store, int n, int k,
            const std::vector<std::string>& named, const std::function<bool()>& run,
            const char* what) {
  const Profiles before = ObserveStoredProfiles(store);
  FailCalls(m, n, k);
  run();
  m.registry.failHook = nullptr;
  const Profiles after = ObserveStoredProfiles(store);
  for (const auto& entry : before) {
    bool involved = false;
    for (const std::string& name : named) involved = involved || SameName(name, entry.first);
    if (involved) continue;
    auto it = after.find(entry.first);
    FUZZ_CHECK(it != after.end() && it->second == entry.second, what);
  }
  FUZZ_CHECK(m.registry.OpenHandleCount() <= m.failedCloses,
             "every registry key is closed again");
}

}  // namespace
}  // namespace linkscope

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace linkscope;
  Reader in(data, size);
  Machine m(in.Byte());
  const int failAt = in.Byte();
  const int failAlso = in.Byte();

  const std::string profiles = ProfileStore::kProfilesKey;
  const std::string program = "Software\\ORVEX\\Linkscope";
  for (int values = 0; !in.AtEnd() && values < 64; ++values) {
    const std::uint8_t where = in.Byte();
    const std::string key = in.Short();
    const std::string name = in.Short();
    const std::uint32_t type = in.Byte();
    const std::size_t length = std::min<std::size_t>(in.Byte() | in.Byte() << 8, 1024);
    const std::string bytes = in.Bytes(length);
    const std::vector<std::uint8_t> value(bytes.begin(), bytes.end());
    switch (where % 4) {
      case 0: m.registry.WriteValue(kRegCurrentUser, profiles + "\\" + key, name, type, value); break;
      case 1: m.registry.WriteValue(kRegCurrentUser, profiles, name, type, value); break;
      case 2: m.registry.WriteValue(kRegCurrentUser, program + "\\" + key, name, type, value); break;
      default:
        if (!m.link->driverKeyPath.empty()) {
          m.registry.WriteValue(kRegLocalMachine, m.link->driverKeyPath, name, type, value);
        }
        break;
    }
  }
  m.Replug();

  FakeWindowSystem windows;
  DefaultTexts texts;
  Messages messages(windows, texts);
  ProfileStore store(m.registry, messages);
  DriverParameters parameters(m.registry, messages, *m.link);
  ProfileState state;
  ProfileApplication logic(*m.link, store, parameters, messages, m.system, state);

  // What every start and every page does with the stored profiles.
  const int count = store.Count();
  for (int i = 0; i < count && i < 40; ++i) {
    Profile p;
    store.NameAt(i);
    if (store.Load(i, &p)) logic.ApplyProfile(p.name);
  }
  state.currentName = store.ReadLastProfile();
  if (state.currentName.empty()) state.currentName = "Default";
  logic.MatchesAdapter();
  Profile captured;
  logic.CaptureCurrentSettings(&captured);
  Profile existing;
  if (!store.Find("Default", &existing)) store.Save(CLinkscopeApp::DefaultProfile(), false);
  FUZZ_CHECK(m.registry.OpenHandleCount() == 0, "every registry key is closed again");

  // Changes with calls failing.
  std::vector<std::string> names;
  store.Names(&names);
  const std::string first = names.empty() ? std::string("Default") : names.front();
  captured.name = "Fuzzed";
  Change(m, store, failAt, failAlso, {"Fuzzed"}, [&] { return store.Save(captured, false); },
         "saving a new profile changes no other");
  Profile over = captured;
  over.name = first;
  Change(m, store, failAt, failAlso, {first}, [&] { return store.Save(over, true); },
         "saving over a profile changes no other");
  Change(m, store, failAt, failAlso, {first, "Renamed"},
         [&] { return store.Rename(first, "Renamed"); }, "a rename changes no other profile");
  Change(m, store, failAt, failAlso, {"Fuzzed"}, [&] { return store.Delete("Fuzzed"); },
         "a delete changes no other profile");
  Change(m, store, failAt, failAlso, {"Default"},
         [&] { return logic.ApplyProfile("Default"); }, "applying a profile changes none");
  FUZZ_CHECK(store.Names(&names), "the store answers once the registry works");
  return 0;
}
