#include <gtest/gtest.h>

#include <map>

#include "app/LinkTooltip.h"
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

// The shell shows 127 bytes of the tip; a cut takes whole words, and never splits a character.
TEST_F(TrayIconTest, TipAndBalloonAreCutAtWholeWords) {
  const std::string word9 = "abcdefgh ";  // nine bytes with its blank
  std::string long14;
  for (int i = 0; i < 14; ++i) long14 += word9;  // 126 bytes
  const std::string euro = "\xE2\x82\xAC";       // one character, three bytes of UTF-8
  const struct {
    std::string tip;
    std::string shown;
  } cases[] = {
      {std::string(127, 'x'), std::string(127, 'x')},
      {long14 + "x", long14 + "x"},                                // 127: fits
      {long14 + "xy", long14.substr(0, 125)},                      // the word that spills goes
      {long14.substr(0, 125) + "\nSignal", long14.substr(0, 125)}, // a break counts as a blank
      {std::string(126, 'x') + euro, std::string(126, 'x')},       // one word: not inside a character
      {std::string(124, 'x') + euro + "y", std::string(124, 'x') + euro},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(tray.Set(0x1420, c.tip));
    EXPECT_EQ(c.shown, windows.trayCalls.back().record.tip) << c.tip;
    EXPECT_EQ(0u, windows.trayCalls.back().record.flags & kTrayFlagInfo);
  }
  const TrayBalloon balloon{std::string(70, 't'), "Connected to Harbour"};
  ASSERT_TRUE(tray.Set(0x1420, "Linkscope", &balloon));
  const TrayIconRecord& r = windows.trayCalls.back().record;
  EXPECT_EQ(kTrayFlagMessage | kTrayFlagIcon | kTrayFlagTip | kTrayFlagInfo, r.flags);
  EXPECT_EQ(std::string(63, 't'), r.infoTitle);
  EXPECT_EQ("Connected to Harbour", r.info);
}

// The tooltip for each state the tick can find, in two languages, and cut to the shell's limit.
TEST(LinkTooltipTest, NamesTheStateTheNetworkAndTheBars) {
  struct German : ITextSource {
    std::string Lookup(const std::string& key, const std::string& def) const override {
      static const std::map<std::string, std::string> k = {
          {"SignalStrength", "Signalst\xE4rke"}, {"LinkQuality", "Verbindungsqualit\xE4t"},
          {"TrayNoAdapter", "Kein Adapter"}};
      return k.count(key) != 0 ? k.at(key) : def;
    }
  };
  const TrayTexts english = TrayTexts::Load(DefaultTexts());
  const TrayTexts german = TrayTexts::Load(German());
  auto linked = [](std::uint8_t state, const std::string& ssid, std::uint8_t mode = 1) {
    LinkSnapshot s;
    s.adapter = true;
    s.deviceState = state;
    DeviceConfig c;
    c.state = state;
    c.operatingMode = mode;
    c.SetSsid(ssid);
    s.config = c;
    if (state == 5 && mode == 1) {
      s.signalPercent = 80;
      s.qualityPercent = 75;
    }
    return s;
  };
  LinkSnapshot scanning;
  scanning.adapter = true;
  scanning.deviceState = 1;
  scanning.statusText = "Scanning...";
  LinkSnapshot refused = linked(241, "Harbour");
  refused.statusText = "Authentication Error. Check Encryption Settings";
  LinkSnapshot radioOff = linked(5, "Harbour");
  radioOff.radio = 0;
  radioOff.statusText = "Radio is OFF...";
  TrayTexts longName = english;
  longName.toolTip = std::string(45, 'N');
  const std::string ssid32(32, 'S');
  const struct {
    LinkSnapshot snapshot;
    const TrayTexts* texts;
    std::string tip;
  } cases[] = {
      {linked(5, "Harbour"), &english,
       "Linkscope\nAssociated - Harbour\nSignal Strength: 80 %, Link Quality: 75 %"},
      {linked(5, "Harbour"), &german,
       "Linkscope\nAssociated - Harbour\nSignalst\xE4rke: 80 %, Verbindungsqualit\xE4t: 75 %"},
      {linked(5, "Cell", 0), &english, "Linkscope\nReady - Cell"},
      {linked(5, std::string("Bad\nName\0x", 10)), &english,
       "Linkscope\nAssociated - Bad?Name\nSignal Strength: 80 %, Link Quality: 75 %"},
      {scanning, &english, "Linkscope\nScanning..."},
      {refused, &german, "Linkscope\nAuthentication Error. Check Encryption Settings"},
      {radioOff, &english, "Linkscope\nRadio is OFF..."},
      {LinkSnapshot(), &german, "Linkscope\nKein Adapter"},
      // 45 + 1 + 45 + 1 + 41 bytes: the last line's words go until the tip fits.
      {linked(5, ssid32), &longName,
       std::string(45, 'N') + "\nAssociated - " + ssid32 + "\nSignal Strength: 80 %, Link"},
  };
  for (const auto& c : cases) {
    const std::string tip = LinkTooltip(c.snapshot, *c.texts);
    EXPECT_EQ(c.tip, tip);
    EXPECT_LE(tip.size(), kTrayTipCapacity - 1);
  }
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
