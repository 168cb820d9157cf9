// The setup program as a user meets it, in a Wine prefix of its own made fresh for this run:
// a silent install into a folder with a space in its name, the program started by the Start
// menu shortcut and by the Run value, a silent uninstall while it runs, and an upgrade over an
// earlier build while it runs.

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "win32/ProcessHelpers.h"
#include "win32/UiDriver.h"

namespace linkscope::testing {
namespace {

const char* kTitle = "Linkscope Utility";
const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Linkscope";
const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* kSettingsKey = "Software\\ORVEX\\Linkscope\\Settings";
const char* kProfilesKey = "Software\\ORVEX\\Linkscope\\Profiles";

std::string SetupProgram(const char* version) {
  return ProgramFolder() + "..\\installer\\linkscope-setup-" + version + ".exe";
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string MachineValue(const char* key, const char* name) {
  char data[1024] = {};
  DWORD size = sizeof data - 1;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, nullptr,
                   data, &size) != ERROR_SUCCESS) {
    return "<missing>";
  }
  return data;
}

bool MachineKeyExists(const char* key) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

std::string StartMenuShortcut() {
  char programs[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, programs);
  return std::string(programs) + "\\Linkscope\\Linkscope.lnk";
}

// The program's target and working folder as the shortcut gives them to the shell.
bool ReadShortcut(const std::string& lnk, std::string* target, std::string* folder) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  IPersistFile* file = nullptr;
  bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
  if (ok) {
    std::wstring wide(lnk.begin(), lnk.end());
    ok = SUCCEEDED(file->Load(wide.c_str(), STGM_READ));
    file->Release();
  }
  char path[MAX_PATH] = {}, dir[MAX_PATH] = {};
  ok = ok && SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0)) &&
       SUCCEEDED(link->GetWorkingDirectory(dir, MAX_PATH));
  link->Release();
  *target = path;
  *folder = dir;
  return ok;
}

// Starts a command line as Windows starts the Run key's programs: in the system folder.
bool StartCommandLine(const std::string& commandLine) {
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, system, &si,
                      &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

DWORD ProcessOf(HWND window) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  return id;
}

bool ProcessEnded(DWORD id, DWORD ms) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  if (process == nullptr) return true;
  const bool ended = WaitForSingleObject(process, ms) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

// The program running with its tray icon; nullptr when it did not come.
HWND RunningProgram() {
  HWND main = WaitForWindow(kTitle, kPatienceMs);
  if (main == nullptr || !WaitForTrayIcon(main, true, kPatienceMs)) return nullptr;
  return main;
}

// The language the program stored at its orderly end; "English" only when it had read the
// installed res\Wlan.ini, that is when it ran in the installed folder.
std::string StoredLanguage() { return UserValue(kSettingsKey, "Language"); }
void ForgetStoredLanguage() {
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &h) == ERROR_SUCCESS) {
    RegDeleteValueA(h, "Language");
    RegCloseKey(h);
  }
}

// The silent uninstaller copies itself away and returns at once; it is done when the folder
// it removes and the entry in the list of installed programs (its last step) are gone.
void UninstallSilently(const std::string& folder) {
  std::string output;
  ASSERT_EQ(0u, RunCommand(Quote(folder + "uninstall.exe") + " /S", ProgramFolder(), &output))
      << output;
  EXPECT_TRUE(WaitUntil([&] { return !Exists(folder) && !MachineKeyExists(kUninstallKey); }))
      << folder << " or the uninstall entry stayed";
}

bool SimulatedAdapterKeysLeft() {
  const char* classKey =
      "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, classKey, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  bool found = false;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(h, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    char provider[256] = {};
    DWORD size = sizeof provider - 1;
    if (RegGetValueA(h, name, "ProviderName", RRF_RT_REG_SZ, nullptr, provider, &size) ==
            ERROR_SUCCESS &&
        std::string(provider) == "ORVEX Skyrelay (simulated)") {
      found = true;
    }
  }
  RegCloseKey(h);
  return found;
}

class Installer : public ::testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(Installer, SilentInstallStartsFromItsFolderAndSilentUninstallLeavesOnlyTheProfiles) {
  const std::string folder = "C:\\Program Files\\Linkscope Test\\";
  std::string output;
  // /D= takes the rest of the line, spaces included, without quotes.
  ASSERT_EQ(0u, RunCommand(Quote(SetupProgram(LINKSCOPE_VERSION)) +
                               " /S /EVALUATIONADAPTER /D=C:\\Program Files\\Linkscope Test",
                           ProgramFolder(), &output))
      << output;
  for (const char* file : {"linkscope.exe", "linkscope-cli.exe", "res\\Wlan.ini",
                           "res\\linkscope-logo.bmp", "W32N50.dll", "W32N50-environment.json",
                           "adapterinstall.exe", "uninstall.exe"}) {
    EXPECT_TRUE(Exists(folder + file)) << file;
  }
  EXPECT_EQ(LINKSCOPE_VERSION, MachineValue(kUninstallKey, "DisplayVersion"));
  EXPECT_EQ("ORVEX", MachineValue(kUninstallKey, "Publisher"));
  EXPECT_EQ(folder + "linkscope.exe,0", MachineValue(kUninstallKey, "DisplayIcon"));
  EXPECT_EQ("\"" + folder + "uninstall.exe\"", MachineValue(kUninstallKey, "UninstallString"));
  EXPECT_NE("<missing>", MachineValue(kUninstallKey, "EstimatedSize"));

