// The Profiles page on a simulated adapter: the list, the preview and the command states, the
// wizard's refusals, New / Save / Rename / Delete with their questions, and registry failures
// that must leave the stored profiles as they were.

#include <gtest/gtest.h>

#include <map>

#include "device/Oids.h"
#include "native/PageOnSimMachine.h"
#include "ui/CProfilesPage.h"

namespace linkscope::testing {
namespace {

using Page = CProfilesPage;
constexpr int kProfilesTab = 5;

sim::SimEnvironment OneCard() {
  sim::SimEnvironment env;
  sim::SimAdapterSetup card = Adapter("ORVEX PCMCIA Skyrelay (K1)", "SKYK1", 12);
  card.parameters["ESSID"] = "Harbour";
  card.parameters["Channel"] = "6";
  env.adapters.push_back(card);
  return env;
}

Profile Named(const std::string& name, const std::string& ssid) {
  Profile p = CLinkscopeApp::DefaultProfile();
  p.name = name;
  p.ssid = ssid;
  return p;
}

class ProfilesPage : public PageOnSimMachine, public ::testing::Test {
 protected:
  ProfilesPage() : PageOnSimMachine(OsKind::Win2000, OneCard()) {}

  // Default (made at start), Home and Office, with Home in use.
  void StartWithThreeProfiles(bool inSync = true) {
    Start();
    ASSERT_TRUE(app.Profiles().Save(Named("Home", "home-net"), false));
    ASSERT_TRUE(app.Profiles().Save(Named("Office", "office-net"), false));
    app.CurrentProfile().currentName = "Home";
    app.CurrentProfile().inSync = inSync;
  }
  void OnProfilesPage(const std::function<void(WindowHandle, FakeDialogItems&)>& inside) {
    OnPage(kProfilesTab, inside);
  }
  std::vector<std::string> ListTexts(FakeDialogItems& items) {
    std::vector<std::string> texts;
    for (int i = 0; i < items.ListCount(Page::kIdList); ++i) {
      texts.push_back(items.ListItemText(Page::kIdList, i));
    }
    return texts;
  }
  std::vector<std::string> Stored() {
    std::vector<std::string> names;
    app.Profiles().Names(&names);
    return names;
  }
  void Select(WindowHandle page, FakeDialogItems& items, int index) {
    items.ListSelect(Page::kIdList, index);
    dialogs.Command(page, Page::kIdList, kLbnSelChange);
  }
  // Opens the wizard with `button`, types `name` and confirms.
  void Wizard(WindowHandle page, FakeDialogItems& items, int button, const std::string& name) {
    dialogs.Click(page, button);
    items.SetText(Page::kIdName, name);
    dialogs.Click(page, Page::kIdConfirm);
  }
  std::string CommandStates(FakeDialogItems& items) {
    std::string s;
    for (int id : {Page::kIdNew, Page::kIdSave, Page::kIdDelete, Page::kIdRename}) {
      s += items.IsEnabled(id) ? '1' : '0';
    }
    return s;
  }
};

TEST_F(ProfilesPage, ListsTheStoreInItsOrderAndPreviewsTheProfileInUse) {
  StartWithThreeProfiles();
  OnProfilesPage([&](WindowHandle, FakeDialogItems& items) {
    EXPECT_EQ((std::vector<std::string>{"Default", "Home (in use)", "Office"}), ListTexts(items));
    EXPECT_EQ(1, items.ListSelection(Page::kIdList));
    EXPECT_EQ("Preview of: 'Home'", items.Text(Page::kIdPreviewGroup));
    EXPECT_TRUE(items.IsVisible(Page::kIdPreview));
    EXPECT_EQ(0u, items.Text(Page::kIdPreview).find("SSID:\t\thome-net\r\nMode:\t\tInfrastructure\r\n"));
    EXPECT_EQ("Your current profile is 'Home' .\r\nUse commands on the left to manage this "
              "profile or to create a new one.",
              items.Text(Page::kIdInfo));
    EXPECT_FALSE(items.IsVisible(Page::kIdName));
    EXPECT_EQ(Page::kNameLimit, items.EditLimit(Page::kIdName));
    EXPECT_EQ("&New", items.Text(Page::kIdNew));
    EXPECT_EQ("Canc&el", items.Text(Page::kIdWizardCancel));
    EXPECT_EQ("Create a new profile from current configuration", items.ToolTip(Page::kIdNew));
    EXPECT_EQ("Rename selected profile", items.ToolTip(Page::kIdRename));
  });
  EXPECT_TRUE(TakeMessages().empty());
}

// One rule: Default is read-only; Save only while the adapter differs from the profile in use.
TEST_F(ProfilesPage, CommandStatesFollowTheSelectionAndTheInSyncFlag) {
  struct Case {
    int select;
    bool inSync;
    const char* states;  // New, Save, Delete, Rename
    const char* info;    // start of the information text
  };
  const Case cases[] = {
      {0, true, "1000", "'Default' is NOT your current profile."},
      {0, false, "1000", "'Default' is NOT"},
      {2, true, "1011", "'Office' is NOT"},
      {2, false, "1111", "'Office' is NOT"},
      {1, false, "1111", "Your current profile is 'Home' .Use commands"},
  };
  StartWithThreeProfiles();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.select);
    app.CurrentProfile().inSync = c.inSync;
    OnProfilesPage([&](WindowHandle page, FakeDialogItems& items) {
      Select(page, items, c.select);
      EXPECT_EQ(c.states, CommandStates(items));
      EXPECT_EQ(0u, items.Text(Page::kIdInfo).find(c.info)) << items.Text(Page::kIdInfo);
    });
  }
}

