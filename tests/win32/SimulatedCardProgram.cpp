#include "win32/SimulatedCardProgram.h"

#include "config/ProfileStore.h"
#include "text/Messages.h"
#include "text/TextSource.h"
#include "win32/UiDriver.h"
#include "win32/Win32Registry.h"
#include "win32/Win32WindowSystem.h"

namespace linkscope::testing {

void SimulatedCardProgram::Install(const std::string& name, const std::string& environment,
                                   const char* version,
                                   std::initializer_list<const char*> extra) {
  std::vector<const char*> files = {"linkscope.exe", "W32N50.dll", "adapterinstall.exe",
                                    "res\\Wlan.ini"};
  files.insert(files.end(), extra.begin(), extra.end());
  folder_ = ProgramCopy(name, files);
  ASSERT_FALSE(folder_.empty());
  environment_ = folder_ + "W32N50-environment.json";
  WriteText(environment_, environment);
  if (version != nullptr) {
    for (const char* file : files) {
      const std::string exe = file;
      if (exe.size() < 4 || exe.compare(exe.size() - 4, 4, ".exe") != 0) continue;
      ASSERT_TRUE(SetWineVersion(exe, version));
      versioned_.push_back(exe);
    }
  }
  std::string output;
  ASSERT_EQ(0u, RunCommand(Quote(folder_ + "adapterinstall.exe") + " install " +
                               Quote(environment_),
                           folder_, &output))
      << output;
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ORVEX\\Linkscope");
}

void SimulatedCardProgram::TearDown() {
  // Also after a failed assertion: a program left running would refuse the next test's.
  if (dialog_ != nullptr) PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
  Close(&program_);
  if (folder_.empty()) return;
  std::string output;
  RunCommand(Quote(folder_ + "adapterinstall.exe") + " remove", folder_, &output);
  for (const std::string& exe : versioned_) ClearWineVersion(exe);
  // A language or profile chosen here must not change what later tests of the prefix find.
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ORVEX\\Linkscope");
}

HWND SimulatedCardProgram::StartProgram(Process* process) {
  if (!Start(folder_ + "linkscope.exe", folder_, process)) return nullptr;
  HWND main = WaitForWindow("Linkscope Utility", kPatienceMs);
  if (main == nullptr || !WaitForTrayIcon(main, true, kPatienceMs)) return nullptr;
  return main;
}

HWND SimulatedCardProgram::OpenDialog() {
  dialog_ = nullptr;
  WaitUntil([&] {
    SendTrayMouse(main_, WM_LBUTTONDBLCLK);
    dialog_ = WaitForSettingsDialog(main_, 1000);
    return dialog_ != nullptr;
  });
  return dialog_;
}

void SimulatedCardProgram::CloseDialog() {
  HWND dialog = dialog_;
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitForWindowGone(dialog, kPatienceMs)) << VisibleWindows();
  dialog_ = nullptr;
}

bool SimulatedCardProgram::StoreProfile(const Profile& profile, bool inUse) {
  Win32Registry registry;
  Win32WindowSystem windows(GetModuleHandleA(nullptr));
  DefaultTexts texts;
  Messages messages(windows, texts);
  ProfileStore store(registry, messages);
  if (!store.Save(profile, false)) return false;
  if (inUse) store.WriteLastProfile(profile.name);
  return true;
}

}  // namespace linkscope::testing
