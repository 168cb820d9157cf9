// The settings dialog frame on the whole program with a scripted adapter: opening from the
// tray, its texts, tabs and pages, the selectors, and closing.

#include <gtest/gtest.h>

#include "native/DialogOnSimMachine.h"
#include "native/ScriptedApp.h"
#include "ui/CAdvancedPage.h"
#include "ui/CEncryptionPage.h"
#include "ui/CProfilesPage.h"
#include "ui/CSiteSurveyPage.h"
#include "ui/CStatisticsPage.h"
#include "ui/CStatusPage.h"
#include "ui/DialogLayouts.h"
#include "ui/LayoutTexts.h"

namespace linkscope::testing {
namespace {

class SettingsDialog : public ScriptedApp {
 protected:
  void StartWithAdapter() {
    Start();
    Tick();
    Tick();
    ASSERT_EQ(1u, app.Link().AdapterCount());
  }
  // Opens the dialog from the tray and runs `inside` in its modal loop.
  void DoubleClickAnd(const std::function<void(WindowHandle, FakeDialogItems&)>& inside) {
    dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
      inside(dialog, *dialogs.Items(dialog));
    };
    windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1,
                           kMouseLeftDoubleClick);
    dialogs.modalLoop = nullptr;
  }
  int PageResource() {
    const auto pages = dialogs.Pages();
    return pages.empty() ? 0 : dialogs.ResourceOf(pages.back());
  }
};

TEST_F(SettingsDialog, OpensOnTheStatusTabWithItsTextsAndClosesOnEscape) {
  StartWithAdapter();
  bool ran = false;
  DoubleClickAnd([&](WindowHandle dialog, FakeDialogItems& items) {
    ran = true;
    EXPECT_TRUE(app.SettingsDialog().IsOpen());
    EXPECT_EQ("Linkscope Utility", items.Title());
    ASSERT_EQ(7, items.TabCount(kIdTabControl));
    EXPECT_EQ(CSettingsDlg::kTabPaddingX, items.tabPadding);  // all seven in sight
    const char* captions[] = {"Status", "Statistics", "Site Survey", "Encryption",
                              "Advanced", "Profiles", "Info"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(captions[i], items.TabCaption(kIdTabControl, i));
    EXPECT_EQ("E&xit", items.Text(kIdCancel));
    EXPECT_EQ(0, items.TabSelection(kIdTabControl));
    EXPECT_EQ(kStatusPageId, PageResource());
    EXPECT_EQ(1u, dialogs.Pages().size());
    EXPECT_TRUE(dialogs.Items(dialogs.Pages().back())->DialogVisible());
    EXPECT_FALSE(items.IsVisible(kIdWindowsCheckBox));
    EXPECT_FALSE(items.IsVisible(kIdResetButton));
    EXPECT_TRUE(items.IsVisible(kIdAdapterSelector));
    EXPECT_EQ("ORVEX PCI Skyrelay", items.ComboItemText(kIdAdapterSelector, 0));

    dialogs.PressEnter(dialog);  // Enter does nothing
    EXPECT_TRUE(dialogs.Exists(dialog));
    // Escape on the Status page is its Cancel button, which closes nothing; on the frame it
    // closes the dialog.
    dialogs.PressEscape(dialogs.Pages().back());
    EXPECT_TRUE(app.SettingsDialog().IsOpen());
    dialogs.PressEscape(dialog);
    EXPECT_FALSE(app.SettingsDialog().IsOpen());
  });
  EXPECT_TRUE(ran);
  EXPECT_EQ(0, dialogs.modalsLeftOpen);
  EXPECT_TRUE(dialogs.Pages().empty());
  EXPECT_EQ(1u, windows.tray.size()) << "the program stays in the tray";
}

TEST_F(SettingsDialog, AboutOpensOnTheInfoTabAndTabsSwitchPages) {
  StartWithAdapter();
  bool ran = false;
  dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
    ran = true;
    FakeDialogItems& items = *dialogs.Items(dialog);
    EXPECT_EQ(6, items.TabSelection(kIdTabControl));
    EXPECT_EQ(kInfoPageId, PageResource());
    items.TabSelect(kIdTabControl, 5);
    dialogs.Notify(dialog, DialogNotification{kIdTabControl, kTcnSelChange, -1});
    EXPECT_EQ(kProfilesPageId, PageResource());
    // The Profiles page lives inside the tab control.
    EXPECT_EQ(items.Window(kIdTabControl), dialogs.ParentOf(dialogs.Pages().back()));
    EXPECT_EQ(1u, dialogs.Pages().size());
    dialogs.PressEscape(dialog);
  };
  app.MainFrame()->OnCommand(CMainFrame::kCmdAbout);
  EXPECT_TRUE(ran);
}

