// Registry failures beyond the profile store: the Nth registry call, and every pair of calls,
// fails while the program starts for the first time or applies a profile (which writes the
// driver's parameters and the profile in use). Whatever fails, nothing is reported saved that
// was not, and the adapter and the stored profiles never disagree without the user seeing it.

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "native/DialogOnSimMachine.h"
#include "support/SampleProfiles.h"

namespace linkscope::testing {
namespace {

using Tree = std::map<std::string, std::string>;

// Every value below a key, as "path|name" -> type and bytes, read through the registry itself.
void ReadTree(IRegistry& registry, RegKey root, const std::string& path, Tree* out) {
  RegKey key = 0;
  if (registry.OpenKey(root, path, RegAccess::Read, &key) != kRegOk) return;
  for (std::uint32_t i = 0;; ++i) {
    char name[512];
    std::uint32_t nameSize = sizeof name, type = 0, size = 4096;
    std::vector<std::uint8_t> data(size);
    if (registry.EnumValue(key, i, name, &nameSize, &type, data.data(), &size) != kRegOk) break;
    (*out)[path + "|" + std::string(name, nameSize)] =
        std::to_string(type) + ":" + std::string(data.begin(), data.begin() + size);
  }
  std::vector<std::string> subkeys;
  for (std::uint32_t i = 0;; ++i) {
    char name[512];
    std::uint32_t nameSize = sizeof name;
    if (registry.EnumKey(key, i, name, &nameSize) != kRegOk) break;
    subkeys.emplace_back(name, nameSize);
  }
  registry.CloseKey(key);
  for (const std::string& sub : subkeys) ReadTree(registry, root, path + "\\" + sub, out);
}

Profile HarbourProfile() {
  Profile p = SampleProfile();
  p.auth = WepCode::kAuthAuto;
  return p;
}

const char* const kNotSaved = "Last configuration not saved";
const char* const kSavingFailed = "Registry error. Profile saving failed";

// One run of a user path on a fresh machine.
struct Trial {
  Trial(OsKind kind, bool allSettings) : m(kind, Env(allSettings)) {}
  static sim::SimEnvironment Env(bool allSettings) {
    sim::SimEnvironment env = CardNearTwoNetworks();
    env.adapters[0].allSettingsSupported = allSettings;
    // Windows 9x finds a card by the hardware identifier its installation recorded.
    env.adapters[0].hardwareId = "USB\\VID_1915&PID_1";
    return env;
  }
  void StartAndTick() {
    if (!m.app.InitInstance()) return;
    m.frame = m.app.MainFrame()->Window();
    m.Tick();
    m.Tick();
  }
  bool Said(const std::string& text) const {
    return std::any_of(m.windows.messages.begin(), m.windows.messages.end(),
                       [&](const FakeWindowSystem::Message& s) { return s.text == text; });
  }
  std::map<std::string, Profile> Profiles() {
    std::map<std::string, Profile> seen;
    std::vector<std::string> names;
    if (!m.app.Profiles().Names(&names)) return seen;
    for (const std::string& name : names) {
      Profile p;
      if (m.app.Profiles().Find(name, &p)) seen[name] = p;
    }
    return seen;
  }
  Tree DriverKey() {
    Tree tree;
    m.app.Link().BuildDriverKeyPath();
    ReadTree(m.machine.registry, kRegLocalMachine, m.app.Link().driverKeyPath, &tree);
    return tree;
  }

