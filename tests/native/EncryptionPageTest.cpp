// The Encryption page on a simulated adapter: what it shows, the key checks with the offending
// part selected, what Submit sends to the adapter and writes to the driver key, and the
// read-only state while Windows configures the card.

#include <gtest/gtest.h>

#include "device/Oids.h"
#include "device/WepConfig.h"
#include "native/PageOnSimMachine.h"
#include "sim/SimMiniport.h"
#include "ui/CEncryptionPage.h"

namespace linkscope::testing {
namespace {

using Page = CEncryptionPage;
constexpr int kEncryptionTab = 3;

const char* const kReadKeys[4] = {"0102030405060708090A0B0C0D", "1112131415161718191A1B1C1D",
                                  "2122232425262728292A2B2C2D", "3132333435363738393A3B3C3D"};

// A card reporting 128-bit WEP with shared key, key 2 to transmit, Optional mode.
sim::SimEnvironment CardWith128BitKeys(std::uint8_t cardType) {
  sim::SimEnvironment env;
  // A USB card: Windows 9x takes it without asking the PC-card service.
  sim::SimAdapterSetup card = Adapter("ORVEX USB Skyrelay (U1)", "SKYK1", cardType, "USB\\VID_1915&PID_1");
  card.parameters["ESSID"] = "Harbour";
  card.parameters["EncryptionLevel"] = "2";
  card.parameters["AuthenticationType"] = "1";
  card.parameters["WEP_KEY_INDEX"] = "1";
  card.parameters["WEP_Mode"] = "1";
  for (int k = 0; k < 4; ++k) card.parameters["WEP_KEY_" + std::to_string(k + 1)] = kReadKeys[k];
  env.adapters.push_back(card);
  return env;
}

class EncryptionPage : public PageOnSimMachine, public ::testing::Test {
 protected:
  explicit EncryptionPage(std::uint8_t cardType = 12, OsKind kind = OsKind::Win2000)
      : PageOnSimMachine(kind, CardWith128BitKeys(cardType)) {}