TEST_F(SettingsDialog, ProfileSelectorMarksAChangedProfile) {
  StartWithAdapter();
  app.CurrentProfile().currentName = "Default";
  app.CurrentProfile().inSync = false;
  DoubleClickAnd([&](WindowHandle dialog, FakeDialogItems& items) {
    ASSERT_EQ(1, items.ComboCount(kIdProfileSelector));
    EXPECT_EQ("Default*", items.ComboItemText(kIdProfileSelector, 0));
    EXPECT_EQ(0, items.ComboSelection(kIdProfileSelector));
    app.CurrentProfile().inSync = true;
    app.SettingsDialog().FillProfileSelector();
    EXPECT_EQ("Default", items.ComboItemText(kIdProfileSelector, 0));
    dialogs.PressEscape(dialog);
  });
}

TEST_F(SettingsDialog, ChoosingAProfileInTheSelectorAppliesIt) {
  StartWithAdapter();
  Profile office = CLinkscopeApp::DefaultProfile();
  office.name = "Office";
  ASSERT_TRUE(app.Profiles().Save(office, false));
  DoubleClickAnd([&](WindowHandle dialog, FakeDialogItems& items) {
    ASSERT_EQ(2, items.ComboCount(kIdProfileSelector));
    items.ComboSelect(kIdProfileSelector, 1);
    dialogs.Command(dialog, kIdProfileSelector, kCbnSelChange);
    EXPECT_EQ("Office", app.CurrentProfile().currentName);
    EXPECT_EQ(1, items.ComboSelection(kIdProfileSelector));
    // A profile the adapter refuses is not in use, and the selector says so.
    library.Fail(OID_PRIV_ALL_SETTINGS);
    library.Fail(OID_PRIV_CONFIGURATION);
    dialogs.ChooseComboItem(dialog, kIdProfileSelector, 0);
    EXPECT_EQ("Cannot set device configuration", windows.messages.back().text);
    EXPECT_EQ("Office", app.CurrentProfile().currentName);
    EXPECT_EQ(1, items.ComboSelection(kIdProfileSelector));
    dialogs.PressEscape(dialog);
  });
}

// Every text a layout names a key for, on the frame and on each page, shows the language
// file's text once it is built, and so does every tool tip; here the file words each text as
// its key in brackets.
TEST_F(SettingsDialog, EveryKeyedLayoutTextComesFromTheLanguageFile) {
  std::string file = "[Languages]\r\nLanguage-1=Test\r\n[Test]\r\n";
  for (const TextKey& k : LayoutTextKeys()) file += std::string(k.key) + "=[" + k.key + "]\r\n";
  profile.SetFile(".\\res\\Wlan.ini", file);
  StartWithAdapter();
  auto expectFromFile = [](const DialogLayout& layout, FakeDialogItems& items) {
    SCOPED_TRACE("dialog " + std::to_string(layout.resourceId));
    for (const ControlLayout& c : layout.controls) {
      if (c.textKey != nullptr) {
        EXPECT_EQ(std::string("[") + c.textKey + "]", items.Text(c.id)) << c.id;
      }
      if (c.toolTipKey != nullptr) {
        EXPECT_EQ(std::string("[") + c.toolTipKey + "]", items.ToolTip(c.id)) << c.id;
      }
    }
  };
  DoubleClickAnd([&](WindowHandle dialog, FakeDialogItems& items) {
    EXPECT_EQ("[DlgTitle]", items.Title());
    expectFromFile(SettingsDialogLayout(), items);
    for (int tab = 0; tab < kPageCount; ++tab) {
      dialogs.ChooseTab(dialog, kIdTabControl, tab);
      ASSERT_EQ(kPageResourceIds[tab], PageResource());
      expectFromFile(*PageLayout(PageResource()), *dialogs.Items(dialogs.Pages().back()));
    }
    dialogs.PressEscape(dialog);
  });
}