TEST_F(ProfilesPage, PreviewLinesAreTabAlignedWithShortenedLabels) {
  Start();
  Profile p = Named("Lab", "lab");
  p.channel = 6;
  p.rate = 4;
  p.enc = 2;
  p.auth = 1;
  p.key = 2;
  p.power = 1;
  p.preamble = 1;
  p.roaming = 7;
  ASSERT_TRUE(app.Profiles().Save(p, false));
  app.CurrentProfile().currentName = "Lab";
  OnProfilesPage([&](WindowHandle, FakeDialogItems& items) {
    EXPECT_EQ(
        "SSID:\t\tlab\r\n"
        "Mode:\t\tInfrastructure\r\n"
        "Channel:\t\t6\r\n"
        "Tx Rate: \t\tAuto\r\n"
        "802.11 Power Sav:\tOn\r\n"
        "Encryption Level:\t128 Bit\r\n"
        "Authentication T:\tShared Key\r\n"
        "Radio:\t\tOn\r\n"
        "Int. Roaming:\tN/A\r\n"
        "Preamble Type:\tShort\r\n"
        "Fragmentation Th:\t2346\r\n"
        "RTS/CTS Threshol:\t2347\r\n"
        "WEP Mode:\tMandatory\r\n"
        "WEP Key to use:\t3",
        items.Text(Page::kIdPreview));
  });
}

// One rule: a value without a text of its own shows N/A.
TEST_F(ProfilesPage, PreviewValuesOutsideTheirCodesShowNotAvailable) {
  const std::pair<std::function<void(Profile&)>, const char*> cases[] = {
      {[](Profile& p) { p.enc = 1; }, "Encryption Level:\t64 Bit\r\n"},
      {[](Profile& p) { p.enc = 5; }, "Encryption Level:\tN/A\r\n"},
      {[](Profile& p) { p.rate = 0; }, "Tx Rate: \t\tFixed 1 Mbps\r\n"},
      {[](Profile& p) { p.rate = -1; }, "Tx Rate: \t\tN/A\r\n"},
      {[](Profile& p) { p.mode = 0; }, "Mode:\t\tAd-Hoc\r\n"},
      {[](Profile& p) { p.mode = 3; }, "Mode:\t\tN/A\r\n"},
      {[](Profile& p) { p.preamble = 2; }, "Preamble Type:\tAUTO\r\n"},
      {[](Profile& p) { p.wepmode = 9; }, "WEP Mode:\tN/A\r\n"},
      {[](Profile& p) { p.auth = 3; }, "Authentication T:\tN/A\r\n"},
      // The largest number the registry value holds, counted from 1 without overflowing.
      {[](Profile& p) { p.key = 0x7FFFFFFF; }, "WEP Key to use:\t2147483648"},
  };
  Start();
  app.CurrentProfile().currentName = "Lab";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.second);
    Profile p = Named("Lab", "lab");
    c.first(p);
    ASSERT_TRUE(app.Profiles().Save(p, false));
    OnProfilesPage([&](WindowHandle, FakeDialogItems& items) {
      EXPECT_NE(std::string::npos, items.Text(Page::kIdPreview).find(c.second))
          << items.Text(Page::kIdPreview);
    });
  }
}