  DialogOnSimMachine m;
};

struct UserPath {
  const char* what;
  OsKind kind;
  bool allSettings;
  // Runs with every registry call working.
  std::function<void(Trial&)> prepare;
  // Runs with the chosen calls failing; false when it reported a failure itself.
  std::function<bool(Trial&)> act;
  // The path applies "Harbour": a success that says nothing means all of it was saved.
  bool appliesHarbour;
};

void StoreHarbour(Trial& t) {
  ASSERT_TRUE(t.m.app.Profiles().Save(HarbourProfile(), false));
}

bool ApplyHarbour(Trial& t) { return t.m.app.ProfileLogic().ApplyProfile("Harbour"); }

const UserPath kPaths[] = {
    {"first start", OsKind::WinXP, true, [](Trial&) {},
     [](Trial& t) { t.StartAndTick(); return true; }, false},
    {"first start with a last profile", OsKind::Win2000, true,
     [](Trial& t) {
       StoreHarbour(t);
       ASSERT_TRUE(t.m.app.Profiles().Save(CLinkscopeApp::DefaultProfile(), false));
       ASSERT_TRUE(t.m.app.Profiles().WriteLastProfile("Harbour"));
     },
     [](Trial& t) { t.StartAndTick(); return true; }, false},
    {"apply on XP", OsKind::WinXP, true,
     [](Trial& t) { t.StartAndTick(); StoreHarbour(t); }, ApplyHarbour, true},
    {"apply piece by piece on 2000", OsKind::Win2000, false,
     [](Trial& t) { t.StartAndTick(); StoreHarbour(t); }, ApplyHarbour, true},
    {"apply on 98, with the parameters' copies", OsKind::Win98Me, true,
     [](Trial& t) { t.StartAndTick(); StoreHarbour(t); }, ApplyHarbour, true},
    {"apply on NT 4", OsKind::NT4, true,
     [](Trial& t) { t.StartAndTick(); StoreHarbour(t); }, ApplyHarbour, true},
};

// Runs the path with calls n and m failing (0: none) and checks what it leaves; returns how
// many registry calls the path made.
int RunPath(const UserPath& path, int n, int m, const Tree& savedDriverKey) {
  std::string where = std::string(path.what) + ", calls " + std::to_string(n) + " and " +
                      std::to_string(m) + " failing:";
  Trial t(path.kind, path.allSettings);
  path.prepare(t);
  const auto profilesBefore = t.Profiles();
  FakeRegistry& registry = t.m.machine.registry;
  int seen = 0;
  std::size_t failedCloses = 0;  // a key whose close failed stays open: not ours to free
  registry.failHook = [&](const char* operation) {
    ++seen;
    if (seen != n && seen != m) return 0L;
    where += std::string(" ") + operation;
    failedCloses += std::string(operation) == "CloseKey";
    return kRegAccessDenied;
  };
  const bool done = path.act(t);
  registry.failHook = nullptr;

  EXPECT_LE(registry.OpenHandleCount(), failedCloses) << where;
  // In sync means the adapter holds the profile in use, as stored.
  if (t.m.app.CurrentProfile().inSync) {
    Profile adapter, stored;
    EXPECT_TRUE(t.m.app.ProfileLogic().CaptureCurrentSettings(&adapter)) << where;
    EXPECT_TRUE(t.m.app.Profiles().Find(t.m.app.CurrentProfile().currentName, &stored))
        << where;
    adapter.name = stored.name;
    EXPECT_EQ(stored, adapter) << where << ": in sync with " << stored.name;
  }
  const auto profilesAfter = t.Profiles();
  for (const auto& before : profilesBefore) {
    auto it = profilesAfter.find(before.first);
    EXPECT_TRUE(it != profilesAfter.end() && it->second == before.second)
        << where << ": " << before.first << " changed";
  }
  if (!path.appliesHarbour) {
    // A first start leaves "Default" whole, or says that it could not save it.
    auto it = profilesAfter.find("Default");
    if (it == profilesAfter.end()) {
      EXPECT_TRUE(t.Said(kSavingFailed)) << where;
    } else {
      EXPECT_EQ(CLinkscopeApp::DefaultProfile(), it->second) << where;
    }
    for (const auto& after : profilesAfter) {
      EXPECT_TRUE(after.first == "Default" || profilesBefore.count(after.first))
          << where << ": " << after.first << " appeared";
    }
  } else if (done && !t.Said(kNotSaved)) {
    EXPECT_EQ(savedDriverKey, t.DriverKey()) << where;
    EXPECT_EQ("Harbour", t.m.app.Profiles().ReadLastProfile()) << where;
  } else if (!done) {
    EXPECT_FALSE(t.m.windows.messages.empty()) << where << ": failed without a word";
  }
  return seen;
}

TEST(RegistryFaults, NoPathReportsSavedWhatWasNotUnderAnyOneOrTwoFailingCalls) {
  const ::testing::TestResult& result =
      *::testing::UnitTest::GetInstance()->current_test_info()->result();
  for (const UserPath& path : kPaths) {
    // The driver key as a successful application leaves it.
    Tree saved;
    {
      Trial t(path.kind, path.allSettings);
      path.prepare(t);
      const bool done = path.act(t);
      ASSERT_TRUE(done) << path.what << ": "
                        << (t.m.windows.messages.empty() ? "" : t.m.windows.messages[0].text);
      ASSERT_TRUE(t.m.windows.messages.empty()) << path.what << ": " << t.m.windows.messages[0].text;
      saved = t.DriverKey();
    }
    const int calls = RunPath(path, 0, 0, saved);
    ASSERT_GT(calls, 0) << path.what;
    const int failuresBefore = result.total_part_count();
    int trials = 0;
    for (int n = 1; n <= calls && result.total_part_count() == failuresBefore; ++n) {
      const int made = RunPath(path, n, 0, saved);
      ++trials;
      for (int m = n + 1; m <= made && result.total_part_count() == failuresBefore; ++m) {
        RunPath(path, n, m, saved);
        ++trials;
      }
    }
    std::printf("registry faults: %s: %d registry calls, %d runs with one or two failing\n",
                path.what, calls, trials);
  }
}

}  // namespace
}  // namespace linkscope::testing