TEST_F(SettingsDialog, HiddenAdapterSelectorAndTheEnglishLabel) {
  profile.SetFile(".\\res\\Wlan.ini",
                  "[Languages]\r\nLanguage-1=Deutsch\r\n[Deutsch]\r\nShowAdaptersList=0\r\n"
                  "Tab1=Zustand\r\nCancelButon=Beenden\r\n");
  StartWithAdapter();
  DoubleClickAnd([&](WindowHandle dialog, FakeDialogItems& items) {
    EXPECT_FALSE(items.IsVisible(kIdAdapterSelector));
    EXPECT_EQ("Zustand", items.TabCaption(kIdTabControl, 0));
    EXPECT_EQ("Beenden", items.Text(kIdCancel));
    bool englishLabel = false;
    for (const ControlLayout& c : SettingsDialogLayout().controls) {
      if (std::string(c.text) == "&Current Profile:") englishLabel = true;
    }
    EXPECT_TRUE(englishLabel);
    dialogs.PressEscape(dialog);
  });
}

TEST_F(SettingsDialog, AnUnusableAdapterClosesTheOpenDialog) {
  StartWithAdapter();
  DoubleClickAnd([&](WindowHandle dialog, FakeDialogItems&) {
    library.Answer(OID_PRIV_DEVICE_STATE, {16});
    Tick();  // the modal loop keeps the timer going
    EXPECT_FALSE(dialogs.Exists(dialog) && app.SettingsDialog().IsOpen());
  });
  EXPECT_FALSE(app.SettingsDialog().IsOpen());
  EXPECT_TRUE(windows.tray.empty());
}

}  // namespace
}  // namespace linkscope::testing

namespace linkscope::testing {
namespace {

class SettingsDialogOnXp : public SettingsDialog {
 protected:
  SettingsDialogOnXp() { system.version = OsVersion{5, 1, 2600, kPlatformNt, ""}; }
};

TEST_F(SettingsDialogOnXp, NoSwitchWhileWindowsConfiguresTheCard) {
  app.Link().SetWindowsConfigCheck([] { return true; });
  StartWithAdapter();
  Profile office = CLinkscopeApp::DefaultProfile();
  office.name = "Office";
  ASSERT_TRUE(app.Profiles().Save(office, false));
  DoubleClickAnd([&](WindowHandle dialog, FakeDialogItems& items) {
    EXPECT_FALSE(items.IsEnabled(kIdProfileSelector));
    EXPECT_EQ(1, items.Check(kIdWindowsCheckBox));
    EXPECT_FALSE(items.IsVisible(kIdWindowsCheckBox));
    // No "*" while Windows configures the card.
    EXPECT_EQ("Default", items.ComboItemText(kIdProfileSelector, 0));
    EXPECT_FALSE(app.SettingsDialog().SwitchProfile(1));
    EXPECT_EQ("Cannot switch profile while card is configured by Windows.",
              windows.messages.back().text);
    EXPECT_EQ("Default", app.CurrentProfile().currentName);
    dialogs.PressEscape(dialog);
  });
}

// Tab walks the frame and the page as one, in reading order, leaving out what is disabled or
// hidden: the Windows configuration locks the profile selector and each page's settings.
// Ctrl+Tab reaches each page.
}  // namespace
}  // namespace linkscope::testing