TEST_F(ProfilesPage, NoStoredProfileInUseLeavesNothingToActOn) {
  StartWithThreeProfiles();
  app.CurrentProfile().currentName = "Gone";
  app.CurrentProfile().inSync = false;
  OnProfilesPage([&](WindowHandle page, FakeDialogItems& items) {
    EXPECT_EQ(-1, items.ListSelection(Page::kIdList));
    EXPECT_EQ("1000", CommandStates(items));
    EXPECT_FALSE(items.IsVisible(Page::kIdPreview));
    EXPECT_EQ("", items.Text(Page::kIdPreview));
    EXPECT_EQ("Preview", items.Text(Page::kIdPreviewGroup));
    // Commands that reach the page anyway act on nothing and say nothing.
    for (int id : {Page::kIdSave, Page::kIdDelete, Page::kIdRename}) {
      dialogs.Command(page, id, kBnClicked);
    }
    EXPECT_FALSE(items.IsVisible(Page::kIdName));
  });
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_EQ((std::vector<std::string>{"Default", "Home", "Office"}), Stored());
}

// One rule: a refused name keeps the wizard open with its message and stores nothing.
TEST_F(ProfilesPage, WizardRefusesNamesItCannotStore) {
  const std::pair<const char*, const char*> creates[] = {
      {"default", "This name conflicts with default profile. Please specify a different name."},
      {"DEFAULT", "This name conflicts with default profile. Please specify a different name."},
      {"Default", "This name conflicts with default profile. Please specify a different name."},
      {"home", "This name conflicts with another profile. Please specify a different name"},
      {"", "Please specify a profile name"},
      {"sixteen-chars-xx", "The field must not exceed 15 characters"},
      {"a\\b", "The field contains illegal characters"},
  };
  StartWithThreeProfiles();
  for (const auto& c : creates) {
    SCOPED_TRACE(c.first);
    OnProfilesPage([&](WindowHandle page, FakeDialogItems& items) {
      Wizard(page, items, Page::kIdNew, c.first);
      EXPECT_EQ(std::vector<std::string>{c.second}, TakeMessages());
      EXPECT_TRUE(items.IsVisible(Page::kIdName));
      EXPECT_EQ(Page::kIdName, items.FocusedControl());
      EXPECT_FALSE(items.IsEnabled(Page::kIdList));
      EXPECT_EQ("0000", CommandStates(items));
    });
  }
  // Renaming Home to HOME: the lookup ignores letter case.
  OnProfilesPage([&](WindowHandle page, FakeDialogItems& items) {
    Wizard(page, items, Page::kIdRename, "HOME");
    EXPECT_EQ(std::vector<std::string>{"The name specified conflicts with an existing profile "
                                       "name.\r\n\r\nPlease type another name for your profile."},
              TakeMessages());
    EXPECT_TRUE(items.IsVisible(Page::kIdName));
    // Escape leaves the wizard, not the dialog.
    dialogs.PressEscape(page);
    EXPECT_FALSE(items.IsVisible(Page::kIdName));
    EXPECT_TRUE(app.SettingsDialog().IsOpen());
    EXPECT_TRUE(items.IsEnabled(Page::kIdList));
    // Outside the wizard Escape closes the dialog as on every page.
    dialogs.PressEscape(page);
    EXPECT_FALSE(app.SettingsDialog().IsOpen());
  });
  EXPECT_EQ((std::vector<std::string>{"Default", "Home", "Office"}), Stored());
  EXPECT_EQ("Home", app.CurrentProfile().currentName);
}

