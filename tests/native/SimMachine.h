#pragma once
// A whole simulated machine for native tests: a Windows version, a registry with the adapters
// installed in that version's layout, the request library over the simulated drivers, the
// PC-card service and the program's request channel, all on virtual time.

#include <memory>
#include <string>
#include <vector>

#include "device/OsKind.h"
#include "device/CAdapterLink.h"
#include "device/DeviceDescriptions.h"
#include "device/WindowsConfiguration.h"
#include "fakes/FakePcCardProbe.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"
#include "sim/SimHost.h"
#include "sim/SimInstaller.h"
#include "sim/SimRequestLibrary.h"

namespace linkscope::testing {

inline OsVersion VersionOf(OsKind kind) {
  switch (kind) {
    case OsKind::Win95: return {4, 0, 950, kPlatformWin9x, ""};
    case OsKind::Win98Me: return {4, 10, 1998, kPlatformWin9x, ""};
    case OsKind::NT4: return {4, 0, 1381, kPlatformNt, ""};
    case OsKind::Win2000: return {5, 0, 2195, kPlatformNt, ""};
    case OsKind::WinXP: return {5, 1, 2600, kPlatformNt, ""};
    case OsKind::OtherNt: break;
  }
  return {6, 1, 7601, kPlatformNt, ""};
}

inline sim::SimAdapterSetup Adapter(const std::string& display, const std::string& service,
                                   std::uint8_t cardType, const std::string& hardwareId = "") {
  sim::SimAdapterSetup a;
  a.displayName = display;
  a.serviceName = service;
  a.cardType = cardType;
  a.hardwareId = hardwareId;
  a.mac = {0x00, 0x60, 0x1D, 0x10, 0x20, static_cast<std::uint8_t>(service.size() * 7 + cardType)};
  return a;
}

struct SimMachine {
  explicit SimMachine(OsKind kind, const sim::SimEnvironment& environment = {})
      : osKind(kind) {
    system.version = VersionOf(kind);
    sim::FamilyOfVersion(system.version, &family);
    env = environment;
    std::string error;
    installed = sim::InstallAdapters(registry, family, env, &error);
    // On XP the wireless configuration service keeps a key for every interface it has seen;
    // here it leaves each card to the program (the service is not running and the bit that
    // would hand the card to Windows is clear).
    if (kind == OsKind::WinXP) {
      for (const sim::SimAdapterSetup& adapter : env.adapters) {
        registry.WriteValue(kRegLocalMachine, kWzcInterfacesKey + adapter.InstanceId(),
                            kWzcControlFlagsValue, kRegDword, {0, 0, 0, 0});
      }
    }
    host = std::make_unique<sim::SimHost>(system, registry, family);
    host->SetEnvironment(env);
    library = std::make_unique<sim::SimRequestLibrary>(*host);
    link = std::make_unique<CAdapterLink>(*library, system);
    link->SetOsKind(kind);
  }

  // Display names of the adapters discovery accepts.
  std::vector<std::string> Enumerate(
      const std::vector<std::string>& descriptions = BuiltInDeviceDescriptions()) {
    DiscoveryContext context{registry, probe};
    link->Enumerate(context, descriptions);
    std::vector<std::string> names;
    for (const auto& entry : link->Adapters()) names.push_back(entry->DisplayName());
    return names;
  }

  OsKind osKind;
  sim::SimOsFamily family = sim::SimOsFamily::Nt5;
  sim::SimEnvironment env;
  bool installed = false;
  FakeSystem system;
  FakeRegistry registry;
  FakePcCardProbe probe;
  std::unique_ptr<sim::SimHost> host;
  std::unique_ptr<sim::SimRequestLibrary> library;
  std::unique_ptr<CAdapterLink> link;
};

}  // namespace linkscope::testing
