#pragma once
// The whole program on a simulated machine with the settings dialog open on one page: the
// test runs inside the dialog's modal loop and reaches the page through the fake dialog items.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/CLinkscopeApp.h"
#include "fakes/FakeDialogSystem.h"
#include "fakes/FakePrivateProfile.h"
#include "fakes/FakeWindowSystem.h"
#include "fakes/ForwardingRequestLibrary.h"
#include "native/SimMachine.h"
#include "ui/DialogLayouts.h"

namespace linkscope::testing {

class PageOnSimMachine {
 public:
  PageOnSimMachine(OsKind kind, const sim::SimEnvironment& env)
      : machine(kind, env), watching(*machine.library) {
    watching.onRequest = [this](const RequestBlock& r) {
      const auto* bytes = static_cast<const std::uint8_t*>(r.buffer);
      Request copy{r.requestType, r.oid, {}};
      if (bytes != nullptr) copy.data.assign(bytes, bytes + r.bufferLength);
      requests.push_back(copy);
    };
  }

  // Starts the program and lets it find and select the adapter.
  void Start() {
    ASSERT_TRUE(app.InitInstance());
    frame = app.MainFrame()->Window();
    Tick();
    Tick();
    ASSERT_EQ(1u, app.Link().AdapterCount());
  }
  void Tick() { windows.FireTimer(frame, CMainFrame::kPollTimerId); }
  void Wait(std::uint32_t ms) { machine.system.Sleep(ms); }
  void Change(const std::function<void(sim::SimEnvironment&)>& edit) {
    edit(machine.env);
    machine.host->SetEnvironment(machine.env);
  }

  // Opens the dialog from the tray, picks tab `tab` and runs `inside` with the page shown.
  void OnPage(int tab, const std::function<void(WindowHandle page, FakeDialogItems&)>& inside) {
    bool ran = false;
    dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
      dialogWindow = dialog;
      dialogs.ChooseTab(dialog, kIdTabControl, tab);
      const WindowHandle page = CurrentPage();
      ASSERT_NE(0u, page);
      ran = true;
      inside(page, *dialogs.Items(page));
      if (dialogs.Exists(dialog)) dialogs.PressEscape(dialog);
    };
    windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1,
                           kMouseLeftDoubleClick);
    dialogs.modalLoop = nullptr;
    EXPECT_TRUE(ran);
  }

  WindowHandle CurrentPage() {
    const auto pages = dialogs.Pages();
    return pages.empty() ? 0 : pages.back();
  }
  int PageResource() {
    const WindowHandle page = CurrentPage();
    return page == 0 ? 0 : dialogs.ResourceOf(page);
  }
  FakeDialogItems& DialogItems() { return *dialogs.Items(dialogWindow); }

  // The texts of the message boxes shown since the last call.
  std::vector<std::string> TakeMessages() {
    std::vector<std::string> texts;
    for (const auto& m : windows.messages) texts.push_back(m.text);
    windows.messages.clear();
    return texts;
  }

  // The set requests of one OID since the last clear.
  std::vector<std::vector<std::uint8_t>> SetsOf(std::uint32_t oid) const {
    std::vector<std::vector<std::uint8_t>> sets;
    for (const Request& r : requests) {
      if (r.type == kRequestSet && r.oid == oid) sets.push_back(r.data);
    }
    return sets;
  }

  // A value of the adapter's driver key as its type and bytes; false when it is missing.
  bool DriverValue(const std::string& name, std::uint32_t* type, std::string* bytes,
                   const std::string& below = "") {
    app.Link().BuildDriverKeyPath();
    std::vector<std::uint8_t> data;
    if (!machine.registry.ReadValue(kRegLocalMachine, app.Link().driverKeyPath + below, name, type,
                                    &data)) {
      return false;
    }
    bytes->assign(data.begin(), data.end());
    return true;
  }
  std::string DriverText(const std::string& name) {
    std::uint32_t type = 0;
    std::string bytes;
    return DriverValue(name, &type, &bytes) ? bytes : "<missing>";
  }

  struct Request {
    std::uint32_t type;
    std::uint32_t oid;
    std::vector<std::uint8_t> data;  // what a set request carried
  };

  SimMachine machine;
  ForwardingRequestLibrary watching;
  std::vector<Request> requests;
  FakePrivateProfile profile;
  FakeWindowSystem windows;
  FakeDialogSystem dialogs;
  Platform platform{machine.registry, profile,  machine.system, windows,
                    watching,         machine.probe, dialogs};
  CLinkscopeApp app{platform};
  WindowHandle frame = 0;
  WindowHandle dialogWindow = 0;
};

}  // namespace linkscope::testing