  void OnEncryptionPage(const std::function<void(WindowHandle, FakeDialogItems&)>& inside) {
    OnPage(kEncryptionTab, inside);
  }
  WepConfig AdapterWep() { return machine.host->Miniport("SKYK1")->Wep(); }
  std::vector<std::string> Keys(FakeDialogItems& items) {
    std::vector<std::string> keys;
    for (int k = 0; k < 4; ++k) keys.push_back(items.Text(Page::kIdKey1 + k));
    return keys;
  }
};

TEST_F(EncryptionPage, ShowsTheRecordAsReadWithItsLists) {
  Start();
  OnEncryptionPage([&](WindowHandle, FakeDialogItems& items) {
    EXPECT_TRUE(items.DialogVisible());
    ASSERT_EQ(3, items.ComboCount(Page::kIdLevel));
    EXPECT_EQ("128 Bit", items.ComboItemText(Page::kIdLevel, 2));
    EXPECT_EQ(2, items.ComboSelection(Page::kIdLevel));
    EXPECT_EQ(std::vector<std::string>(kReadKeys, kReadKeys + 4), Keys(items));
    EXPECT_EQ(1, items.ComboSelection(Page::kIdDefaultKey));
    EXPECT_EQ("Key #2", items.ComboItemText(Page::kIdDefaultKey, 1));
    EXPECT_EQ(1, items.ComboSelection(Page::kIdMode));
    EXPECT_EQ(1, items.ComboSelection(Page::kIdAuthentication));
    EXPECT_EQ(Page::kKeyTextLimit, items.EditLimit(Page::kIdKey1));
    EXPECT_EQ(0, items.EditPasswordChar(Page::kIdKey1));
    EXPECT_EQ("&Submit", items.Text(Page::kIdSubmit));
    for (int id : {Page::kIdKey1, Page::kIdMode, Page::kIdDefaultKey, Page::kIdAuthentication,
                   Page::kIdLevel, Page::kIdSubmit}) {
      EXPECT_TRUE(items.IsEnabled(id)) << id;
    }
  });
}

// One rule: the first key that fails, in key order, is reported with its offending part
// selected and focused, and nothing is sent; valid keys (lower case included) are sent.
TEST_F(EncryptionPage, KeyValidationReportsTheFirstOffendingPart) {
  struct Case {
    int level;
    std::array<const char*, 4> keys;
    const char* message;  // nullptr: valid, the record is sent
    int box;
    int selStart, selEnd;
  };
  const char* k10 = "0123456789";
  const char* k26 = "00112233445566778899AABBCC";
  const Case cases[] = {
      {1, {"012345678", k10, k10, k10}, "Invalid WEP Key length", Page::kIdKey1, 9, 9},
      {1, {"01234567890", k10, k10, k10}, "Invalid WEP Key length", Page::kIdKey1, 10, 11},
      {1, {"", k10, k10, k10}, "Invalid WEP Key length", Page::kIdKey1, 0, 0},
      {1, {k10, k10, k10, "abcdef01"}, "Invalid WEP Key length", Page::kIdKey4, 8, 8},
      {1, {"01234G6789", "1", k10, k10}, "Invalid WEP Key", Page::kIdKey1, 5, 6},
      {1, {k10, "12345", "x123456789", k10}, "Invalid WEP Key length", Page::kIdKey2, 5, 5},
      {1, {"abcdef0123", "ABCDEF0123", "aBcDeF0123", k10}, nullptr, 0, 0, 0},
      {2, {k26, k26, "00112233445566778899AABBxC", "zz"}, "Invalid WEP Key", Page::kIdKey3, 24, 25},
      {2, {k26, k10, k26, k26}, "Invalid WEP Key length", Page::kIdKey2, 10, 10},
      {2, {k26, k26, k26, "00112233445566778899aabbcc"}, nullptr, 0, 0, 0},
      {0, {"junk", "", "0G", "x"}, nullptr, 0, 0, 0},
  };
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.keys[0]) + " / level " + std::to_string(c.level));
    requests.clear();
    OnEncryptionPage([&](WindowHandle page, FakeDialogItems& items) {
      if (items.ComboSelection(Page::kIdLevel) != c.level) {
        dialogs.ChooseComboItem(page, Page::kIdLevel, c.level);
      }
      for (int k = 0; k < 4; ++k) items.SetText(Page::kIdKey1 + k, c.keys[static_cast<std::size_t>(k)]);
      items.Focus(Page::kIdSubmit);
      dialogs.Click(page, Page::kIdSubmit);
      const auto messages = TakeMessages();
      if (c.message == nullptr) {
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(1u, SetsOf(OID_PRIV_WEP).size());
        EXPECT_EQ(kStatusPageId, PageResource()) << "a successful Submit ends on the Status page";
        return;
      }
      ASSERT_EQ(std::vector<std::string>{c.message}, messages);
      EXPECT_TRUE(SetsOf(OID_PRIV_WEP).empty());
      EXPECT_EQ(c.box, items.FocusedControl());
      int start = -1, end = -1;
      items.EditSelection(c.box, &start, &end);
      EXPECT_EQ(c.selStart, start);
      EXPECT_EQ(c.selEnd, end);
      EXPECT_EQ(kEncryptionPageId, PageResource());
    });
  }
}