namespace linkscope::testing {
namespace {

// A dialog whose Site Survey page runs a re-scan.
class RescanningDialog : public ISettingsDialogHooks {
 public:
  bool IsOpen() const override { return true; }
  void Open(bool) override {}
  void Close() override {}
  void FillProfileSelector() override {}
  void FillAdapterSelector() override {}
  void ApplyWindowsConfigurationState() override {}
  void SelectStatusPage() override {}
  void RefreshCurrentPage() override {}
  void MarkSurveyFinished() override {}
  void BringToFront() override {}
  void ShowInfoPage() override {}
  void Relabel() override {}
  bool SurveyRunning() const override { return true; }
  bool SwitchProfile(int) override { return false; }
};

TEST_F(SettingsDialog, NoSwitchDuringARescan) {
  StartWithAdapter();
  RescanningDialog rescanning;
  ProfileSwitcher switcher(app.Link(), app.Profiles(), app.ProfileLogic(), app.AppMessages());
  library.calls.clear();
  EXPECT_FALSE(switcher.SwitchProfile(0, &rescanning));
  EXPECT_EQ("Cannot switch profile while Re-Scan", windows.messages.back().text);
  EXPECT_TRUE(library.calls.empty());
}

}  // namespace
}  // namespace linkscope::testing

namespace linkscope::testing {
namespace {

// The modal loop disables the main window: a message shown while the dialog is open belongs
// to the dialog, whoever raises it, so that the dialog takes no input until it is answered.
TEST_F(SettingsDialog, MessagesWhileItIsOpenBelongToTheDialog) {
  StartWithAdapter();
  Profile office = CLinkscopeApp::DefaultProfile();
  office.name = "Office";
  ASSERT_TRUE(app.Profiles().Save(office, false));
  library.Fail(OID_PRIV_ALL_SETTINGS);
  library.Fail(OID_PRIV_CONFIGURATION);  // every switch fails with its message
  WindowHandle open = 0;
  DoubleClickAnd([&](WindowHandle dialog, FakeDialogItems&) {
    open = dialog;
    dialogs.ChooseComboItem(dialog, kIdProfileSelector, 1);  // the dialog's own handler
    windows.menuChoice = [](const std::vector<MenuItem>&) { return CMainFrame::kCmdFirstProfile + 1; };
    windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1, kMouseRightUp);
    windows.menuChoice = nullptr;
    dialogs.PressEscape(dialog);
  });
  // The Status page reports its own failed reads too; every box belongs to the dialog.
  int refusedSwitches = 0;
  for (const auto& message : windows.messages) {
    if (message.text == "Cannot set device configuration") ++refusedSwitches;
    EXPECT_EQ(open, message.owner) << message.text;
  }
  EXPECT_EQ(2, refusedSwitches);
  // Closed, the dialog gives its messages back to the main window.
  const std::size_t before = windows.messages.size();
  app.SettingsDialog().SwitchProfile(1);
  ASSERT_EQ(before + 1, windows.messages.size());
  EXPECT_EQ("Cannot set device configuration", windows.messages.back().text);
  EXPECT_EQ(frame, windows.messages.back().owner);
}

// Each opening builds its page before anything acts on it, and once the dialog is closed no
// page is taken for the one on screen.
TEST_F(SettingsDialog, TheCurrentPageAlwaysHasItsWindow) {
  StartWithAdapter();
  const auto pageHasItsWindow = [&] {
    const CLayoutPage* page = app.SettingsDialog().CurrentPage();
    return page == nullptr || (page->Window() != 0 && dialogs.Exists(page->Window()));
  };
  for (std::uint32_t command : {CMainFrame::kCmdAbout, CMainFrame::kCmdSettings}) {
    dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
      EXPECT_NE(nullptr, app.SettingsDialog().CurrentPage());
      EXPECT_TRUE(pageHasItsWindow());
      dialogs.PressEscape(dialog);
    };
    app.MainFrame()->OnCommand(command);
    dialogs.modalLoop = nullptr;
    EXPECT_TRUE(pageHasItsWindow()) << "after closing";
  }
}

// A message box runs messages: while the Status page's opening failure is told, the tick may
// close the dialog (the card went). The page's window is gone by then and nothing touches it.
TEST_F(SettingsDialog, APageClosedUnderItsOpeningMessageIsLeftAlone) {
  StartWithAdapter();
  int closed = 0;
  windows.answer = [&](const FakeWindowSystem::Message& m) {
    if (m.text == "Failed to get configuration" && dialogs.Exists(app.SettingsDialog().DialogWindow())) {
      ++closed;
      dialogs.DestroyNow(app.SettingsDialog().DialogWindow());
    }
    return 1;
  };
  windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1, kMouseLeftDoubleClick);
  EXPECT_EQ(1, closed);
  EXPECT_TRUE(dialogs.Pages().empty());
}