TEST_F(ProfilesPage, FifteenCharactersAndAnyPunctuationButTheBackslashAreAccepted) {
  StartWithThreeProfiles();
  OnProfilesPage([&](WindowHandle page, FakeDialogItems& items) {
    dialogs.Click(page, Page::kIdNew);
    EXPECT_EQ("Type the name of the new profile:", items.Text(Page::kIdInfo));
    EXPECT_EQ("Create", items.Text(Page::kIdConfirm));
    items.Type(Page::kIdName, "Lab #1 (5.5)/:*x");  // the 16th character is refused
    EXPECT_EQ("Lab #1 (5.5)/:*", items.Text(Page::kIdName));
    dialogs.Click(page, Page::kIdConfirm);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_FALSE(items.IsVisible(Page::kIdName));
    const int selected = items.ListSelection(Page::kIdList);
    EXPECT_EQ("Lab #1 (5.5)/:* (in use)", items.ListItemText(Page::kIdList, selected));
  });
  EXPECT_EQ("Lab #1 (5.5)/:*", app.CurrentProfile().currentName);
  EXPECT_TRUE(app.CurrentProfile().inSync);
  Profile made;
  ASSERT_TRUE(app.Profiles().Find("Lab #1 (5.5)/:*", &made));
  EXPECT_EQ("Harbour", made.ssid) << "captured from the adapter";
  EXPECT_EQ(6, made.channel);
}

TEST_F(ProfilesPage, CreateRenameSaveAndDeleteWithTheirQuestions) {
  StartWithThreeProfiles(false);
  OnProfilesPage([&](WindowHandle page, FakeDialogItems& items) {
    // Rename Office (not in use) to Work.
    Select(page, items, 2);
    dialogs.Click(page, Page::kIdRename);
    EXPECT_EQ("Type the new name for the existing profile:", items.Text(Page::kIdInfo));
    EXPECT_EQ("Rename", items.Text(Page::kIdConfirm));
    items.SetText(Page::kIdName, "Work");
    dialogs.Click(page, Page::kIdConfirm);
    EXPECT_EQ((std::vector<std::string>{"Default", "Home (in use)", "Work"}), ListTexts(items));
    EXPECT_EQ("Home", app.CurrentProfile().currentName);

    // Save over Work: No keeps it, Yes overwrites it with the adapter's settings.
    Select(page, items, 2);
    windows.answer = [](const FakeWindowSystem::Message&) { return kIdNo; };
    dialogs.Click(page, Page::kIdSave);
    ASSERT_EQ(1u, windows.messages.size());
    EXPECT_EQ("Are you sure you want to overwrite  'Work' with current settings?",
              windows.messages[0].text);
    EXPECT_EQ("Overwrite profile?", windows.messages[0].caption);
    EXPECT_EQ(kMbYesNo | kMbIconQuestion | kMbDefButton2, windows.messages[0].style);
    windows.messages.clear();
    Profile work;
    ASSERT_TRUE(app.Profiles().Find("Work", &work));
    EXPECT_EQ("office-net", work.ssid);
    windows.answer = nullptr;
    dialogs.Click(page, Page::kIdSave);
    EXPECT_EQ(1u, TakeMessages().size());
    ASSERT_TRUE(app.Profiles().Find("Work", &work));
    EXPECT_EQ("Harbour", work.ssid);
    // Work is not the profile in use: the adapter still differs from Home.
    EXPECT_FALSE(app.CurrentProfile().inSync);

    // Delete Work.
    Select(page, items, 2);
    dialogs.Click(page, Page::kIdDelete);
    ASSERT_EQ(1u, windows.messages.size());
    EXPECT_EQ("Are you sure you want to delete profile 'Work'?", windows.messages[0].text);
    EXPECT_EQ("Delete profile?", windows.messages[0].caption);
    windows.messages.clear();
    EXPECT_EQ((std::vector<std::string>{"Default", "Home (in use)"}), ListTexts(items));
    // The dialog's selector follows.
    EXPECT_EQ(2, DialogItems().ComboCount(kIdProfileSelector));
  });
  EXPECT_EQ((std::vector<std::string>{"Default", "Home"}), Stored());
}