// One rule per OsKind and level: a key typed in lower case goes to the adapter as the bytes of
// its digit pairs (a 64-bit slot's other bytes as read) and to the driver key in upper case, as
// many digits as the level has.
TEST(EncryptionPageSubmit, KeysReachTheAdapterAndTheDriverKeyOfEachSystem) {
  using Slot = std::array<std::uint8_t, 13>;
  const Slot typed64 = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0x06, 0x07,
                        0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D};
  const Slot typed128 = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6, 0x07,
                         0x18, 0x29, 0x3A, 0x4B, 0x5C, 0x6D};
  const struct Case {
    OsKind kind;
    int level;
    const char* typed;
    const char* key1;  // WEP_KEY_1 and WEP_KEY_4 in the driver key
    const char* key4;
    const Slot& slot1;
  } cases[] = {
      {OsKind::NT4, 1, "a1b2c3d4e5", "A1B2C3D4E5", "3132333435", typed64},
      {OsKind::Win98Me, 1, "a1b2c3d4e5", "A1B2C3D4E5", "3132333435", typed64},
      {OsKind::Win2000, 1, "a1b2c3d4e5", "A1B2C3D4E5", "3132333435", typed64},
      {OsKind::WinXP, 1, "a1b2c3d4e5", "A1B2C3D4E5", "3132333435", typed64},
      {OsKind::NT4, 2, "a1b2c3d4e5f60718293a4b5c6d", "A1B2C3D4E5F60718293A4B5C6D", kReadKeys[3],
       typed128},
      {OsKind::Win98Me, 2, "a1b2c3d4e5f60718293a4b5c6d", "A1B2C3D4E5F60718293A4B5C6D",
       kReadKeys[3], typed128},
      {OsKind::Win2000, 2, "a1b2c3d4e5f60718293a4b5c6d", "A1B2C3D4E5F60718293A4B5C6D",
       kReadKeys[3], typed128},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.kind)) + " level " + std::to_string(c.level));
    PageOnSimMachine m(c.kind, CardWith128BitKeys(12));
    m.Start();
    m.app.CurrentProfile().inSync = true;
    m.OnPage(kEncryptionTab, [&](WindowHandle page, FakeDialogItems& items) {
      if (c.level == 1) {
        m.dialogs.ChooseComboItem(page, Page::kIdLevel, 1);
        // The boxes now hold the first ten digits of each key as read.
        EXPECT_EQ("0102030405", items.Text(Page::kIdKey1));
        EXPECT_EQ("3132333435", items.Text(Page::kIdKey4));
      }
      items.SetText(Page::kIdKey1, c.typed);
      m.dialogs.ChooseComboItem(page, Page::kIdDefaultKey, 0);
      m.dialogs.ChooseComboItem(page, Page::kIdMode, 0);
      m.dialogs.ChooseComboItem(page, Page::kIdAuthentication, 2);
      m.dialogs.Click(page, Page::kIdSubmit);
      EXPECT_TRUE(m.TakeMessages().empty());
      EXPECT_EQ(kStatusPageId, m.PageResource());
    });
    const WepConfig wep = m.machine.host->Miniport("SKYK1")->Wep();
    EXPECT_EQ(c.level, wep.encryptionLevel);
    EXPECT_EQ(0, wep.defaultKeyIndex);
    EXPECT_EQ(0, wep.wepMode);
    EXPECT_EQ(2, wep.authenticationType);
    EXPECT_EQ(c.slot1, wep.keys[0]);
    EXPECT_EQ(0x31, wep.keys[3][0]);
    EXPECT_EQ(0x3D, wep.keys[3][12]);
    // Default is the profile in use: its flag keeps its value.
    EXPECT_TRUE(m.app.CurrentProfile().inSync);

    EXPECT_EQ(c.key1, m.DriverText("WEP_KEY_1"));
    EXPECT_EQ(c.key4, m.DriverText("WEP_KEY_4"));
    std::uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(m.DriverValue("EncryptionLevel", &type, &bytes));
    if (c.kind == OsKind::NT4) {
      EXPECT_EQ(kRegDword, type);
      EXPECT_EQ(std::string(1, static_cast<char>(c.level)) + std::string(3, '\0'), bytes);
      ASSERT_TRUE(m.DriverValue("AuthenticationType", &type, &bytes));
      EXPECT_EQ(std::string("\x02\0\0\0", 4), bytes);
    } else {
      EXPECT_EQ(kRegSz, type);
      EXPECT_EQ(std::to_string(c.level), bytes);
      EXPECT_EQ("2", m.DriverText("AuthenticationType"));
      EXPECT_EQ("0", m.DriverText("WEP_KEY_INDEX"));
      EXPECT_EQ("0", m.DriverText("WEP_Mode"));
    }
    if (c.kind == OsKind::Win98Me) {
      // The copy Windows 98 keeps beside each value.
      ASSERT_TRUE(m.DriverValue("", &type, &bytes, "\\Ndi\\params\\WEP_KEY_1"));
      EXPECT_EQ(c.key1, bytes);
    }
  }
}

TEST_F(EncryptionPage, DisabledSendsTheSlotsUnchangedAndWritesOnlyTheLevel) {
  Start();
  const WepConfig before = AdapterWep();
  OnEncryptionPage([&](WindowHandle page, FakeDialogItems& items) {
    dialogs.ChooseComboItem(page, Page::kIdLevel, 0);
    EXPECT_FALSE(items.IsEnabled(Page::kIdKey1));
    EXPECT_FALSE(items.IsEnabled(Page::kIdMode));
    items.SetText(Page::kIdKey2, "FFFFFFFFFF");
    dialogs.Click(page, Page::kIdSubmit);
  });
  const auto sets = SetsOf(OID_PRIV_WEP);
  ASSERT_EQ(1u, sets.size());
  WepConfig sent;
  ASSERT_TRUE(WepConfig::Decode(sets[0].data(), sets[0].size(), &sent));
  EXPECT_EQ(0, sent.encryptionLevel);
  EXPECT_EQ(before.keys, sent.keys);
  EXPECT_EQ("0", DriverText("EncryptionLevel"));
  EXPECT_EQ(kReadKeys[1], DriverText("WEP_KEY_2")) << "the keys written before stay";
  EXPECT_EQ("1", DriverText("AuthenticationType")) << "and so do the other WEP values";
}

