// The simulated environment file: any text is either refused with a line and a reason, or
// taken whole; an environment that is taken installs, and its drivers answer every request
// the program makes (a survey included) without a crash, also after the cards were pulled and
// plugged in again.

#include <cstdint>
#include <string>
#include <vector>

#include "device/CAdapterLink.h"
#include "device/DeviceDescriptions.h"
#include "device/Oids.h"
#include "fakes/FakePcCardProbe.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"
#include "fuzz/FuzzCheck.h"
#include "sim/EnvironmentFile.h"
#include "sim/SimHost.h"
#include "sim/SimInstaller.h"
#include "sim/SimRequestLibrary.h"

namespace linkscope {
namespace {

struct Request {
  std::uint32_t oid;
  std::uint32_t length;
};

// The queries of the polling tick and of every page, with the buffer each passes.
const Request kQueries[] = {
    {OID_PRIV_CONFIGURATION, 55}, {OID_PRIV_DEVICE_STATE, 1},   {OID_PRIV_WEP, 57},
    {OID_PRIV_INTL_ROAMING, 1},   {OID_PRIV_ROAMING_CHANNELS, 14}, {OID_PRIV_RADIO, 1},
    {OID_PRIV_ALL_SETTINGS, 127}, {OID_PRIV_CARD_TYPE, 1},      {OID_PRIV_VERSION, 13},
    {OID_PRIV_STATISTICS, 48},    {OID_PRIV_REG_DOMAIN, 1},     {OID_GEN_MEDIA_CONNECT_STATUS, 4},
    {OID_802_3_CURRENT_ADDRESS, 6},
};

void UseEveryAdapter(sim::SimHost& host, FakeRegistry& registry, FakeSystem& system,
                     OsKind kind) {
  sim::SimRequestLibrary library(host);
  CAdapterLink link(library, system);
  link.SetOsKind(kind);
  FakePcCardProbe probe;
  link.Enumerate(DiscoveryContext{registry, probe}, BuiltInDeviceDescriptions());
  for (std::uint32_t i = 0; i < link.AdapterCount(); ++i) {
    if (!link.SelectAdapter(i)) continue;
    const AdapterEntry* adapter = link.CurrentAdapter();
    std::vector<std::uint8_t> buffer(2048);
    std::uint32_t written = 0;
    for (const Request& q : kQueries) {
      if (link.Query(adapter, q.oid, buffer.data(), q.length, &written)) {
        FUZZ_CHECK(written <= q.length, "a driver writes no more than the buffer holds");
      }
    }
    // Settings go back as read, then a survey runs its three seconds and one entry is joined.
    if (link.Query(adapter, OID_PRIV_CONFIGURATION, buffer.data(), 55, &written)) {
      link.Set(adapter, OID_PRIV_CONFIGURATION, buffer.data(), 55);
    }
    link.Query(adapter, OID_PRIV_SURVEY_START, nullptr, 0, &written);
    system.Sleep(3100);
    link.Query(adapter, OID_PRIV_SURVEY_STATE, buffer.data(), 1, &written);
    if (link.Query(adapter, OID_PRIV_SURVEY_LIST, buffer.data(), 1380, &written)) {
      FUZZ_CHECK(written <= 1380, "a survey list fits its buffer");
    }
    const std::uint8_t first[4] = {0, 0, 0, 0};
    link.Set(adapter, OID_PRIV_SELECT_BSS, first, 4);
    system.Sleep(5000);
    link.Query(adapter, OID_PRIV_CONFIGURATION, buffer.data(), 55, &written);
    link.Query(adapter, OID_PRIV_STATISTICS, buffer.data(), 48, &written);
  }
  link.ResetChannel();
}

}  // namespace
}  // namespace linkscope

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace linkscope;
  const std::string text(reinterpret_cast<const char*>(data), size);
  sim::SimEnvironment environment;
  sim::EnvironmentError error;
  if (!sim::ParseEnvironment(text, &environment, &error)) {
    FUZZ_CHECK(!error.Describe().empty(), "a refused file says why");
    FUZZ_CHECK(environment.adapters.empty() && environment.networks.empty(),
               "a refused file changes nothing");
    return 0;
  }
  // One Windows family per input, chosen by its size, so that every layout gets its share.
  static const struct {
    sim::SimOsFamily family;
    OsKind kind;
    OsVersion version;
  } kFamilies[] = {
      {sim::SimOsFamily::Win9x, OsKind::Win98Me, {4, 10, 1998, kPlatformWin9x, ""}},
      {sim::SimOsFamily::Nt4, OsKind::NT4, {4, 0, 1381, kPlatformNt, ""}},
      {sim::SimOsFamily::Nt5, OsKind::WinXP, {5, 1, 2600, kPlatformNt, ""}},
  };
  const auto& family = kFamilies[size % 3];
  FakeRegistry registry;
  FakeSystem system;
  system.version = family.version;
  std::string installError;
  if (!sim::InstallAdapters(registry, family.family, environment, &installError)) return 0;
  sim::SimHost host(system, registry, family.family);
  host.SetEnvironment(environment);
  UseEveryAdapter(host, registry, system, family.kind);
  // Every card pulled, then plugged in again: the drivers start anew from their registry keys.
  host.SetEnvironment(sim::SimEnvironment{});
  UseEveryAdapter(host, registry, system, family.kind);
  host.SetEnvironment(environment);
  UseEveryAdapter(host, registry, system, family.kind);
  FUZZ_CHECK(host.OpenHandleCount() == 0, "every adapter handle is closed again");
  FUZZ_CHECK(registry.OpenHandleCount() == 0, "every registry key is closed again");
  return 0;
}
