#include <gtest/gtest.h>

#include "app/TrayIcon.h"
#include "fakes/FakeWindowSystem.h"

namespace linkscope {
namespace {

class TrayIconTest : public ::testing::Test {
 protected:
  TrayIconTest() : tray(windows) {
    owner = windows.AddForeignWindow("main");
    tray.Attach(owner, 0xC123);
  }
  FakeWindowSystem windows;
  TrayIcon tray;
  WindowHandle owner;
};

TEST_F(TrayIconTest, AddsOnceThenModifiesThenDeletes) {
  EXPECT_TRUE(tray.Set(0x1420, "Linkscope"));
  EXPECT_TRUE(tray.Shown());
  EXPECT_TRUE(tray.Set(0x1430, "Linkscope"));
  EXPECT_TRUE(tray.Set(0, "Linkscope"));
  EXPECT_FALSE(tray.Shown());
  ASSERT_EQ(3u, windows.trayCalls.size());
  EXPECT_EQ(TrayAction::Add, windows.trayCalls[0].action);
  EXPECT_EQ(TrayAction::Modify, windows.trayCalls[1].action);
  EXPECT_EQ(TrayAction::Delete, windows.trayCalls[2].action);
  const TrayIconRecord& r = windows.trayCalls[0].record;
  EXPECT_EQ(owner, r.owner);
  EXPECT_EQ(1u, r.id);
  EXPECT_EQ(kTrayFlagMessage | kTrayFlagIcon | kTrayFlagTip, r.flags);
  EXPECT_EQ(0xC123u, r.callbackMessage);
  EXPECT_TRUE(windows.tray.empty());
}

TEST_F(TrayIconTest, LongTipIsCutToSixtyThreeCharacters) {
  const std::string tip(70, 'x');
  ASSERT_TRUE(tray.Set(0x1420, tip));
  EXPECT_EQ(std::string(63, 'x'), windows.trayCalls[0].record.tip);
  ASSERT_TRUE(tray.Set(0x1420, std::string(63, 'y')));
  EXPECT_EQ(std::string(63, 'y'), windows.trayCalls[1].record.tip);
}

TEST_F(TrayIconTest, RefusedAddIsTriedAgainAsAnAdd) {
  windows.trayRefuses = true;
  EXPECT_FALSE(tray.Set(0x1420, "Linkscope"));
  EXPECT_FALSE(tray.Shown());
  windows.trayRefuses = false;
  EXPECT_TRUE(tray.Set(0x1430, "Linkscope"));
  EXPECT_EQ(TrayAction::Add, windows.trayCalls.back().action);
  EXPECT_EQ(1u, windows.tray.size());
}

}  // namespace
}  // namespace linkscope
