// Applies a profile to the first adapter discovery finds, through the real registry and
// W32N50.dll, as the program does when the user switches profiles ("apply"), or writes the
// profile's settings into the driver parameters alone ("write", for settings the adapter would
// refuse); writes the adapter's driver key path to the file named on its command line.
// Messages go to standard output instead of message boxes. Exit code 0 on success.
// "read" instead writes what the adapter reports: its RTS threshold and SSID; "join" waits
// (up to 30 s) for the freshly started driver to associate or to fail, and writes its state and,
// for a management error, the 802.11 status code ("state=5", "state=241 status=15").
//   profileprobe apply|write|read OUTFILE CHANNEL LEVEL

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/CLinkscopeApp.h"
#include "device/OsKind.h"
#include "config/DriverParameters.h"
#include "config/ProfileApplication.h"
#include "config/ProfileStore.h"
#include "device/CAdapterLink.h"
#include "device/DeviceDescriptions.h"
#include "device/RecordQuery.h"
#include "win32/Win32PcCardProbe.h"
#include "win32/Win32Registry.h"
#include "win32/Win32RequestLibrary.h"
#include "win32/Win32System.h"
#include "win32/Win32WindowSystem.h"

namespace {
class PrintingWindows : public linkscope::Win32WindowSystem {
 public:
  PrintingWindows() : Win32WindowSystem(GetModuleHandleA(nullptr)) {}
  int ShowMessage(linkscope::WindowHandle, const std::string& text, const std::string&,
                  std::uint32_t) override {
    std::fputs(("message: " + text + "\n").c_str(), stdout);
    return linkscope::kIdOk;
  }
};
}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return 2;
  const std::string mode = argv[1];
  argv += 1;
  linkscope::Win32System system;
  linkscope::Win32Registry registry;
  linkscope::Win32RequestLibrary library;
  linkscope::Win32PcCardProbe probe;
  PrintingWindows windows;
  linkscope::DefaultTexts texts;
  linkscope::Messages messages(windows, texts);
  linkscope::OsVersion version;
  linkscope::OsKind kind = linkscope::OsKind::OtherNt;
  if (!system.GetVersion(&version) || !linkscope::ClassifyOs(version, &kind)) return 3;

  linkscope::CAdapterLink link(library, system);
  link.SetOsKind(kind);
  link.Enumerate(linkscope::DiscoveryContext{registry, probe},
                 linkscope::BuiltInDeviceDescriptions());
  if (!link.SelectAdapter(0)) return 4;

  if (mode == "read") {
    linkscope::DeviceConfig config;
    if (!linkscope::QueryDeviceConfig(link, link.CurrentAdapter(), &config)) return 8;
    FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) return 7;
    std::fprintf(out, "rts=%u ssid=", static_cast<unsigned>(config.rtsThreshold));
    std::fputs(config.SsidBytes().c_str(), out);
    std::fclose(out);
    return 0;
  }

  if (mode == "join") {
    linkscope::DeviceConfig config;
    const DWORD start = GetTickCount();
    bool settled = false;
    while (!settled && GetTickCount() - start < 30000) {
      settled = linkscope::QueryDeviceConfig(link, link.CurrentAdapter(), &config) &&
                (config.state == 5 || config.state == 241);
      if (!settled) Sleep(100);
    }
    FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) return 7;
    std::fprintf(out, "state=%u", static_cast<unsigned>(config.state));
    if (config.state == 241) {
      std::fprintf(out, " status=%u", static_cast<unsigned>(config.managementStatus));
    }
    std::fclose(out);
    return settled ? 0 : 9;
  }
  linkscope::ProfileStore store(registry, messages);
  linkscope::DriverParameters parameters(registry, messages, link);
  linkscope::ProfileState state;
  linkscope::ProfileApplication logic(link, store, parameters, messages, system, state);
  linkscope::Profile p = linkscope::CLinkscopeApp::DefaultProfile();
  p.name = "Probe";
  p.ssid = "Harbour";
  p.channel = std::atoi(argv[2]);
  p.rate = 3;
  p.rts = 500;
  p.enc = std::atoi(argv[3]);
  p.auth = 0;
  p.keys = {"ABABABABAB", "ABABABABAB", "ABABABABAB", "ABABABABAB"};
  if (!store.Save(p, false)) return 5;
  bool applied = true;
  if (mode == "apply") {
    applied = logic.ApplyProfile("Probe");
  } else {
    const linkscope::AllSettings settings = linkscope::SettingsOfProfile(p);
    linkscope::WepConfig wep;
    linkscope::WepConfig::Decode(settings.wep.data(), settings.wep.size(), &wep);
    if (!parameters.WriteAll(settings.config, wep, settings.radio, settings.intlRoaming, p.keys)) {
      std::fputs("message: driver key not open\n", stdout);
    }
  }
  store.Delete("Probe");
  if (!applied) return 6;

  // Where the key would be: the probe reports it even where nothing may be written there.
  if (kind == linkscope::OsKind::OtherNt) link.SetOsKind(linkscope::OsKind::Win2000);
  link.BuildDriverKeyPath();
  FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) return 7;
  std::fputs(link.driverKeyPath.c_str(), out);
  std::fclose(out);
  return 0;
}
