// The Info page on the whole program with a scripted adapter: versions, MAC address, logo and
// labels, the tick's refresh and the failures.

#include <gtest/gtest.h>

#include "native/ScriptedApp.h"
#include "ui/CInfoPage.h"
#include "ui/DialogLayouts.h"

namespace linkscope::testing {
namespace {

TEST(InfoPageTexts, VersionsAreDecimalAndTheApplicationsIsItsOwn) {
  struct Row {
    std::vector<std::uint8_t> record;
    const char* driver;
    const char* firmware;
  };
  const Row rows[] = {
      {{1, 2, 3, 4, 0, 1, 0, 0, 0, 2, 0, 7, 0}, "1.2.3.4", "1.0.2.7"},
      {{255, 0, 9, 0x34, 0x12, 0x34, 0x12, 0xFF, 0xFF, 0, 0, 1, 0}, "255.0.9.4660",
       "4660.65535.0.1"},
  };
  for (const Row& row : rows) {
    VersionInfo info;
    ASSERT_TRUE(VersionInfo::Decode(row.record.data(), row.record.size(), &info));
    EXPECT_EQ(row.driver, CInfoPage::DriverVersionText(info));
    EXPECT_EQ(row.firmware, CInfoPage::FirmwareVersionText(info));
  }
  EXPECT_EQ("3.3.4.40", CInfoPage::ApplicationVersionText());
  EXPECT_EQ("00-60-1D-0A-BC-FF", CInfoPage::MacAddressText({0x00, 0x60, 0x1D, 0x0A, 0xBC, 0xFF}));
}

class InfoPage : public ScriptedApp {
 protected:
  InfoPage() {
    library.Answer(OID_PRIV_VERSION, {1, 2, 3, 4, 0, 1, 0, 0, 0, 2, 0, 7, 0});
    library.Answer(OID_802_3_CURRENT_ADDRESS, {0x00, 0x60, 0x1D, 0x4A, 0x21, 0x07});
  }
  void WithLogo(const std::string& logo) {
    profile.SetFile(".\\res\\Wlan.ini", "[Languages]\r\nLanguage-1=English\r\n[English]\r\n"
                                        "LogoBmp=" + logo + "\r\nAppVer=Program\r\n");
  }
  // Opens the dialog on the Info page (the tray's About) and runs `inside` in its loop.
  void AboutAnd(const std::function<void(WindowHandle, FakeDialogItems&)>& inside) {
    if (frame == 0) {
      Start();
      Tick();
      Tick();
    }
    ASSERT_EQ(1u, app.Link().AdapterCount());
    bool ran = false;
    dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
      ran = true;
      const auto pages = dialogs.Pages();
      ASSERT_EQ(kInfoPageId, dialogs.ResourceOf(pages.back()));
      inside(dialog, *dialogs.Items(pages.back()));
      dialogs.PressEscape(dialog);
    };
    app.MainFrame()->OnCommand(CMainFrame::kCmdAbout);
    dialogs.modalLoop = nullptr;
    EXPECT_TRUE(ran);
  }
};

TEST_F(InfoPage, ShowsTheAdaptersVersionsAndAddressWithTheLogoAndFollowsTheTick) {
  WithLogo("linkscope-logo.bmp");
  bool logoAsked = false;
  AboutAnd([&](WindowHandle, FakeDialogItems& page) {
    logoAsked = true;
    EXPECT_TRUE(page.DialogVisible());
    EXPECT_EQ("1.2.3.4", page.Text(CInfoPage::kIdDriverVersion));
    EXPECT_EQ("1.0.2.7", page.Text(CInfoPage::kIdFirmwareVersion));
    EXPECT_EQ("3.3.4.40", page.Text(CInfoPage::kIdApplicationVersion));
    EXPECT_EQ("00-60-1D-4A-21-07", page.Text(CInfoPage::kIdMacAddress));
    EXPECT_EQ("&Driver Version", page.Text(CInfoPage::kIdDriverLabel));
    EXPECT_EQ("Program", page.Text(CInfoPage::kIdApplicationLabel));
    EXPECT_EQ("&MAC Address", page.Text(CInfoPage::kIdMacLabel));
    // The named file is not there: no image, and no word about it.
    EXPECT_FALSE(page.HasImage(CInfoPage::kIdLogo));

    // The tick reads the versions again: a new firmware shows; a failed MAC query keeps the
    // address; a driver that stops answering the versions hides the page without a message.
    const std::size_t shown = windows.messages.size();
    library.Answer(OID_PRIV_VERSION, {1, 2, 3, 4, 0, 1, 0, 0, 0, 3, 0, 0, 0});
    library.Fail(OID_802_3_CURRENT_ADDRESS);
    Tick();
    EXPECT_EQ("1.0.3.0", page.Text(CInfoPage::kIdFirmwareVersion));
    EXPECT_EQ("00-60-1D-4A-21-07", page.Text(CInfoPage::kIdMacAddress));
    library.Answer(OID_PRIV_VERSION, {1, 2, 3});  // another byte count
    Tick();
    EXPECT_FALSE(page.DialogVisible());
    library.Answer(OID_PRIV_VERSION, {1, 2, 3, 4, 0, 1, 0, 0, 0, 2, 0, 7, 0});
    Tick();
    EXPECT_TRUE(page.DialogVisible());
    EXPECT_EQ(shown, windows.messages.size());
  });
  EXPECT_TRUE(logoAsked);
}

TEST_F(InfoPage, TheLogoComesFromTheResourceFolderAndAnEmptyNameLeavesNone) {
  WithLogo("linkscope-logo.bmp");
  dialogs.imageFiles.insert(system.currentDirectory + "\\res\\linkscope-logo.bmp");
  AboutAnd([&](WindowHandle, FakeDialogItems& page) {
    EXPECT_TRUE(page.HasImage(CInfoPage::kIdLogo));
  });
  // An empty name would name the folder itself; nothing is loaded.
  WithLogo("");
  dialogs.imageFiles.insert(system.currentDirectory + "\\res\\");
  AboutAnd([&](WindowHandle, FakeDialogItems& page) {
    EXPECT_FALSE(page.HasImage(CInfoPage::kIdLogo));
  });
}

// The versions shown, the page is too; without them it stays hidden, as the other pages do.
TEST_F(InfoPage, AFailedQueryOnOpeningIsSaidOnceEvenWhenOnlyTheAddressFails) {
  library.Fail(OID_802_3_CURRENT_ADDRESS);
  AboutAnd([&](WindowHandle, FakeDialogItems& page) {
    EXPECT_EQ("1.2.3.4", page.Text(CInfoPage::kIdDriverVersion));
    EXPECT_EQ("", page.Text(CInfoPage::kIdMacAddress));
    EXPECT_EQ(1u, MessagesSaying("Failed to get version information"));
    EXPECT_TRUE(page.DialogVisible());
  });
  library.Fail(OID_PRIV_VERSION);
  AboutAnd([&](WindowHandle, FakeDialogItems& page) {
    EXPECT_EQ(2u, MessagesSaying("Failed to get version information"));
    EXPECT_FALSE(page.DialogVisible());
  });
}

}  // namespace
}  // namespace linkscope::testing