TEST_F(ProfilesPage, RenamingOrSavingTheProfileInUseFollowsIt) {
  StartWithThreeProfiles(false);
  OnProfilesPage([&](WindowHandle page, FakeDialogItems& items) {
    Wizard(page, items, Page::kIdRename, "House");
    EXPECT_EQ("House", app.CurrentProfile().currentName);
    EXPECT_EQ("House (in use)", items.ListItemText(Page::kIdList, 1));
    dialogs.Click(page, Page::kIdSave);  // answered Yes
    EXPECT_TRUE(app.CurrentProfile().inSync);
    EXPECT_EQ("House", DialogItems().ComboItemText(kIdProfileSelector, 1)) << "no star";
    EXPECT_FALSE(items.IsEnabled(Page::kIdSave));
  });
}

// One rule: a Save marks the adapter in sync with the profile in use only when that profile is
// the one saved, its name compared as the registry compares key names.
TEST_F(ProfilesPage, SavingTheProfileInUseMarksItInSyncWhateverTheLetterCase) {
  const struct {
    const char* inUse;
    int saved;  // list index: 1 Home, 2 Office
    bool inSync;
  } cases[] = {{"Home", 1, true}, {"home", 1, true}, {"HOME", 1, true}, {"Home", 2, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.inUse) + " " + std::to_string(c.saved));
    PageOnSimMachine m(OsKind::Win2000, OneCard());
    m.Start();
    ASSERT_TRUE(m.app.Profiles().Save(Named("Home", "home-net"), false));
    ASSERT_TRUE(m.app.Profiles().Save(Named("Office", "office-net"), false));
    m.app.CurrentProfile().currentName = c.inUse;
    m.app.CurrentProfile().inSync = false;
    m.OnPage(kProfilesTab, [&](WindowHandle page, FakeDialogItems& items) {
      items.ListSelect(Page::kIdList, c.saved);
      m.dialogs.Command(page, Page::kIdList, kLbnSelChange);
      m.dialogs.Click(page, Page::kIdSave);  // answered Yes
    });
    EXPECT_EQ(c.inSync, m.app.CurrentProfile().inSync);
    Profile saved;
    ASSERT_TRUE(m.app.Profiles().Find(c.saved == 1 ? "Home" : "Office", &saved));
    EXPECT_EQ("Harbour", saved.ssid);
  }
}

// A profile chosen from the tray menu while this page is shown: once applied, the dialog shows
// the Status page; a switch that applies nothing leaves this page, its list read again.
TEST_F(ProfilesPage, ASwitchFromTheTrayMenuIsFollowedByThePage) {
  StartWithThreeProfiles();
  auto chooseFromTray = [&](int index, const std::function<void()>& whileOpen) {
    windows.menuChoice = [&](const std::vector<MenuItem>&) {
      if (whileOpen) whileOpen();
      return static_cast<std::uint32_t>(CMainFrame::kCmdFirstProfile + index);
    };
    windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1, kMouseRightUp);
    windows.menuChoice = nullptr;
  };
  OnProfilesPage([&](WindowHandle, FakeDialogItems&) {
    chooseFromTray(2, nullptr);
    EXPECT_EQ("Office", app.CurrentProfile().currentName);
    EXPECT_EQ(kStatusPageId, PageResource());
    dialogs.ChooseTab(dialogWindow, kIdTabControl, kProfilesTab);
    FakeDialogItems& items = *dialogs.Items(CurrentPage());
    EXPECT_EQ((std::vector<std::string>{"Default", "Home", "Office (in use)"}), ListTexts(items));

    // Home goes from the registry while the menu is open (by hand, or by another program):
    // the last item names no profile any more.
    chooseFromTray(2, [&] {
      machine.registry.DeleteTree(kRegCurrentUser,
                                  std::string(ProfileStore::kProfilesKey) + "\\Home");
    });
    EXPECT_EQ(std::vector<std::string>{"Failed to find the key"}, TakeMessages());
    ASSERT_EQ(kProfilesPageId, PageResource());
    EXPECT_EQ((std::vector<std::string>{"Default", "Office (in use)"}), ListTexts(items));
    EXPECT_EQ(1, items.ListSelection(Page::kIdList));
  });
  EXPECT_EQ("Office", app.CurrentProfile().currentName);
}