TEST_F(EncryptionPage, LevelChangeRewritesTheBoxesFromTheRecordAsRead) {
  Start();
  OnEncryptionPage([&](WindowHandle page, FakeDialogItems& items) {
    items.SetText(Page::kIdKey3, "typed");
    dialogs.ChooseComboItem(page, Page::kIdLevel, 1);
    EXPECT_EQ((std::vector<std::string>{"0102030405", "1112131415", "2122232425", "3132333435"}),
              Keys(items));
    items.SetText(Page::kIdKey1, "FFFFFFFFFF");
    dialogs.ChooseComboItem(page, Page::kIdLevel, 0);
    EXPECT_FALSE(items.IsEnabled(Page::kIdKey1));
    EXPECT_EQ("FFFFFFFFFF", items.Text(Page::kIdKey1)) << "Disabled leaves the boxes alone";
    dialogs.ChooseComboItem(page, Page::kIdLevel, 2);
    EXPECT_TRUE(items.IsEnabled(Page::kIdKey1));
    EXPECT_EQ(std::vector<std::string>(kReadKeys, kReadKeys + 4), Keys(items));
    // The box takes 26 characters at most.
    items.SetText(Page::kIdKey1, "");
    items.Type(Page::kIdKey1, std::string(30, 'a'));
    EXPECT_EQ(std::string(26, 'a'), items.Text(Page::kIdKey1));
  });
  EXPECT_TRUE(SetsOf(OID_PRIV_WEP).empty());
}

TEST_F(EncryptionPage, PasswordCharacterIsTheFirstOfTheCustomisationValue) {
  auto file = [](const std::string& value) {
    return "[Languages]\r\nLanguage-1=English\r\n[English]\r\nWEPKeysPasswordChar=" + value +
           "\r\n";
  };
  profile.SetFile(".\\res\\Wlan.ini", file(""));
  Start();
  const std::pair<const char*, char> cases[] = {{"*", '*'}, {"#+", '#'}, {"", 0}};
  for (const auto& c : cases) {
    profile.SetFile(".\\res\\Wlan.ini", file(c.first));
    OnEncryptionPage([&](WindowHandle, FakeDialogItems& items) {
      for (int k = 0; k < 4; ++k) EXPECT_EQ(c.second, items.EditPasswordChar(Page::kIdKey1 + k));
      EXPECT_EQ(kReadKeys[0], items.Text(Page::kIdKey1)) << "the value is kept, only shown so";
    });
  }
}

TEST_F(EncryptionPage, ReadOnlyWhileWindowsConfiguresTheCard) {
  Start();
  OnEncryptionPage([&](WindowHandle page, FakeDialogItems& items) {
    app.Link().configuredByWindows = 1;
    app.SettingsDialog().ApplyWindowsConfigurationState();
    for (int id : {Page::kIdKey1, Page::kIdKey1 + 3, Page::kIdMode, Page::kIdDefaultKey,
                   Page::kIdAuthentication, Page::kIdLevel, Page::kIdSubmit}) {
      EXPECT_FALSE(items.IsEnabled(id)) << id;
    }
    EXPECT_EQ(kReadKeys[0], items.Text(Page::kIdKey1));
    // Created while Windows configures the card: the same.
    dialogs.ChooseTab(dialogWindow, kIdTabControl, 0);
    dialogs.ChooseTab(dialogWindow, kIdTabControl, kEncryptionTab);
    FakeDialogItems& again = *dialogs.Items(CurrentPage());
    EXPECT_FALSE(again.IsEnabled(Page::kIdSubmit));
    EXPECT_FALSE(again.IsEnabled(Page::kIdKey2));
    EXPECT_EQ(2, again.ComboSelection(Page::kIdLevel));
    dialogs.Command(CurrentPage(), Page::kIdSubmit, kBnClicked);
    (void)page;
    app.Link().configuredByWindows = 0;
    app.SettingsDialog().ApplyWindowsConfigurationState();
    EXPECT_TRUE(again.IsEnabled(Page::kIdSubmit));
    EXPECT_TRUE(again.IsEnabled(Page::kIdKey2));
  });
  EXPECT_TRUE(SetsOf(OID_PRIV_WEP).empty());
}