// Without always on top the dialog leaves the topmost band for the top of the normal
// windows, not for their bottom.
TEST_F(SettingsDialog, OpeningPlacesItAmongTheWindows) {
  StartWithAdapter();
  for (bool onTop : {true, false}) {
    if (app.MainFrame()->AlwaysOnTop() != onTop) app.MainFrame()->OnCommand(CMainFrame::kCmdAlwaysOnTop);
    windows.placements.clear();
    DoubleClickAnd([&](WindowHandle dialog, FakeDialogItems&) { dialogs.PressEscape(dialog); });
    using Placements = std::vector<std::pair<WindowHandle, std::string>>;
    const Placements expected = onTop ? Placements{{frame, "topmost"}}
                                      : Placements{{frame, "not topmost"}, {frame, "top"}};
    EXPECT_EQ(expected, windows.placements) << "always on top " << onTop;
  }
}


TEST(SettingsDialogKeys, TabVisitsFrameAndPageAsOne) {
  bool byWindows = false;
  DialogOnSimMachine rig(OsKind::WinXP, CardNearTwoNetworks());
  rig.app.Link().SetWindowsConfigCheck([&] { return byWindows; });
  ASSERT_NO_FATAL_FAILURE(rig.Start());
  using S = CStatusPage;
  using E = CEncryptionPage;
  using A = CAdvancedPage;
  using P = CProfilesPage;
  const struct Row {
    int tab;
    bool byWindows;
    std::vector<int> page;  // between the tabs and Exit
  } rows[] = {
      {0, false, {S::kIdChange, S::kIdHistory, S::kIdStatusLine}},
      {0, true, {S::kIdHistory, S::kIdStatusLine}},
      {1, false, {CStatisticsPage::kIdResetButton}},
      {2, false,
       {CSiteSurveyPage::kIdList, CSiteSurveyPage::kIdViewList, CSiteSurveyPage::kIdRepeat,
        CSiteSurveyPage::kIdRescan}},
      {2, true, {}},
      {3, false, {E::kIdLevel, E::kIdSubmit}},  // WEP off: the rest waits for a level
      {3, true, {}},
      // A radio group is one stop, at its chosen button.
      {4, false, {A::kIdAuto, A::kIdFrag, A::kIdRts, A::kIdPowerSave, A::kIdSubmit}},
      {4, true, {}},
      {5, false, {P::kIdList, P::kIdNew}},
      {6, false, {}},
  };
  for (const Row& row : rows) {
    byWindows = row.byWindows;
    rig.InDialog([&](WindowHandle dialog) {
      FakeDialogItems& items = *rig.dialogs.Items(dialog);
      for (int i = 0; i < row.tab; ++i) rig.dialogs.PressKey(dialog, DialogKey::NextTab);
      ASSERT_EQ(row.tab, items.TabSelection(kIdTabControl));
      std::vector<int> expected = {kIdAdapterSelector};
      if (!row.byWindows) expected.push_back(kIdProfileSelector);
      expected.push_back(kIdTabControl);
      expected.insert(expected.end(), row.page.begin(), row.page.end());
      expected.push_back(kIdCancel);
      EXPECT_EQ(expected, rig.dialogs.TabSequence(dialog)) << row.tab << (row.byWindows ? " XP" : "");
      // Ctrl+Tab came here and left the focus on the tabs; Ctrl+Shift+Tab goes back, round.
      if (row.tab > 0) {
        EXPECT_EQ(kIdTabControl, items.FocusedControl());
      }
      EXPECT_TRUE(rig.dialogs.PressKey(dialog, DialogKey::PreviousTab));
      EXPECT_EQ(kPageResourceIds[(row.tab + 6) % 7], rig.dialogs.ResourceOf(rig.dialogs.Pages().back()));
      rig.dialogs.PressEscape(dialog);
    });
  }
}

}  // namespace
}  // namespace linkscope::testing
