#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "config/ProfileStore.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeWindowSystem.h"
#include "support/StoredProfiles.h"

namespace linkscope {

void PrintTo(const Profile& p, std::ostream* os) {
  *os << p.name << " {ssid " << p.ssid << ", channel " << p.channel << ", key4 " << p.keys[3]
      << "}";
}

namespace {

constexpr const char* kProfiles = "Software\\ORVEX\\Linkscope\\Profiles";

class MapTexts : public ITextSource {
 public:
  std::string Lookup(const std::string& key, const std::string& def) const override {
    auto it = texts.find(key);
    return it == texts.end() ? def : it->second;
  }
  std::map<std::string, std::string> texts;
};

Profile Sample(const std::string& name) {
  Profile p;
  p.name = name;
  p.ssid = "net-" + name;
  p.mode = 1;
  p.channel = 6;
  p.rate = 3;
  p.power = 1;
  p.preamble = 2;
  p.frag = 2346;
  p.rts = 2347;
  p.enc = 2;
  p.wepmode = 1;
  p.auth = 1;
  p.key = 3;
  p.keys = {"0123456789", "ABCDEF0123", "1111111111", "2222222222"};
  p.roaming = 1;
  p.radio = 1;
  return p;
}

class ProfileStoreTest : public ::testing::Test {
 protected:
  ProfileStoreTest() : messages(windows, texts), store(registry, messages) {}

  std::vector<std::string> Subkeys() {
    std::vector<std::string> names;
    store.Names(&names);
    return names;
  }

