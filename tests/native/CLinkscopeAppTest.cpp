#include <gtest/gtest.h>

#include "app/CLinkscopeApp.h"
#include "fakes/FakePcCardProbe.h"
#include "fakes/FakeDialogSystem.h"
#include "fakes/FakePrivateProfile.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeRequestLibrary.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeWindowSystem.h"

namespace linkscope {
namespace {

class AppStartTest : public ::testing::Test {
 protected:
  FakeRegistry registry;
  FakePrivateProfile profile;
  FakeSystem system;
  FakeWindowSystem windows;
  FakeRequestLibrary requests;
  FakePcCardProbe pcCards;
  FakeDialogSystem dialogs;
  Platform platform{registry, profile, system, windows, requests, pcCards, dialogs};
};

TEST_F(AppStartTest, StartsHiddenWithTheDialogTitleAndThePerUserKey) {
  CLinkscopeApp app(platform);
  ASSERT_TRUE(app.InitInstance());
  ASSERT_NE(nullptr, app.MainFrame());
  const WindowHandle main = app.MainFrame()->Window();
  EXPECT_EQ("Linkscope Utility", windows.TitleOf(main));
  EXPECT_EQ((std::vector<std::string>{"Linkscope", "TempName", "Linkscope Utility"}),
            windows.titleHistory);
  EXPECT_TRUE(registry.HasKey(kRegCurrentUser, "Software\\ORVEX\\Linkscope"));
  EXPECT_EQ(0u, registry.OpenHandleCount());
  EXPECT_TRUE(windows.messages.empty());
  EXPECT_TRUE(system.beeps.empty());
  EXPECT_EQ(OsKind::OtherNt, app.GetOsKind());
}

TEST_F(AppStartTest, SocketsFailureShowsItsMessageAndStopsBeforeAnyWindow) {
  system.socketsWork = false;
  CLinkscopeApp app(platform);
  EXPECT_FALSE(app.InitInstance());
  ASSERT_EQ(1u, windows.messages.size());
  EXPECT_EQ("Windows sockets initialization failed.", windows.messages[0].text);
  EXPECT_EQ(kMbOk, windows.messages[0].style);
  EXPECT_EQ(0u, windows.WindowCount());
  EXPECT_FALSE(registry.HasKey(kRegCurrentUser, "Software\\ORVEX\\Linkscope"));
}

TEST_F(AppStartTest, AnotherWindowWithTheTitleEndsTheStartWithOneBeepAndNoMessage) {
  const WindowHandle first = windows.AddForeignWindow("Linkscope Utility");
  CLinkscopeApp app(platform);
  EXPECT_FALSE(app.InitInstance());
  EXPECT_EQ(std::vector<std::uint32_t>{kBeepExclamation}, system.beeps);
  EXPECT_TRUE(windows.messages.empty());
  // Only the foreign window is left; it is not brought forward or touched.
  EXPECT_EQ(1u, windows.WindowCount());
  EXPECT_EQ("Linkscope Utility", windows.TitleOf(first));
}

TEST_F(AppStartTest, OnlyAnExactTitleCounts) {
  windows.AddForeignWindow("linkscope utility");
  windows.AddForeignWindow("Linkscope Utility ");
  windows.AddForeignWindow("Linkscope");
  CLinkscopeApp app(platform);
  EXPECT_TRUE(app.InitInstance());
  EXPECT_TRUE(system.beeps.empty());
}

TEST_F(AppStartTest, TheSecondOfTwoInstancesEnds) {
  CLinkscopeApp first(platform);
  ASSERT_TRUE(first.InitInstance());
  CLinkscopeApp second(platform);
  EXPECT_FALSE(second.InitInstance());
  EXPECT_EQ(1u, system.beeps.size());
  EXPECT_EQ("Linkscope Utility", windows.TitleOf(first.MainFrame()->Window()));
}

TEST_F(AppStartTest, MainWindowCreationFailureEndsSilently) {
  windows.failCreate = true;
  CLinkscopeApp app(platform);
  EXPECT_FALSE(app.InitInstance());
  EXPECT_TRUE(windows.messages.empty());
  EXPECT_TRUE(system.beeps.empty());
}

TEST_F(AppStartTest, OsKindFollowsTheVersionRecord) {
  struct Row {
    std::uint32_t platform, major, minor;
    OsKind kind;
  };
  const Row rows[] = {
      {kPlatformNt, 4, 0, OsKind::NT4},         {kPlatformNt, 5, 0, OsKind::Win2000},
      {kPlatformNt, 5, 1, OsKind::WinXP},       {kPlatformNt, 5, 2, OsKind::Win2000},
      {kPlatformNt, 6, 0, OsKind::OtherNt},     {kPlatformNt, 10, 0, OsKind::OtherNt},
      {kPlatformNt, 3, 51, OsKind::OtherNt},    {kPlatformWin9x, 4, 0, OsKind::Win95},
      {kPlatformWin9x, 4, 10, OsKind::Win98Me}, {kPlatformWin9x, 4, 90, OsKind::Win98Me},
  };
  for (const Row& r : rows) {
    FakeWindowSystem localWindows;
    Platform local{registry, profile, system, localWindows, requests, pcCards, dialogs};
    system.version = OsVersion{r.major, r.minor, 0, r.platform, ""};
    CLinkscopeApp app(local);
    ASSERT_TRUE(app.InitInstance()) << r.platform << " " << r.major << "." << r.minor;
    EXPECT_EQ(r.kind, app.GetOsKind()) << r.platform << " " << r.major << "." << r.minor;
    EXPECT_TRUE(localWindows.messages.empty());
  }
}

TEST_F(AppStartTest, UnsupportedPlatformIsRefusedWithItsMessage) {
  for (bool versionWorks : {true, false}) {
    FakeWindowSystem localWindows;
    Platform local{registry, profile, system, localWindows, requests, pcCards, dialogs};
    system.version = OsVersion{3, 11, 0, kPlatformWin32s, ""};
    system.versionWorks = versionWorks;
    CLinkscopeApp app(local);
    EXPECT_FALSE(app.InitInstance());
    ASSERT_EQ(1u, localWindows.messages.size());
    EXPECT_EQ("Operating System not supported", localWindows.messages[0].text);
    EXPECT_EQ(kMbOk, localWindows.messages[0].style);
    // The main window already existed and is gone again.
    EXPECT_EQ(0u, localWindows.WindowCount());
  }
}

TEST_F(AppStartTest, ClosingTheMainWindowEndsTheMessageLoop) {
  CLinkscopeApp app(platform);
  ASSERT_TRUE(app.InitInstance());
  app.MainFrame()->OnClose();
  EXPECT_EQ(0u, windows.WindowCount());
  EXPECT_TRUE(windows.quitPosted);
  EXPECT_EQ(0, app.Run());
}

}  // namespace
}  // namespace linkscope
