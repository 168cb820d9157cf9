#pragma once
// The whole program on fakes, with one scripted adapter of the family: a start, ticks of the
// polling timer, and what the tray shows.

#include <gtest/gtest.h>

#include "app/CLinkscopeApp.h"
#include "device/Oids.h"
#include "fakes/FakePcCardProbe.h"
#include "fakes/FakeDialogSystem.h"
#include "fakes/FakePrivateProfile.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeRequestLibrary.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeWindowSystem.h"

namespace linkscope::testing {

class ScriptedApp : public ::testing::Test {
 protected:
  ScriptedApp() {
    library.ScriptAdapter(registry, "ORVEX PCI Skyrelay", "SKYPCI", 2);
    library.Answer(OID_GEN_MEDIA_CONNECT_STATUS, {1, 0, 0, 0});
    library.Answer(OID_PRIV_REG_DOMAIN, {0x30});
    system.version = OsVersion{5, 0, 2195, kPlatformNt, ""};
  }
  void Start() {
    ASSERT_TRUE(app.InitInstance());
    frame = app.MainFrame()->Window();
  }
  void Tick() { windows.FireTimer(frame, CMainFrame::kPollTimerId); }
  // How many message boxes said exactly this; other pages report their own failures beside.
  std::size_t MessagesSaying(const std::string& text) const {
    std::size_t n = 0;
    for (const auto& message : windows.messages) n += message.text == text;
    return n;
  }
  IconHandle ShownIcon() {
    auto it = windows.tray.find({frame, TrayIcon::kIconId});
    return it == windows.tray.end() ? 0 : it->second.icon;
  }

  FakeRegistry registry;
  FakePrivateProfile profile;
  FakeSystem system;
  FakeWindowSystem windows;
  FakeRequestLibrary library;
  FakePcCardProbe probe;
  FakeDialogSystem dialogs;
  Platform platform{registry, profile, system, windows, library, probe, dialogs};
  CLinkscopeApp app{platform};
  WindowHandle frame = 0;
};

}  // namespace linkscope::testing
