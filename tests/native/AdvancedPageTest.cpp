// The Advanced page on the simulated adapter: the trackbars and their labels, Submit by Enter
// back to the Status page, what it sends and stores, and the Windows-configuration lock.

#include <gtest/gtest.h>

#include <memory>

#include "device/Oids.h"
#include "native/DialogOnSimMachine.h"
#include "ui/CAdvancedPage.h"
#include "ui/CSettingsDlg.h"

namespace linkscope::testing {
namespace {

using Page = CAdvancedPage;
constexpr int kAdvancedTab = 4;

class AdvancedPageOnSimMachine : public ::testing::Test {
 protected:
  void Boot(OsKind kind = OsKind::Win2000) {
    rig = std::make_unique<DialogOnSimMachine>(kind, CardNearTwoNetworks());
    rig->Start();
  }
  void ToAdvanced(WindowHandle dialog) {
    rig->dialogs.ChooseTab(dialog, kIdTabControl, kAdvancedTab);
    ASSERT_EQ(kAdvancedPageId, rig->PageResource());
  }
  // The user moves a thumb: the trackbar takes the position and redraws.
  void Drag(int id, int position) {
    P().TrackSetPos(id, position);
    rig->dialogs.Notify(rig->PageWindow(), DialogNotification{id, kNmCustomDraw, -1});
  }
  FakeDialogItems& P() { return rig->Page(); }
  std::unique_ptr<DialogOnSimMachine> rig;
};

TEST_F(AdvancedPageOnSimMachine, ThumbsShowTheirValueAndWhetherTheFeatureIsOn) {
  Boot();
  rig->InDialog([&](WindowHandle dialog) {
    ToAdvanced(dialog);
    EXPECT_TRUE(P().DialogVisible());
    // The driver's defaults: both thresholds off, automatic preamble.
    EXPECT_EQ("2346", P().Text(Page::kIdFragValue));
    EXPECT_EQ("Disabled", P().Text(Page::kIdFragIndication));
    EXPECT_EQ("2347", P().Text(Page::kIdRtsValue));
    EXPECT_EQ(kCheckChecked, P().Check(Page::kIdAuto));
    EXPECT_EQ("Po&wer Save", P().Text(Page::kIdPowerSave));
    Drag(Page::kIdFrag, 2345);
    EXPECT_EQ("2345", P().Text(Page::kIdFragValue));
    EXPECT_EQ("Enabled", P().Text(Page::kIdFragIndication));
    Drag(Page::kIdFrag, 5000);
    EXPECT_EQ("2346", P().Text(Page::kIdFragValue));
    EXPECT_EQ("Disabled", P().Text(Page::kIdFragIndication));
    Drag(Page::kIdRts, 0);
    EXPECT_EQ("1", P().Text(Page::kIdRtsValue));
    EXPECT_EQ("Enabled", P().Text(Page::kIdRtsIndication));
    // Escape does nothing here.
    rig->dialogs.PressEscape(rig->PageWindow());
    EXPECT_TRUE(rig->app.SettingsDialog().IsOpen());
    EXPECT_EQ(kAdvancedPageId, rig->PageResource());
  });
}

TEST_F(AdvancedPageOnSimMachine, EnterSendsTheRecordItReadAndReturnsToStatus) {
  Boot();
  Profile office = CLinkscopeApp::DefaultProfile();
  office.name = "Office";
  ASSERT_TRUE(rig->app.Profiles().Save(office, false));
  rig->app.CurrentProfile().currentName = "Office";
  rig->app.CurrentProfile().inSync = true;
  // Opened by About: the Status page never read anything in this dialog.
  rig->InDialog(
      [&](WindowHandle dialog) {
        ASSERT_EQ(kInfoPageId, rig->PageResource());
        ToAdvanced(dialog);
        Drag(Page::kIdFrag, 1200);
        Drag(Page::kIdRts, 2347);
        P().CheckRadio(Page::kIdLong, Page::kIdAuto, Page::kIdShort);
        P().SetCheck(Page::kIdPowerSave, kCheckChecked);
        rig->dialogs.PressEnter(rig->PageWindow());
        EXPECT_TRUE(rig->MessageTexts().empty());

        const DeviceConfig card = rig->Card().CurrentConfig();
        EXPECT_EQ("Harbour", card.SsidBytes()) << "the rest of the record as read";
        EXPECT_EQ(1, card.operatingMode);
        EXPECT_EQ(1, card.preamble);
        EXPECT_EQ(1200, card.fragThreshold);
        EXPECT_EQ(2347, card.rtsThreshold);
        EXPECT_EQ(1, card.powerSave);
        EXPECT_EQ("1", rig->DriverValue("PreambleType"));
        EXPECT_EQ("1200", rig->DriverValue("Frag_Threshold"));
        EXPECT_EQ("2347", rig->DriverValue("RTS_Threshold"));
        EXPECT_EQ("1", rig->DriverValue("PowerMgmtMode"));
        EXPECT_EQ(0, rig->app.SettingsDialog().CurrentTab());
        EXPECT_EQ(kStatusPageId, rig->PageResource());
        EXPECT_FALSE(rig->app.CurrentProfile().inSync);
        EXPECT_EQ("Office*", rig->dialogs.Items(dialog)->Text(kIdProfileSelector));
      },
      true);
}

TEST_F(AdvancedPageOnSimMachine, RefusedOrUnreadRecordsChangeNothing) {
  Boot();
  rig->InDialog([&](WindowHandle dialog) {
    ToAdvanced(dialog);
    // The driver refuses the set: the page stays with the user's settings.
    rig->machine.env.adapters[0].faults.push_back(
        {OID_PRIV_CONFIGURATION, sim::SimFault::Kind::Fail, 31});
    rig->machine.host->SetEnvironment(rig->machine.env);
    Drag(Page::kIdFrag, 1000);
    const bool inSync = rig->app.CurrentProfile().inSync;
    rig->dialogs.PressEnter(rig->PageWindow());
    EXPECT_EQ(std::vector<std::string>{"Failed to set parameters"}, rig->MessageTexts());
    EXPECT_EQ(kAdvancedPageId, rig->PageResource());
    EXPECT_EQ("1000", P().Text(Page::kIdFragValue));
    EXPECT_NE("1000", rig->DriverValue("Frag_Threshold"));
    EXPECT_EQ(inSync, rig->app.CurrentProfile().inSync);

    // The configuration cannot be read: the page stays hidden and sends nothing.
    rig->dialogs.ChooseTab(dialog, kIdTabControl, 0);
    ToAdvanced(dialog);
    EXPECT_FALSE(P().DialogVisible());
    EXPECT_EQ(0, P().timesShown) << "the page flashed up before it hid";
    EXPECT_EQ("Failed to get configuration", rig->MessageTexts().back());
    rig->oids.clear();
    rig->dialogs.PressEnter(rig->PageWindow());
    EXPECT_TRUE(rig->oids.empty());
  });
}

TEST_F(AdvancedPageOnSimMachine, WindowsConfigurationLocksTheSettingsButNotTheReadings) {
  Boot();
  rig->InDialog([&](WindowHandle dialog) {
    ToAdvanced(dialog);
    CAdapterLink& link = rig->app.Link();
    link.configuredByWindows = 1;
    rig->app.SettingsDialog().ApplyWindowsConfigurationState();
    for (int id : {Page::kIdSubmit, Page::kIdPowerSave, Page::kIdFrag, Page::kIdRts,
                   Page::kIdFragValue, Page::kIdRtsValue, Page::kIdLong, Page::kIdShort,
                   Page::kIdAuto}) {
      EXPECT_FALSE(P().IsEnabled(id)) << id;
    }
    EXPECT_EQ("2346", P().Text(Page::kIdFragValue));
    EXPECT_EQ("Disabled", P().Text(Page::kIdFragIndication));
    rig->oids.clear();
    rig->dialogs.PressEnter(rig->PageWindow());
    EXPECT_TRUE(rig->oids.empty()) << "Enter reaches no disabled Submit";

    // A page opened meanwhile starts locked, and gets everything back when Windows lets go.
    rig->dialogs.ChooseTab(dialog, kIdTabControl, 0);
    ToAdvanced(dialog);
    EXPECT_FALSE(P().IsEnabled(Page::kIdFrag));
    link.configuredByWindows = 0;
    rig->app.SettingsDialog().ApplyWindowsConfigurationState();
    for (int id : {Page::kIdSubmit, Page::kIdPowerSave, Page::kIdFrag, Page::kIdRts,
                   Page::kIdLong}) {
      EXPECT_TRUE(P().IsEnabled(id)) << id;
    }
  });
}

}  // namespace
}  // namespace linkscope::testing
