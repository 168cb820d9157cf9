// The tray icon's mouse messages, the popup menu and its commands, the options and the close
// flow, on the whole program with a scripted adapter.

#include <gtest/gtest.h>

#include "native/ScriptedApp.h"

namespace linkscope::testing {
namespace {

const char* kTwoLanguages =
    "[Languages]\r\nLanguage-1=English\r\nLanguage-2=Deutsch\r\nDeutsch=1\r\n"
    "[English]\r\nToolTipText=Link\r\n"
    "[Deutsch]\r\nToolTipText=Funk\r\nTaskBarMenuExit=Beenden\r\n";

class TrayMenu : public ScriptedApp {
 protected:
  void StartWithAdapter() {
    Start();
    Tick();
    Tick();
    ASSERT_EQ(1u, app.Link().AdapterCount());
  }
  void RightClick() {
    windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1, kMouseRightUp);
  }
  void Choose(std::uint32_t id) {
    windows.menuChoice = [id](const std::vector<MenuItem>&) { return id; };
    RightClick();
    windows.menuChoice = nullptr;
  }
  const std::vector<MenuItem>& LastMenu() { return windows.menus.back().items; }
  std::vector<std::uint8_t> Option(const char* name) {
    std::vector<std::uint8_t> data;
    registry.ReadValue(kRegCurrentUser, CMainFrame::kSettingsKey, name, nullptr, &data);
    return data;
  }
};

TEST_F(TrayMenu, MenuListsLanguagesProfilesAndCommandsInOrder) {
  profile.SetFile(".\\res\\Wlan.ini", kTwoLanguages);
  StartWithAdapter();
  windows.cursorX = 900;
  windows.cursorY = 740;
  RightClick();
  ASSERT_EQ(1u, windows.menus.size());
  EXPECT_EQ(900, windows.menus[0].x);
  EXPECT_EQ(740, windows.menus[0].y);
  const std::vector<MenuItem>& menu = LastMenu();
  ASSERT_EQ(10u, menu.size());
  EXPECT_EQ("Language", menu[0].text);
  ASSERT_EQ(2u, menu[0].submenu.size());
  EXPECT_EQ(2005u, menu[0].submenu[0].id);
  EXPECT_TRUE(menu[0].submenu[0].checked);
  EXPECT_EQ("Deutsch", menu[0].submenu[1].text);
  EXPECT_EQ("Active Profile", menu[1].text);
  ASSERT_EQ(1u, menu[1].submenu.size());  // start-up made "Default"
  EXPECT_EQ(2027u, menu[1].submenu[0].id);
  EXPECT_EQ("Default", menu[1].submenu[0].text);
  EXPECT_TRUE(menu[1].submenu[0].checked);
  EXPECT_TRUE(menu[2].separator);
  EXPECT_EQ(2003u, menu[3].id);
  EXPECT_TRUE(menu[3].checked);  // always on top by default
  EXPECT_EQ(2001u, menu[4].id);
  EXPECT_EQ("Notifications", menu[4].text);
  EXPECT_TRUE(menu[4].checked);  // balloons by default
  EXPECT_TRUE(menu[5].separator);
  EXPECT_EQ((std::vector<std::uint32_t>{2000, 2004, 2002, 2025}),
            (std::vector<std::uint32_t>{menu[6].id, menu[7].id, menu[8].id, menu[9].id}));
  // The menu watch runs while the menu is open.
  EXPECT_EQ(1u, windows.timers.count({frame, CMainFrame::kMenuWatchTimerId}));
}

TEST_F(TrayMenu, OneLanguageNoLanguageItemAndNoProfilesAnEmptySubmenu) {
  StartWithAdapter();
  registry.DeleteTree(kRegCurrentUser, ProfileStore::kProfilesKey);
  RightClick();
  const std::vector<MenuItem>& menu = LastMenu();
  EXPECT_EQ("Active Profile", menu[0].text);
  EXPECT_TRUE(menu[0].submenu.empty());
}

TEST_F(TrayMenu, AMenuIsNeverOpenedTwice) {
  StartWithAdapter();
  int nested = 0;
  windows.menuChoice = [&](const std::vector<MenuItem>&) {
    if (nested++ == 0) RightClick();  // a second right-click while the menu is tracked
    return 0u;
  };
  RightClick();
  EXPECT_EQ(1u, windows.menus.size());
  EXPECT_FALSE(app.MainFrame()->MenuOpen());
}

TEST_F(TrayMenu, LanguageChangeStoresTheOptionsAndReloadsTextsOnTheNextTick) {
  profile.SetFile(".\\res\\Wlan.ini", kTwoLanguages);
  StartWithAdapter();
  Choose(CMainFrame::kCmdAlwaysOnTop);
  Choose(CMainFrame::kCmdNotifications);
  EXPECT_FALSE(app.MainFrame()->AlwaysOnTop());
  EXPECT_FALSE(app.MainFrame()->Notifications());
  ASSERT_FALSE(windows.topmostCalls.empty());
  EXPECT_FALSE(windows.topmostCalls.back().second);
  EXPECT_TRUE(Option("AlwaysOnTop").empty()) << "not stored at the toggle";
  EXPECT_TRUE(Option("Notifications").empty());

  Choose(2006);  // Deutsch
  EXPECT_EQ("Deutsch", app.Language().CurrentLanguage());
  EXPECT_EQ((std::vector<std::uint8_t>{'D', 'e', 'u', 't', 's', 'c', 'h'}), Option("Language"));
  EXPECT_EQ((std::vector<std::uint8_t>{0, 0, 0, 0}), Option("AlwaysOnTop"));
  EXPECT_EQ((std::vector<std::uint8_t>{0, 0, 0, 0}), Option("Notifications"));
  EXPECT_EQ("Link", app.MainFrame()->ToolTipText());
  Tick();
  EXPECT_EQ("Funk", app.MainFrame()->ToolTipText());
  RightClick();
  EXPECT_EQ("Beenden", LastMenu().back().text);
}

// A later start reads the new language and looks for its title: the running program must
// carry it, or a second program with a second icon would start beside it.
TEST_F(TrayMenu, TheMainWindowsTitleFollowsTheLanguage) {
  profile.SetFile(".\\res\\Wlan.ini", std::string(kTwoLanguages) +
                                          "DlgTitle=Linkscope-Dienstprogramm\r\n");
  StartWithAdapter();
  EXPECT_EQ("Linkscope Utility", windows.TitleOf(frame));
  Choose(2006);  // Deutsch
  EXPECT_EQ("Linkscope-Dienstprogramm", windows.TitleOf(frame));
  CLinkscopeApp second(platform);
  EXPECT_FALSE(second.InitInstance());
  EXPECT_EQ(1u, system.beeps.size());
}

TEST_F(TrayMenu, ChoosingAProfileAppliesIt) {
  StartWithAdapter();
  Profile office = CLinkscopeApp::DefaultProfile();
  office.name = "Office";
  office.channel = 3;
  ASSERT_TRUE(app.Profiles().Save(office, false));
  RightClick();
  const std::vector<MenuItem>& profiles = LastMenu()[0].submenu;
  ASSERT_EQ(2u, profiles.size());
  const std::uint32_t id = profiles[0].text == "Office" ? profiles[0].id : profiles[1].id;
  library.calls.clear();
  Choose(id);
  EXPECT_EQ("Office", app.CurrentProfile().currentName);
  EXPECT_EQ("Office", app.Profiles().ReadLastProfile());
  ASSERT_FALSE(library.calls.empty());
  EXPECT_EQ(OID_PRIV_ALL_SETTINGS, library.calls.back().oid);
  // The session ends while the menu is up: the closed program drops the choice.
  const std::size_t shown = windows.messages.size();
  windows.menuChoice = [&](const std::vector<MenuItem>&) {
    windows.QueryEndSession(frame);
    return id;
  };
  RightClick();
  EXPECT_EQ(shown, windows.messages.size());
}

TEST_F(TrayMenu, ExitAsksToSaveAChangedProfileWithNoAsTheDefault) {
  StartWithAdapter();
  app.CurrentProfile().currentName = "Default";
  app.CurrentProfile().inSync = false;
  // The adapter's settings as the capture will read them.
  DeviceConfig config;
  config.SetSsid("Changed");
  config.channel = 9;
  const auto raw = config.Encode();
  library.Answer(OID_PRIV_CONFIGURATION, std::vector<std::uint8_t>(raw.begin(), raw.end()));
  library.Answer(OID_PRIV_WEP, std::vector<std::uint8_t>(57, 0));
  windows.answer = [](const FakeWindowSystem::Message& m) {
    return (m.style & 0xF) == kMbYesNo ? kIdNo : kIdOk;
  };
  Choose(CMainFrame::kCmdExit);
  ASSERT_EQ(1u, windows.messages.size());
  const FakeWindowSystem::Message& question = windows.messages[0];
  EXPECT_EQ("You have made changes to your current profile (Default).Would you like to save "
            "these changes?",
            question.text);
  EXPECT_EQ("Save changes?", question.caption);
  EXPECT_EQ(kMbYesNo | kMbIconQuestion | kMbDefButton2, question.style);
  Profile stored;
  ASSERT_TRUE(app.Profiles().Find("Default", &stored));
  EXPECT_EQ(10, stored.channel);  // No keeps the changes out of the profile
  EXPECT_EQ(0u, windows.WindowCount());
  EXPECT_TRUE(windows.quitPosted);
  EXPECT_TRUE(windows.tray.empty());
  EXPECT_EQ((std::vector<std::uint8_t>{1, 0, 0, 0}), Option("AlwaysOnTop"));
}

TEST_F(TrayMenu, YesSavesTheAdaptersSettingsIntoTheCurrentProfile) {
  StartWithAdapter();
  app.CurrentProfile().inSync = false;
  DeviceConfig config;
  config.SetSsid("Changed");
  config.channel = 9;
  const auto raw = config.Encode();
  library.Answer(OID_PRIV_CONFIGURATION, std::vector<std::uint8_t>(raw.begin(), raw.end()));
  library.Answer(OID_PRIV_WEP, std::vector<std::uint8_t>(57, 0));
  EXPECT_TRUE(windows.QueryEndSession(frame));  // the end of the session runs the same flow
  ASSERT_EQ(1u, windows.messages.size());
  Profile stored;
  ASSERT_TRUE(app.Profiles().Find(app.CurrentProfile().currentName, &stored));
  EXPECT_EQ("Changed", stored.ssid);
  EXPECT_EQ(9, stored.channel);
}

// The setup program closes a running program before it replaces or removes it; a silent
// uninstall has nobody to answer the question, so that close asks nothing and saves nothing,
// but ends the program as Exit does: options and last profile stored, icon gone.
TEST_F(TrayMenu, TheSetupsCloseMessageEndsTheProgramWithoutAsking) {
  StartWithAdapter();
  app.CurrentProfile().currentName = "Default";
  app.CurrentProfile().inSync = false;
  windows.SendRegistered(frame, windows.RegisterMessage("LINKSCOPE_CLOSE_FOR_SETUP"), 0, 0);
  EXPECT_TRUE(windows.messages.empty());
  EXPECT_EQ(0u, windows.WindowCount());
  EXPECT_TRUE(windows.quitPosted);
  EXPECT_TRUE(windows.tray.empty());
  EXPECT_EQ((std::vector<std::uint8_t>{1, 0, 0, 0}), Option("AlwaysOnTop"));
  EXPECT_EQ("Default", app.Profiles().ReadLastProfile());
  Profile stored;
  ASSERT_TRUE(app.Profiles().Find("Default", &stored));
  EXPECT_EQ(10, stored.channel);
}

TEST_F(TrayMenu, NothingIsAskedInSyncOrWithoutAnAdapter) {
  StartWithAdapter();
  app.CurrentProfile().inSync = true;
  Choose(CMainFrame::kCmdExit);
  EXPECT_TRUE(windows.messages.empty());
}

TEST_F(TrayMenu, NothingIsAskedWithoutAnAdapter) {
  library.devices.clear();
  Start();
  Tick();
  app.CurrentProfile().inSync = false;
  app.MainFrame()->OnCommand(CMainFrame::kCmdExit);
  EXPECT_TRUE(windows.messages.empty());
  EXPECT_EQ("Default", app.Profiles().ReadLastProfile());
}

TEST_F(TrayMenu, DoubleClickWithoutAdapterDoesNothing) {
  library.devices.clear();
  Start();
  Tick();
  windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1,
                         kMouseLeftDoubleClick);
  EXPECT_TRUE(windows.messages.empty());
  EXPECT_FALSE(app.MainFrame()->OpenOnInfo());
}

TEST_F(TrayMenu, ANewTaskbarGetsTheIconAgain) {
  StartWithAdapter();
  ASSERT_EQ(1u, windows.tray.size());
  windows.tray.clear();  // the shell restarted and lost its icons
  windows.SendRegistered(frame, windows.RegisterMessage("TaskbarCreated"), 0, 0);
  EXPECT_EQ(1u, windows.tray.size());
  EXPECT_EQ(TrayAction::Add, windows.trayCalls.back().action);
}

}  // namespace
}  // namespace linkscope::testing
