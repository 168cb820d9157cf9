// The profile store over the real registry: names outside ASCII in the program's code page,
// the longest names the registry takes, and changes that meet failing registry calls.

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "config/ProfileStore.h"
#include "fakes/FakeWindowSystem.h"
#include "support/StoredProfiles.h"
#include "win32/Win32Registry.h"

namespace linkscope {
void PrintTo(const Profile& p, std::ostream* os) { *os << p.name << " {ssid " << p.ssid << "}"; }
}  // namespace linkscope

namespace linkscope::testing {
namespace {

// The real registry, with the calls chosen by a test failing before they reach it.
class FailingRegistry : public IRegistry {
 public:
  int calls = 0;
  int failN = 0, failM = 0;

  long OpenKey(RegKey parent, const std::string& subKey, RegAccess access, RegKey* key) override {
    return Fail() ? kRegAccessDenied : real_.OpenKey(parent, subKey, access, key);
  }
  long CreateKey(RegKey parent, const std::string& subKey, RegKey* key) override {
    return Fail() ? kRegAccessDenied : real_.CreateKey(parent, subKey, key);
  }
  long CloseKey(RegKey key) override { return Fail() ? kRegAccessDenied : real_.CloseKey(key); }
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) override {
    return Fail() ? kRegAccessDenied : real_.EnumKey(key, index, name, nameSize);
  }
  long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                 std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) override {
    return Fail() ? kRegAccessDenied
                  : real_.EnumValue(key, index, name, nameSize, type, data, dataSize);
  }
  long QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) override {
    return Fail() ? kRegAccessDenied : real_.QueryInfoKey(key, subKeys, values);
  }
  long QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* dataSize) override {
    return Fail() ? kRegAccessDenied : real_.QueryValue(key, name, type, data, dataSize);
  }
  long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override {
    return Fail() ? kRegAccessDenied : real_.SetValue(key, name, type, data, size);
  }
  long DeleteValue(RegKey key, const std::string& name) override {
    return Fail() ? kRegAccessDenied : real_.DeleteValue(key, name);
  }
  long DeleteKey(RegKey parent, const std::string& subKey) override {
    return Fail() ? kRegAccessDenied : real_.DeleteKey(parent, subKey);
  }
  long DeleteTree(RegKey parent, const std::string& subKey) override {
    return Fail() ? kRegAccessDenied : real_.DeleteTree(parent, subKey);
  }

 private:
  bool Fail() {
    ++calls;
    return calls == failN || calls == failM;
  }
  Win32Registry real_;
};

Profile Sample(const std::string& name) {
  Profile p;
  p.name = name;
  p.ssid = "net";
  p.mode = 1;
  p.channel = 6;
  p.rate = 3;
  p.frag = 2346;
  p.rts = 2347;
  p.enc = 1;
  p.keys = {"0123456789", "ABCDEF0123", "1111111111", "2222222222"};
  p.radio = 1;
  return p;
}

Profile Named(Profile p, const std::string& name) {
  p.name = name;
  return p;
}

class ProfileStoreUnderWine : public ::testing::Test {
 protected:
  using Profiles = StoredProfiles;

  ProfileStoreUnderWine() : messages(windows, texts), store(registry, messages) {}
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }
  static void Clear() {
    RegDeleteTreeA(HKEY_CURRENT_USER, ProfileStore::kProfilesKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, ProfileStore::kChangeKey);
  }

  FailingRegistry registry;
  FakeWindowSystem windows;
  DefaultTexts texts;
  Messages messages;
  ProfileStore store;
};

// "büro", "BÜRO" and "Straße" in Windows-1252.
const std::string kBuero = "b\xFC" "ro";
const std::string kUpperBuero = "B\xDC" "RO";
const std::string kStrasse = "Stra\xDF" "e";

TEST_F(ProfileStoreUnderWine, NonAsciiAndLongestNamesFindRenameAndNeverMerge) {
  const std::string longest(255, '\xE9'), longestUpper(255, '\xC9');  // e acute
  for (const std::string& name : {kBuero, std::string("Home"), longest}) {
    ASSERT_TRUE(store.Save(Sample(name), false)) << name;
  }
  Profile p;
  ASSERT_TRUE(store.Find(kUpperBuero, &p));
  EXPECT_EQ(kBuero, p.name);
  ASSERT_TRUE(store.Find(longestUpper, &p));
  EXPECT_EQ(longest, p.name);

  EXPECT_FALSE(store.Rename("Home", kUpperBuero));
  EXPECT_FALSE(store.Save(Sample(std::string(256, 'n')), false));
  ASSERT_TRUE(store.Rename(kBuero, kUpperBuero));
  ASSERT_TRUE(store.Rename("Home", kStrasse));
  ASSERT_TRUE(store.Rename(longest, longestUpper));
  EXPECT_EQ((Profiles{{kUpperBuero, Named(Sample(kBuero), kUpperBuero)},
                      {kStrasse, Named(Sample("Home"), kStrasse)},
                      {longestUpper, Named(Sample(longest), longestUpper)}}),
            ObserveStoredProfiles(store));
  EXPECT_TRUE(store.Delete(longestUpper));
  EXPECT_EQ(2, store.Count());
}

// Failing calls in the real registry while a non-ASCII name changes letter case only (the
// registry takes both spellings for one key): each call failing alone, and with the next one.
// Every pair of calls is tried over the fake registry by the native tests.
TEST_F(ProfileStoreUnderWine, LetterCaseRenameOfANonAsciiNameIsWholeOrNoneWhenCallsFail) {
  const Profiles before = {{kBuero, Sample(kBuero)}, {"Home", Sample("Home")}};
  const Profiles after = {{kUpperBuero, Named(Sample(kBuero), kUpperBuero)},
                          {"Home", Sample("Home")}};
  auto seed = [&] {
    registry.failN = registry.failM = 0;
    Clear();
    for (const auto& entry : before) ASSERT_TRUE(store.Save(entry.second, false));
  };
  seed();
  const int start = registry.calls;
  ASSERT_TRUE(store.Rename(kBuero, kUpperBuero));
  const int calls = registry.calls - start;
  for (int n = 1; n <= calls; ++n) {
    for (int m : {n, n + 1}) {
      seed();
      registry.failN = registry.calls + n;
      registry.failM = registry.calls + m;
      const bool done = store.Rename(kBuero, kUpperBuero);
      registry.failN = registry.failM = 0;
      EXPECT_EQ(done ? after : before, ObserveStoredProfiles(store))
          << "calls " << n << " and " << m << (done ? ", done" : ", failed");
      HKEY key = nullptr;
      EXPECT_EQ(ERROR_FILE_NOT_FOUND,
                RegOpenKeyExA(HKEY_CURRENT_USER, ProfileStore::kChangeKey, 0, KEY_READ, &key));
      if (::testing::Test::HasFailure()) return;
    }
  }
}

}  // namespace
}  // namespace linkscope::testing