// The store tells of a profile gone from the registry in a box, under which the dialog closes:
// the page touches nothing of its window afterwards.
TEST_F(ProfilesPage, APageClosedUnderTheStoresBoxIsLeftAlone) {
  StartWithThreeProfiles();
  windows.answer = [&](const FakeWindowSystem::Message&) {
    dialogs.DestroyNow(dialogWindow);
    return kIdOk;
  };
  OnProfilesPage([&](WindowHandle page, FakeDialogItems& items) {
    machine.registry.DeleteTree(kRegCurrentUser,
                                std::string(ProfileStore::kProfilesKey) + "\\Office");
    Select(page, items, 2);
    EXPECT_FALSE(dialogs.Exists(page));
  });
  EXPECT_EQ(std::vector<std::string>{"Failed to find the key"}, TakeMessages());
}

TEST_F(ProfilesPage, DeletingTheProfileInUseAppliesDefault) {
  StartWithThreeProfiles();
  requests.clear();
  OnProfilesPage([&](WindowHandle page, FakeDialogItems& items) {
    dialogs.Click(page, Page::kIdDelete);
    EXPECT_EQ((std::vector<std::string>{"Default (in use)", "Office"}), ListTexts(items));
    EXPECT_EQ(0, items.ListSelection(Page::kIdList));
    EXPECT_EQ("1000", CommandStates(items));
  });
  EXPECT_EQ("Default", app.CurrentProfile().currentName);
  EXPECT_EQ("Default", app.Profiles().ReadLastProfile());
  EXPECT_EQ(1u, SetsOf(OID_PRIV_ALL_SETTINGS).size());
}

TEST_F(ProfilesPage, CommandsAreLockedWhileWindowsConfiguresTheCard) {
  StartWithThreeProfiles(false);
  app.Link().configuredByWindows = 1;
  // The dialog clears the flag when it opens off XP; the page reads it when it is created.
  OnProfilesPage([&](WindowHandle page, FakeDialogItems& items) {
    app.Link().configuredByWindows = 1;
    app.SettingsDialog().ApplyWindowsConfigurationState();
    EXPECT_EQ("0000", CommandStates(items));
    EXPECT_EQ("Profile management is disabled because current settings are configured by "
              "Windows",
              items.Text(Page::kIdInfo));
    dialogs.ChooseTab(dialogWindow, kIdTabControl, 0);
    dialogs.ChooseTab(dialogWindow, kIdTabControl, kProfilesTab);
    FakeDialogItems& again = *dialogs.Items(CurrentPage());
    EXPECT_EQ("0000", CommandStates(again));
    EXPECT_EQ(0, again.ListCount(Page::kIdList));
    // Cleared: the commands come back, Default's as read-only as ever.
    app.Link().configuredByWindows = 0;
    app.SettingsDialog().ApplyWindowsConfigurationState();
    EXPECT_EQ("1111", CommandStates(again));
    Select(CurrentPage(), again, 0);
    EXPECT_EQ("1000", CommandStates(again));
    (void)page;
  });
}

// The stored profiles as name -> every value, a value missing from the key told apart from one
// that reads as -1 or "ERROR", for comparing before and after.
const char* const kProfileValues[] = {
    "ssid", "channel", "power", "rate", "mode", "preamble", "frag", "rts", "enc",
    "auth", "wepmode", "key", "key1", "key2", "key3", "key4", "radio", "roaming"};

std::map<std::string, std::string> Snapshot(PageOnSimMachine& m) {
  std::map<std::string, std::string> all;
  std::vector<std::string> names;
  m.app.Profiles().Names(&names);
  for (const std::string& n : names) {
    std::string text;
    for (const char* value : kProfileValues) {
      std::vector<std::uint8_t> data;
      if (!m.machine.registry.ReadValue(kRegCurrentUser,
                                        std::string(ProfileStore::kProfilesKey) + "\\" + n, value,
                                        nullptr, &data)) {
        text += "|-";
        continue;
      }
      text += "|" + std::string(data.begin(), data.end());
    }
    all[n] = text;
  }
  return all;
}