  // The Start menu shortcut starts the program in its folder.
  std::string target, workingFolder;
  ASSERT_TRUE(ReadShortcut(StartMenuShortcut(), &target, &workingFolder));
  EXPECT_EQ(folder + "linkscope.exe", target);
  EXPECT_EQ(folder.substr(0, folder.size() - 1), workingFolder);
  Process fromShortcut;
  ASSERT_TRUE(Start(target, workingFolder, &fromShortcut));
  HWND main = RunningProgram();
  ASSERT_NE(nullptr, main) << "no tray icon after the shortcut";
  PostMessageA(main, RegisterWindowMessageA("LINKSCOPE_CLOSE_FOR_SETUP"), 0, 0);
  DWORD code = 0;
  EXPECT_TRUE(WaitForExit(fromShortcut, kPatienceMs, &code));
  Close(&fromShortcut);
  EXPECT_EQ("English", StoredLanguage()) << "the shortcut's program did not read res\\Wlan.ini";

  // The Run value starts it in its folder too, though Windows runs it from the system folder.
  ForgetStoredLanguage();
  const std::string run = UserValue(kRunKey, "Linkscope");
  ASSERT_NE("<missing>", run);
  ASSERT_TRUE(StartCommandLine(run));
  main = RunningProgram();
  ASSERT_NE(nullptr, main) << "no tray icon after the Run value";
  const DWORD program = ProcessOf(main);

  // A silent uninstall ends the running program as Exit does (it stores its options) and asks
  // nothing, removes everything the installer made and keeps the user's profiles.
  UninstallSilently(folder);
  EXPECT_TRUE(ProcessEnded(program, kPatienceMs));
  EXPECT_EQ("English", StoredLanguage()) << "the Run value's program did not read res\\Wlan.ini"
                                         << " or was not ended in order";
  EXPECT_FALSE(Exists(StartMenuShortcut()));
  const std::string menuFolder = StartMenuShortcut();
  EXPECT_FALSE(Exists(menuFolder.substr(0, menuFolder.find_last_of('\\'))));
  EXPECT_FALSE(MachineKeyExists(kUninstallKey));
  EXPECT_EQ("<missing>", UserValue(kRunKey, "Linkscope"));
  EXPECT_FALSE(SimulatedAdapterKeysLeft());
  HKEY profiles = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kProfilesKey, 0, KEY_READ, &profiles));
  if (profiles != nullptr) RegCloseKey(profiles);
}

TEST_F(Installer, UpgradeWhileRunningKeepsProfilesAndStartsTheNewProgram) {
  std::string output;
  ASSERT_EQ(0u, RunCommand(Quote(SetupProgram("earlier")) + " /S /EVALUATIONADAPTER", ProgramFolder(),
                           &output))
      << output;
  const std::string folder = MachineValue(kUninstallKey, "InstallLocation") + "\\";
  ASSERT_TRUE(Exists(folder + "linkscope.exe")) << folder;
  EXPECT_EQ("3.3.4.39", MachineValue(kUninstallKey, "DisplayVersion"));

  // A profile the user made with the earlier version.
  HKEY harbour = nullptr;
  const std::string harbourKey = std::string(kProfilesKey) + "\\Harbour";
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, harbourKey.c_str(), 0, nullptr, 0,
                                           KEY_ALL_ACCESS, nullptr, &harbour, nullptr));
  RegSetValueExA(harbour, "SSID", 0, REG_SZ, reinterpret_cast<const BYTE*>("Harbour"), 7);
  RegCloseKey(harbour);

  std::string target, workingFolder;
  ASSERT_TRUE(ReadShortcut(StartMenuShortcut(), &target, &workingFolder));
  Process earlier;
  ASSERT_TRUE(Start(target, workingFolder, &earlier));
  HWND main = RunningProgram();
  ASSERT_NE(nullptr, main);

  // No folder given: the upgrade goes where the earlier version is, keeps its evaluation
  // adapter, closes the running program and starts the new one.
  ASSERT_EQ(0u, RunCommand(Quote(SetupProgram(LINKSCOPE_VERSION)) + " /S", ProgramFolder(), &output))
      << output;
  DWORD code = 0;
  EXPECT_TRUE(WaitForExit(earlier, kPatienceMs, &code));
  Close(&earlier);
  EXPECT_EQ(LINKSCOPE_VERSION, MachineValue(kUninstallKey, "DisplayVersion"));
  EXPECT_TRUE(Exists(folder + "W32N50.dll"));
  HWND restarted = RunningProgram();
  ASSERT_NE(nullptr, restarted) << "the program was not started again";
  const DWORD program = ProcessOf(restarted);
  EXPECT_NE(earlier.id, program);
  EXPECT_EQ("Harbour", UserValue(harbourKey, "SSID"));

  UninstallSilently(folder);
  EXPECT_TRUE(ProcessEnded(program, kPatienceMs));
  EXPECT_EQ("Harbour", UserValue(harbourKey, "SSID"));
}

}  // namespace
}  // namespace linkscope::testing