TEST_F(EncryptionPage, EnterAndEscapeDoNothingAndTheKeysGoWithThePage) {
  Start();
  CEncryptionPage* page = nullptr;
  OnEncryptionPage([&](WindowHandle window, FakeDialogItems& items) {
    page = static_cast<CEncryptionPage*>(app.SettingsDialog().CurrentPage());
    items.SetText(Page::kIdKey1, "0123456789AB");
    dialogs.PressEnter(window);
    dialogs.PressEscape(window);
    EXPECT_TRUE(app.SettingsDialog().IsOpen());
    EXPECT_EQ("0123456789AB", items.Text(Page::kIdKey1));
    dialogs.ChooseComboItem(window, Page::kIdLevel, 1);  // stores the boxes in the page
  });
  ASSERT_NE(nullptr, page);
  for (const std::string& text : page->KeyTexts()) EXPECT_TRUE(text.empty());
  EXPECT_TRUE(SetsOf(OID_PRIV_WEP).empty());
}

TEST_F(EncryptionPage, FailedReadHidesThePageAndFailedSetKeepsEverything) {
  Start();
  Change([](sim::SimEnvironment& env) {
    env.adapters[0].faults.push_back({OID_PRIV_WEP, sim::SimFault::Kind::Length, 56});
  });
  OnEncryptionPage([&](WindowHandle, FakeDialogItems& items) {
    EXPECT_FALSE(items.DialogVisible());
    EXPECT_EQ(std::vector<std::string>{"Failed to get WEP information"}, TakeMessages());
  });
  Change([](sim::SimEnvironment& env) { env.adapters[0].faults.clear(); });
  app.CurrentProfile().inSync = false;
  OnEncryptionPage([&](WindowHandle page, FakeDialogItems& items) {
    ASSERT_TRUE(items.DialogVisible());
    Change([](sim::SimEnvironment& env) {
      env.adapters[0].faults.push_back({OID_PRIV_WEP, sim::SimFault::Kind::Fail, 0xC0000001});
    });
    dialogs.ChooseComboItem(page, Page::kIdLevel, 1);
    items.SetText(Page::kIdKey1, "FFFFFFFFFF");
    dialogs.Click(page, Page::kIdSubmit);
    EXPECT_EQ(std::vector<std::string>{"Failed to set WEP information"}, TakeMessages());
    EXPECT_EQ(kEncryptionPageId, PageResource());
    EXPECT_EQ("FFFFFFFFFF", items.Text(Page::kIdKey1)) << "the user's entries stay";
    // The record as last read is what a level change shows, not the refused choices.
    dialogs.ChooseComboItem(page, Page::kIdLevel, 2);
    EXPECT_EQ(kReadKeys[0], items.Text(Page::kIdKey1));
  });
  EXPECT_EQ(kReadKeys[0], DriverText("WEP_KEY_1"));
  EXPECT_EQ("2", DriverText("EncryptionLevel"));
  EXPECT_FALSE(app.CurrentProfile().inSync);
}

// A card that offers no 128-bit item while the adapter reports 128 bit: the list has no
// selection, and Submit is refused rather than sending an undefined level.
class EncryptionPageWithout128Bit : public EncryptionPage {
 protected:
  EncryptionPageWithout128Bit() : EncryptionPage(1) {}
};

TEST_F(EncryptionPageWithout128Bit, LevelWithoutItsItemCannotBeSubmitted) {
  Start();
  OnEncryptionPage([&](WindowHandle page, FakeDialogItems& items) {
    ASSERT_EQ(2, items.ComboCount(Page::kIdLevel));
    EXPECT_EQ(-1, items.ComboSelection(Page::kIdLevel));
    EXPECT_EQ("", items.Text(Page::kIdKey1));
    EXPECT_FALSE(items.IsEnabled(Page::kIdKey1));
    EXPECT_FALSE(items.IsEnabled(Page::kIdSubmit));
    dialogs.Command(page, Page::kIdSubmit, kBnClicked);  // as if it reached the page anyway
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(kEncryptionPageId, PageResource());
    // Picking a level makes it a page like any other.
    dialogs.ChooseComboItem(page, Page::kIdLevel, 1);
    EXPECT_TRUE(items.IsEnabled(Page::kIdSubmit));
    EXPECT_EQ("0102030405", items.Text(Page::kIdKey1));
  });
  EXPECT_TRUE(SetsOf(OID_PRIV_WEP).empty());
  EXPECT_EQ(2, AdapterWep().encryptionLevel);
}

}  // namespace
}  // namespace linkscope::testing