// One rule for each command: whichever registry call fails, the profiles stored are those of
// before or those of after, never a profile lost or half written.
TEST_F(ProfilesPage, ARegistryFailureAnywhereLeavesTheProfilesWhole) {
  struct Command {
    const char* what;
    std::function<void(PageOnSimMachine&, WindowHandle, FakeDialogItems&)> run;
    // What the stored profiles look like before the command, beyond Home and Office.
    std::function<void(PageOnSimMachine&)> prepare = nullptr;
    // The answer to every question (Yes when none).
    int answer = 0;
  };
  auto wizard = [](int button, int select, const char* name) {
    return [=](PageOnSimMachine& m, WindowHandle page, FakeDialogItems& items) {
      items.ListSelect(Page::kIdList, select);
      m.dialogs.Command(page, Page::kIdList, kLbnSelChange);
      m.dialogs.Click(page, button);
      items.SetText(Page::kIdName, name);
      m.dialogs.Click(page, Page::kIdConfirm);
    };
  };
  auto command = [](int button, int select) {
    return [=](PageOnSimMachine& m, WindowHandle page, FakeDialogItems& items) {
      items.ListSelect(Page::kIdList, select);
      m.dialogs.Command(page, Page::kIdList, kLbnSelChange);
      m.dialogs.Click(page, button);
    };
  };
  // Office with some of its values missing, as an older program or a hand edit leaves it.
  auto officeWithoutSomeValues = [](PageOnSimMachine& m) {
    RegKey key = 0;
    ASSERT_EQ(kRegOk, m.machine.registry.OpenKey(
                          kRegCurrentUser, std::string(ProfileStore::kProfilesKey) + "\\Office",
                          RegAccess::All, &key));
    m.machine.registry.DeleteValue(key, "key1");
    m.machine.registry.DeleteValue(key, "rts");
    m.machine.registry.CloseKey(key);
  };
  const Command commands[] = {
      {"new", wizard(Page::kIdNew, 1, "Lab")},
      // The name is taken: when the lookup fails, the store's own question comes, and No keeps
      // the profile that bears it.
      {"new over an existing name, answered No", wizard(Page::kIdNew, 1, "Office"), nullptr,
       kIdNo},
      {"rename", wizard(Page::kIdRename, 2, "Work")},
      {"save", command(Page::kIdSave, 2)},
      {"save over a profile with values missing", command(Page::kIdSave, 2),
       officeWithoutSomeValues},
      {"delete", command(Page::kIdDelete, 2)},
  };
  // Runs the command with the registry call `failAt` failing (0: none); the profiles stored
  // before and after, and whether a call failed.
  auto run = [](const Command& c, int failAt, std::map<std::string, std::string>* before,
                std::map<std::string, std::string>* after) {
    PageOnSimMachine m(OsKind::Win2000, OneCard());
    m.Start();
    EXPECT_TRUE(m.app.Profiles().Save(Named("Home", "home-net"), false));
    EXPECT_TRUE(m.app.Profiles().Save(Named("Office", "office-net"), false));
    m.app.CurrentProfile().currentName = "Home";
    m.app.CurrentProfile().inSync = false;
    if (c.prepare) c.prepare(m);
    if (c.answer != 0) {
      m.windows.answer = [&c](const FakeWindowSystem::Message&) { return c.answer; };
    }
    *before = Snapshot(m);
    bool failed = false;
    m.OnPage(kProfilesTab, [&](WindowHandle page, FakeDialogItems& items) {
      int calls = 0;
      m.machine.registry.failHook = [&](const char*) -> long {
        if (++calls != failAt) return kRegOk;
        failed = true;
        return 5;  // access denied
      };
      c.run(m, page, items);
      m.machine.registry.failHook = nullptr;
    });
    *after = Snapshot(m);
    return failed;
  };
  for (const Command& c : commands) {
    std::map<std::string, std::string> before, done;
    ASSERT_FALSE(run(c, 0, &before, &done));
    // Refused without failures: nothing may change with them either.
    if (c.answer == kIdNo) {
      ASSERT_EQ(before, done) << c.what;
    } else {
      ASSERT_NE(before, done) << c.what << " went through without failures";
    }
    for (int failAt = 1;; ++failAt) {
      SCOPED_TRACE(std::string(c.what) + " failing registry call " + std::to_string(failAt));
      std::map<std::string, std::string> after;
      if (!run(c, failAt, &before, &after)) break;
      EXPECT_TRUE(after == before || after == done);
      ASSERT_LT(failAt, 300);
    }
  }
}

}  // namespace
}  // namespace linkscope::testing