  FakeRegistry registry;
  FakeWindowSystem windows;
  MapTexts texts;
  Messages messages;
  ProfileStore store;
};

TEST_F(ProfileStoreTest, WithoutAProfilesKeyNothingIsThereUntilTheFirstSave) {
  EXPECT_EQ(-1, store.Count());
  Profile p;
  EXPECT_FALSE(store.Find("Default", &p));
  EXPECT_EQ("", store.ReadLastProfile());
  EXPECT_FALSE(store.WriteLastProfile("Home"));
  EXPECT_TRUE(windows.messages.empty());

  ASSERT_TRUE(store.Save(Sample("Home"), true));
  EXPECT_EQ(1, store.Count());
  EXPECT_EQ("Home", store.NameAt(0));
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST_F(ProfileStoreTest, SavedValuesHaveTheirTypesAndByteCounts) {
  ASSERT_TRUE(store.Save(Sample("Home"), false));
  const std::string key = std::string(kProfiles) + "\\Home";
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(registry.ReadValue(kRegCurrentUser, key, "ssid", &type, &data));
  EXPECT_EQ(kRegSz, type);
  EXPECT_EQ(std::vector<std::uint8_t>({'n', 'e', 't', '-', 'H', 'o', 'm', 'e', 0}), data);
  ASSERT_TRUE(registry.ReadValue(kRegCurrentUser, key, "frag", &type, &data));
  EXPECT_EQ(kRegDword, type);
  EXPECT_EQ(std::vector<std::uint8_t>({0x2A, 0x09, 0, 0}), data);
  ASSERT_TRUE(registry.ReadValue(kRegCurrentUser, key, "key4", &type, &data));
  EXPECT_EQ(kRegSz, type);
  EXPECT_EQ(11u, data.size());

  Profile back;
  ASSERT_TRUE(store.Load(0, &back));
  EXPECT_EQ(Sample("Home"), back);
}

TEST_F(ProfileStoreTest, FindIgnoresCaseAndKeepsTheStoredName) {
  ASSERT_TRUE(store.Save(Sample("Office"), false));
  ASSERT_TRUE(store.Save(Sample("Default"), false));
  Profile p;
  ASSERT_TRUE(store.Find("default", &p));
  EXPECT_EQ("Default", p.name);
  EXPECT_EQ("net-Default", p.ssid);
  EXPECT_FALSE(store.Find("Defaul", &p));
}

TEST_F(ProfileStoreTest, MissingAndRetypedValuesLoadAsMinusOneAndError) {
  ASSERT_TRUE(store.Save(Sample("Home"), false));
  const std::string key = std::string(kProfiles) + "\\Home";
  RegKey k = 0;
  ASSERT_EQ(kRegOk, registry.OpenKey(kRegCurrentUser, key, RegAccess::All, &k));
  registry.DeleteValue(k, "channel");
  registry.DeleteValue(k, "key3");
  registry.CloseKey(k);
  registry.WriteValue(kRegCurrentUser, key, "ssid", kRegDword, {0x0A, 0, 0, 0});
  // A number stored as a short text reads its bytes, the missing ones as zero.
  registry.WriteValue(kRegCurrentUser, key, "rate", kRegSz, {'1', 0});

  Profile p;
  ASSERT_TRUE(store.Find("Home", &p));
  EXPECT_EQ(-1, p.channel);
  EXPECT_EQ("ERROR", p.keys[2]);
  EXPECT_EQ("0000000a", p.ssid);
  EXPECT_EQ(0x31, p.rate);
  EXPECT_EQ("ABCDEF0123", p.keys[1]);
}

TEST_F(ProfileStoreTest, LastProfileIsStoredWithoutItsNul) {
  ASSERT_TRUE(store.Save(Sample("Home"), false));
  ASSERT_TRUE(store.WriteLastProfile("Home"));
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(registry.ReadValue(kRegCurrentUser, kProfiles, "LastProfile", &type, &data));
  EXPECT_EQ(kRegSz, type);
  EXPECT_EQ(4u, data.size());
  EXPECT_EQ("Home", store.ReadLastProfile());
  // A name written by hand with its NUL reads the same.
  registry.WriteValue(kRegCurrentUser, kProfiles, "LastProfile", kRegSz, {'H', 'o', 0});
  EXPECT_EQ("Ho", store.ReadLastProfile());
  // One too long for the 260-byte buffer reads as nothing.
  registry.WriteValue(kRegCurrentUser, kProfiles, "LastProfile", kRegSz,
                      std::vector<std::uint8_t>(300, 'x'));
  EXPECT_EQ("", store.ReadLastProfile());
}

TEST_F(ProfileStoreTest, SavingOverAnotherLetterCaseAsksAndWritesIntoTheExistingKey) {
  ASSERT_TRUE(store.Save(Sample("Home"), true));
  Profile upper = Sample("HOME");
  upper.channel = 11;
  windows.answer = [](const FakeWindowSystem::Message&) { return kIdNo; };
  EXPECT_FALSE(store.Save(upper, true));
  ASSERT_EQ(1u, windows.messages.size());
  EXPECT_EQ("Profile name exists. Overwrite?", windows.messages[0].text);
  EXPECT_EQ(kMbYesNo, windows.messages[0].style);  // Yes is the default

  windows.answer = nullptr;
  ASSERT_TRUE(store.Save(upper, true));
  EXPECT_EQ((std::vector<std::string>{"Home"}), Subkeys());
  Profile p;
  ASSERT_TRUE(store.Load(0, &p));
  EXPECT_EQ(11, p.channel);
}

TEST_F(ProfileStoreTest, EmptyNameIsRefusedWithItsMessage) {
  texts.texts["ErrorProfileNameEmpty"] = "Bitte einen Profilnamen angeben";
  Profile p = Sample("");
  EXPECT_FALSE(store.Save(p, false));
  ASSERT_EQ(1u, windows.messages.size());
  EXPECT_EQ("Bitte einen Profilnamen angeben", windows.messages[0].text);
  EXPECT_EQ(-1, store.Count());
}

TEST_F(ProfileStoreTest, NamesWithABackslashAreNeverStored) {
  // Such a name would write into a nested key that the list then shows as a half profile.
  EXPECT_FALSE(store.Save(Sample("Home\\Sub"), false));
  EXPECT_EQ("Registry error. Profile saving failed", windows.messages.back().text);
  EXPECT_FALSE(registry.HasKey(kRegCurrentUser, std::string(kProfiles) + "\\Home"));
  ASSERT_TRUE(store.Save(Sample("Home"), false));
  EXPECT_FALSE(store.Rename("Home", "Office\\Sub"));
  EXPECT_FALSE(store.Delete("Home\\.."));
  EXPECT_EQ((std::vector<std::string>{"Home"}), Subkeys());
}

TEST_F(ProfileStoreTest, DeleteWithAnEmptyNameDeletesNothing) {
  ASSERT_TRUE(store.Save(Sample("Home"), false));
  ASSERT_TRUE(store.Save(Sample("Office"), false));
  EXPECT_FALSE(store.Delete(""));
  EXPECT_EQ(2, store.Count());
  EXPECT_TRUE(store.Delete("home"));
  EXPECT_EQ((std::vector<std::string>{"Office"}), Subkeys());
  EXPECT_FALSE(store.Delete("Home"));
}

TEST_F(ProfileStoreTest, RenameMovesEveryValueAndSubkey) {
  ASSERT_TRUE(store.Save(Sample("Home"), false));
  registry.WriteValue(kRegCurrentUser, std::string(kProfiles) + "\\Home\\Extra", "big",
                      kRegBinary, std::vector<std::uint8_t>(5000, 7));
  ASSERT_TRUE(store.Rename("Home", "Office"));
  EXPECT_EQ((std::vector<std::string>{"Office"}), Subkeys());
  Profile p;
  ASSERT_TRUE(store.Find("Office", &p));
  Profile expected = Sample("Home");
  expected.name = "Office";
  EXPECT_EQ(expected, p);
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(registry.ReadValue(kRegCurrentUser, std::string(kProfiles) + "\\Office\\Extra",
                                 "big", nullptr, &data));
  EXPECT_EQ(5000u, data.size());
  EXPECT_FALSE(store.Rename("Home", "Elsewhere"));
}

TEST_F(ProfileStoreTest, RenameToAnotherLetterCaseKeepsTheValues) {
  ASSERT_TRUE(store.Save(Sample("home"), false));
  ASSERT_TRUE(store.Rename("home", "Home"));
  EXPECT_EQ((std::vector<std::string>{"Home"}), Subkeys());
  Profile p;
  ASSERT_TRUE(store.Load(0, &p));
  EXPECT_EQ("net-home", p.ssid);
  EXPECT_EQ(6, p.channel);
}

TEST_F(ProfileStoreTest, NameAtReportsEachFailingStep) {
  EXPECT_EQ("", store.NameAt(0));
  EXPECT_EQ("Failed to open the registry key", windows.messages.back().text);
  ASSERT_TRUE(store.Save(Sample("Home"), false));
  EXPECT_EQ("", store.NameAt(1));
  EXPECT_EQ("Failed to find the key", windows.messages.back().text);
  registry.failHook = [](const char* op) { return std::string(op) == "CloseKey" ? 6L : 0L; };
  EXPECT_EQ("", store.NameAt(0));
  EXPECT_EQ("Failed to close the registry key!", windows.messages.back().text);
}

TEST_F(ProfileStoreTest, NamesFoldEveryLetterAsTheRegistryDoesAndRenameNeverMergesTwo) {
  // "büro" in the program's code page; the registry takes "BÜRO" for the same key.
  const std::string buero = "b\xFC" "ro", upperBuero = "B\xDC" "RO";
  ASSERT_TRUE(store.Save(Sample(buero), false));
  ASSERT_TRUE(store.Save(Sample("Home"), false));
  Profile p;
  ASSERT_TRUE(store.Find(upperBuero, &p));
  EXPECT_EQ(buero, p.name);
  for (const std::string& taken : {upperBuero, buero, std::string("HOME")}) {
    EXPECT_FALSE(store.Rename(taken == "HOME" ? buero : "Home", taken)) << taken;
  }
  EXPECT_EQ((std::vector<std::string>{buero, "Home"}), Subkeys());
  ASSERT_TRUE(store.Find("home", &p));
  EXPECT_EQ(Sample("Home"), p);
  ASSERT_TRUE(store.Find(buero, &p));
  EXPECT_EQ(Sample(buero), p);
}

TEST_F(ProfileStoreTest, NamesTooLongForTheRegistryAreRefusedAndTheListGoesOnPastOne) {
  EXPECT_FALSE(store.Save(Sample(std::string(256, 'n')), false));
  ASSERT_EQ(1u, windows.messages.size());
  EXPECT_EQ("Registry error. Profile saving failed", windows.messages[0].text);
  ASSERT_TRUE(store.Save(Sample(std::string(255, 'n')), false));
  ASSERT_TRUE(store.Save(Sample("Home"), false));
  EXPECT_FALSE(store.Rename("Home", std::string(300, 'x')));
  EXPECT_EQ((std::vector<std::string>{"Home", std::string(255, 'n')}), Subkeys());
  // A name the enumeration cannot hand over in the program's buffer is passed over.
  bool first = true;
  registry.failHook = [&first](const char* op) {
    if (std::string(op) != "EnumKey" || !first) return 0L;
    first = false;
    return kRegMoreData;
  };
  EXPECT_EQ((std::vector<std::string>{std::string(255, 'n')}), Subkeys());
}

// A change key made by hand, or left corrupted, that no operation could ever finish: it goes,
// and every operation works on the profiles as they were.
TEST_F(ProfileStoreTest, AChangeTheStoreCannotFinishIsDroppedAndTheProfilesStayUsable) {
  const std::string change = ProfileStore::kChangeKey;
  auto text = [](const std::string& s) { return std::vector<std::uint8_t>(s.begin(), s.end()); };
  const std::vector<std::uint8_t> pendings[] = {
      std::vector<std::uint8_t>(3000, 'x'),
      text(std::string(256, 'n') + '\0'),
      text(std::string("Home") + '\0' + std::string(300, 'x')),
  };
  for (const auto& pending : pendings) {
    registry = FakeRegistry();
    ASSERT_TRUE(store.Save(Sample("Home"), false));
    registry.WriteValue(kRegCurrentUser, change + "\\Copy", "ssid", kRegSz, text("hand-made"));
    registry.WriteValue(kRegCurrentUser, change, "Pending", kRegBinary, pending);
    Profile p;
    ASSERT_TRUE(store.Find("Home", &p)) << pending.size();
    EXPECT_EQ(Sample("Home"), p) << pending.size();
    EXPECT_FALSE(registry.HasKey(kRegCurrentUser, change)) << pending.size();
    EXPECT_TRUE(store.Save(Sample("Office"), false) && store.Rename("Office", "Work") &&
                store.Delete("Work") && Subkeys() == std::vector<std::string>{"Home"})
        << pending.size();
  }
}

// Every pair of failing registry calls (N, M) over each change of the store: the change either
// happens completely and says so, or it says it failed and every profile is as it was; and no
// temporary copy ever shows up as a profile.
class ProfileStoreFaults : public ProfileStoreTest {
 protected:
  using Profiles = StoredProfiles;

  static Profile Named(Profile p, const std::string& name) {
    p.name = name;
    return p;
  }
  static Profile Changed(const std::string& name) {
    Profile p = Sample(name);
    p.ssid = "changed";
    p.channel = 11;
    p.keys[3] = "3333333333";
    return p;
  }

  void Seed() {
    registry = FakeRegistry();
    for (const auto& entry : Before()) ASSERT_TRUE(store.Save(entry.second, false));
  }
  static Profiles Before() {
    Profiles before;
    for (const std::string& name : {std::string("Home"), std::string("Other"), Buero()}) {
      before[name] = Sample(name);
    }
    return before;
  }
  static std::string Buero() { return "b\xFC" "ro"; }

  void FailCalls(int n, int m) {
    int seen = 0;
    registry.failHook = [n, m, seen](const char*) mutable {
      ++seen;
      return seen == n || seen == m ? kRegAccessDenied : 0L;
    };
  }
};

TEST_F(ProfileStoreFaults, EveryChangeIsWholeOrNoneUnderAnyTwoFailingCalls) {
  struct Change {
    const char* what;
    std::function<bool(ProfileStore&)> run;
    Profiles after;
  };
  Profiles before = Before();
  auto with = [&](std::initializer_list<std::pair<const std::string, Profile>> add,
                  std::initializer_list<std::string> drop) {
    Profiles after = before;
    for (const std::string& name : drop) after.erase(name);
    for (const auto& entry : add) after[entry.first] = entry.second;
    return after;
  };
  const std::string upperBuero = "B\xDC" "RO", accented = "\xC9t\xE9";
  const Change changes[] = {
      {"save a new profile", [](ProfileStore& s) { return s.Save(Changed("Office"), true); },
       with({{"Office", Changed("Office")}}, {})},
      {"save over a profile", [](ProfileStore& s) { return s.Save(Changed("Home"), false); },
       with({{"Home", Changed("Home")}}, {})},
      {"save over another letter case",
       [](ProfileStore& s) { return s.Save(Changed("HOME"), true); },
       with({{"Home", Changed("Home")}}, {})},
      {"rename to a new name", [](ProfileStore& s) { return s.Rename("Home", "Office"); },
       with({{"Office", Named(Sample("Home"), "Office")}}, {"Home"})},
      {"rename to another letter case", [](ProfileStore& s) { return s.Rename("Home", "HOME"); },
       with({{"HOME", Named(Sample("Home"), "HOME")}}, {"Home"})},
      {"rename a non-ASCII name to another letter case",
       [&](ProfileStore& s) { return s.Rename(Buero(), upperBuero); },
       with({{upperBuero, Named(Sample(Buero()), upperBuero)}}, {Buero()})},
      {"rename to a non-ASCII name",
       [&](ProfileStore& s) { return s.Rename("Other", accented); },
       with({{accented, Named(Sample("Other"), accented)}}, {"Other"})},
      {"delete", [](ProfileStore& s) { return s.Delete("Home"); }, with({}, {"Home"})},
  };
  // What the store shows once the registry works again.
  auto check = [&](const Change& change, bool done, const std::string& how) {
    registry.failHook = nullptr;
    registry.treeDeleteStop = nullptr;
    EXPECT_EQ(done ? change.after : before, ObserveStoredProfiles(store))
        << change.what << ", " << how << (done ? ", done" : ", failed");
    EXPECT_FALSE(registry.HasKey(kRegCurrentUser, ProfileStore::kChangeKey))
        << change.what << ", " << how;
  };
  // Fails calls n and m of the change; returns how many calls the change made.
  auto trial = [&](const Change& change, int n, int m) {
    Seed();
    FailCalls(n, m);
    const int start = registry.calls;
    const bool done = change.run(store);
    const int made = registry.calls - start;
    check(change, done, "calls " + std::to_string(n) + " and " + std::to_string(m));
    return made;
  };
  // The change's tree delete number t stops after removing k keys; with `ends` the process
  // ends there (every later call fails). Returns whether it stopped, and how many tree deletes
  // the change made.
  auto stopTrial = [&](const Change& change, int t, int k, bool ends) {
    Seed();
    int trees = 0;
    registry.treeDeleteStop = [&trees, t, k] { return ++trees == t ? k : -1; };
    registry.failHook = [this, ends](const char*) {
      return ends && registry.treeDeletesStopped > 0 ? kRegAccessDenied : 0L;
    };
    const bool done = change.run(store);
    const bool stopped = registry.treeDeletesStopped > 0;
    check(change, done, "tree delete " + std::to_string(t) + " stops after " +
                            std::to_string(k) + (ends ? ", the process ends" : ""));
    return std::make_pair(stopped, trees);
  };
  const ::testing::TestResult& result =
      *::testing::UnitTest::GetInstance()->current_test_info()->result();
  for (const Change& change : changes) {
    const int failuresBefore = result.total_part_count();
    const int calls = trial(change, 0, 0);
    for (int n = 1; n <= calls && result.total_part_count() == failuresBefore; ++n) {
      // A second failure past the change's last call meets nothing: the pairs that matter end
      // where the change, failing at n alone, ended.
      const int made = trial(change, n, 0);
      for (int m = n + 1; m <= made; ++m) trial(change, n, m);
    }
    for (bool ends : {false, true}) {
      for (int t = 1, trees = 1; t <= trees && result.total_part_count() == failuresBefore; ++t) {
        for (int k = 0;; ++k) {
          const auto run = stopTrial(change, t, k, ends);
          trees = std::max(trees, run.second);
          if (!run.first) break;
        }
      }
    }
  }
}

}  // namespace
}  // namespace linkscope
