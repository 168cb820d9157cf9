#pragma once
// The whole program on a simulated machine, with the settings dialog opened from the tray:
// pages are used through the fake dialog items while the polling tick runs on virtual time.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/CLinkscopeApp.h"
#include "fakes/FakeDialogSystem.h"
#include "fakes/FakePrivateProfile.h"
#include "fakes/FakeWindowSystem.h"
#include "fakes/ForwardingRequestLibrary.h"
#include "native/SimMachine.h"
#include "ui/DialogLayouts.h"

namespace linkscope::testing {

// A PC card near two open access points, "Harbour" (channel 1) and "Lighthouse" (channel 6),
// configured for Harbour.
inline sim::SimEnvironment CardNearTwoNetworks(std::uint8_t cardType = 12) {
  sim::SimEnvironment env;
  sim::SimAdapterSetup card = Adapter("ORVEX PCMCIA Skyrelay (K1)", "SKYK1", cardType);
  card.parameters["ESSID"] = "Harbour";
  env.adapters.push_back(card);
  sim::SimNetwork harbour;
  harbour.ssid = "Harbour";
  harbour.channel = 1;
  harbour.signal = 80;
  harbour.bssid = {0x00, 0x40, 0x96, 0xA1, 0x00, 0x01};
  env.networks.push_back(harbour);
  sim::SimNetwork lighthouse;
  lighthouse.ssid = "Lighthouse";
  lighthouse.channel = 6;
  lighthouse.signal = 64;
  lighthouse.bssid = {0x00, 0x40, 0x96, 0xB2, 0x00, 0x01};
  env.networks.push_back(lighthouse);
  return env;
}

struct DialogOnSimMachine {
  DialogOnSimMachine(OsKind kind, const sim::SimEnvironment& env)
      : machine(kind, env), counting(*machine.library) {
    counting.onRequest = [this](const RequestBlock& r) { oids.push_back(r.oid); };
  }

  // Starts the program and lets its first ticks find and select the adapter.
  void Start() {
    ASSERT_TRUE(app.InitInstance());
    frame = app.MainFrame()->Window();
    Tick();
    Tick();
    ASSERT_NE(nullptr, app.Link().CurrentAdapter());
  }
  void Tick() { windows.FireTimer(frame, CMainFrame::kPollTimerId); }
  // Virtual time passes, then the polling timer fires.
  void After(std::uint32_t ms) {
    machine.system.Sleep(ms);
    Tick();
  }
  // Opens the dialog by a double-click on the icon (or by About, on the Info tab) and runs
  // `inside` in its modal loop.
  void InDialog(const std::function<void(WindowHandle dialog)>& inside, bool about = false) {
    bool ran = false;
    dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
      ran = true;
      inside(dialog);
    };
    if (about) {
      app.MainFrame()->OnCommand(CMainFrame::kCmdAbout);
    } else {
      windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1,
                             kMouseLeftDoubleClick);
    }
    dialogs.modalLoop = nullptr;
    EXPECT_TRUE(ran);
  }
  WindowHandle PageWindow() const { return dialogs.Pages().back(); }
  FakeDialogItems& Page() { return *dialogs.Items(PageWindow()); }
  int PageResource() const { return dialogs.ResourceOf(PageWindow()); }
  // Ticks 100 ms apart until the Status page's line reads `text`, for at most a minute of
  // virtual time; every text the line showed meanwhile is kept in `seen`.
  bool WaitForStatus(const std::string& text, int statusLineId = 1003) {
    for (int i = 0; i < 600; ++i) {
      const std::string now = Page().Text(statusLineId);
      if (seen.empty() || seen.back() != now) seen.push_back(now);
      if (now == text) return true;
      After(100);
    }
    return false;
  }
  sim::SimMiniport& Card() { return *machine.host->Miniport(machine.env.adapters[0].serviceName); }
  // A value of the adapter's driver key: text as stored, a DWORD in decimal, or "<missing>".
  std::string DriverValue(const std::string& name) {
    app.Link().BuildDriverKeyPath();
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (!machine.registry.ReadValue(kRegLocalMachine, app.Link().driverKeyPath, name, &type,
                                    &data)) {
      return "<missing>";
    }
    if (type == kRegDword && data.size() == 4) {
      return "dword:" + std::to_string(data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24);
    }
    return std::string(data.begin(), data.end());
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : windows.messages) texts.push_back(m.text);
    return texts;
  }

  SimMachine machine;
  ForwardingRequestLibrary counting;
  std::vector<std::uint32_t> oids;
  std::vector<std::string> seen;
  FakePrivateProfile profile;
  FakeWindowSystem windows;
  FakeDialogSystem dialogs;
  Platform platform{machine.registry, profile, machine.system, windows, counting, machine.probe,
                    dialogs};
  CLinkscopeApp app{platform};
  WindowHandle frame = 0;
};

}  // namespace linkscope::testing
