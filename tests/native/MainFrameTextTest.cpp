// Start-up with a language file: the language restored from the user's settings, the title
// taken from it, and what the main frame reads when it is created.

#include <gtest/gtest.h>

#include "app/CLinkscopeApp.h"
#include "fakes/FakePcCardProbe.h"
#include "fakes/FakeDialogSystem.h"
#include "fakes/FakePrivateProfile.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeRequestLibrary.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeWindowSystem.h"
#include "text/OemSettings.h"

namespace linkscope {
namespace {

const std::string kFile =
    "[Languages]\r\nLanguage-1=English\r\nLanguage-2=Deutsch\r\nLanguage-3=Fran\xE7" "ais\r\n"
    "Deutsch=1\r\nFran\xE7" "ais=1\r\n"
    "[English]\r\nDlgTitle=Linkscope Utility\r\nDevicePollingTimerMsec=250ms\r\n"
    "DeviceDescription-1=Acme Card\r\nDeviceDescription-3=Acme USB\r\n"
    "[Deutsch]\r\nDlgTitle=Linkscope-Dienstprogramm\r\nToolTipText=Funk\r\n"
    "[Fran\xE7" "ais]\r\nDlgTitle=Utilitaire r\xE9seau\r\n";

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

class MainFrameTextTest : public ::testing::Test {
 protected:
  void StoreLanguage(const std::string& bytes, std::uint32_t type = kRegSz) {
    registry.WriteValue(kRegCurrentUser, CMainFrame::kSettingsKey, "Language", type, Bytes(bytes));
  }
  std::string StartAndTitle() {
    app = std::make_unique<CLinkscopeApp>(platform);
    if (!app->InitInstance()) return "<not started>";
    return windows.TitleOf(app->MainFrame()->Window());
  }
  FakeRegistry registry;
  FakePrivateProfile profile;
  FakeSystem system;
  FakeWindowSystem windows;
  FakeRequestLibrary requests;
  FakePcCardProbe pcCards;
  FakeDialogSystem dialogs;
  Platform platform{registry, profile, system, windows, requests, pcCards, dialogs};
  std::unique_ptr<CLinkscopeApp> app;
};

TEST_F(MainFrameTextTest, FirstLanguageWhenNothingIsStored) {
  profile.SetFile(".\\res\\Wlan.ini", kFile);
  EXPECT_EQ("Linkscope Utility", StartAndTitle());
  EXPECT_EQ("English", app->Language().CurrentLanguage());
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST_F(MainFrameTextTest, StoredLanguageGivesItsTitleWhenTheFileMarksIt) {
  profile.SetFile(".\\res\\Wlan.ini", kFile);
  StoreLanguage("Deutsch");  // written without its NUL, as the program writes it
  EXPECT_EQ("Linkscope-Dienstprogramm", StartAndTitle());
  EXPECT_EQ("Funk", app->MainFrame()->ToolTipText());
}

TEST_F(MainFrameTextTest, AccentedLanguageNameStoredWithOneBytePerLetter) {
  profile.SetFile(".\\res\\Wlan.ini", kFile);
  StoreLanguage(std::string("Fran\xE7" "ais") + '\0');
  EXPECT_EQ("Utilitaire r\xE9seau", StartAndTitle());
}

TEST_F(MainFrameTextTest, UnmarkedMissingOrOddStoredValuesFallBackToTheFirstLanguage) {
  profile.SetFile(".\\res\\Wlan.ini",
                  kFile + "[Languages]\r\n");  // the first section of a name is the one read
  const std::pair<std::string, std::uint32_t> stored[] = {
      {"Dansk", kRegSz},
      {"NoLanguageYet", kRegSz},
      {"Deutsch", kRegBinary},
      {"\x44\x00\x00\x00", kRegDword},
      {std::string(2100, 'D'), kRegSz},
      {"", kRegSz},
  };
  for (const auto& s : stored) {
    FakeWindowSystem localWindows;
    Platform local{registry, profile, system, localWindows, requests, pcCards, dialogs};
    StoreLanguage(s.first, s.second);
    CLinkscopeApp localApp(local);
    ASSERT_TRUE(localApp.InitInstance());
    EXPECT_EQ("English", localApp.Language().CurrentLanguage()) << s.first.substr(0, 20);
    EXPECT_EQ(0u, registry.OpenHandleCount());
  }
}

TEST_F(MainFrameTextTest, CreationReadsPeriodDescriptionsAndResourceFolder) {
  profile.SetFile(".\\res\\Wlan.ini", kFile);
  system.currentDirectory = "C:\\Linkscope";
  StartAndTitle();
  CMainFrame* frame = app->MainFrame();
  EXPECT_EQ("C:\\Linkscope\\res\\", frame->ResourceDirectory());
  EXPECT_EQ(250u, frame->PollingPeriod());
  EXPECT_EQ(std::vector<std::string>{"Acme Card"}, frame->DeviceDescriptions());
  EXPECT_EQ("Linkscope", frame->ToolTipText());
  // The list is built once: a later language change leaves it alone.
  app->Language().SetCurrentLanguage("Deutsch");
  EXPECT_EQ(std::vector<std::string>{"Acme Card"}, frame->DeviceDescriptions());
}

TEST_F(MainFrameTextTest, WithoutAFileEverythingIsBuiltIn) {
  EXPECT_EQ("Linkscope Utility", StartAndTitle());
  CMainFrame* frame = app->MainFrame();
  EXPECT_EQ(1000u, frame->PollingPeriod());
  EXPECT_EQ(OemSettings::BuiltInDeviceDescriptions(), frame->DeviceDescriptions());
  EXPECT_TRUE(app->Language().Languages().empty());
  EXPECT_EQ(0, profile.lookups);
}

TEST_F(MainFrameTextTest, InstancesWithDifferentTitlesDoNotSeeEachOther) {
  profile.SetFile(".\\res\\Wlan.ini", kFile);
  CLinkscopeApp english(platform);
  ASSERT_TRUE(english.InitInstance());
  StoreLanguage("Deutsch");
  CLinkscopeApp german(platform);
  EXPECT_TRUE(german.InitInstance());
  CLinkscopeApp secondGerman(platform);
  EXPECT_FALSE(secondGerman.InitInstance());
  EXPECT_EQ(1u, system.beeps.size());
}

TEST_F(MainFrameTextTest, TitleTextIsUsedAsItIsNeverAsAFormat) {
  profile.SetFile(".\\res\\Wlan.ini",
                  "[Languages]\r\nLanguage-1=E\r\n[E]\r\nDlgTitle=%s%n%s%n%x\r\n");
  EXPECT_EQ("%s%n%s%n%x", StartAndTitle());
}

// An empty title would find any untitled window, and one equal to the neutral search title
// would find the program itself: either way it could never start.
TEST_F(MainFrameTextTest, TitlesThatWouldAlwaysStopTheStartAreMadeHarmless) {
  windows.AddForeignWindow("");
  profile.SetFile(".\\res\\Wlan.ini", "[Languages]\r\nLanguage-1=E\r\n[E]\r\nDlgTitle=\r\n");
  EXPECT_EQ("Linkscope Utility", StartAndTitle());
  app.reset();

  FakeWindowSystem localWindows;
  Platform local{registry, profile, system, localWindows, requests, pcCards, dialogs};
  profile.SetFile(".\\res\\Wlan.ini", "[Languages]\r\nLanguage-1=E\r\n[E]\r\nDlgTitle=TempName\r\n");
  CLinkscopeApp localApp(local);
  ASSERT_TRUE(localApp.InitInstance());
  EXPECT_EQ("TempName", localWindows.TitleOf(localApp.MainFrame()->Window()));
  EXPECT_TRUE(system.beeps.empty());
}

}  // namespace
}  // namespace linkscope
