// The platform contracts, run against Wine's real registry, private-profile functions and
// window manager through the program's Win32 layer.

#include <windows.h>
#include <commctrl.h>

#include "contract/DialogItemsContract.h"
#include "contract/PrivateProfileContract.h"
#include "contract/RegistryContract.h"
#include "contract/ServiceManagerContract.h"
#include "contract/WindowSystemContract.h"
#include "win32/Win32DialogSystem.h"
#include "win32/Win32PrivateProfile.h"
#include "win32/Win32Registry.h"
#include "win32/Win32ServiceManager.h"
#include "win32/Win32System.h"
#include "win32/Win32WindowSystem.h"
#include "win32/ProcessHelpers.h"
#include "win32/TestService.h"

namespace linkscope {
namespace {

class RealIniWorld : public IniWorld {
 public:
  RealIniWorld() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "linkscope-contract-" + std::to_string(GetCurrentProcessId()) +
              "-" + std::to_string(counter_++) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  ~RealIniWorld() override {
    for (const std::string& f : files_) DeleteFileA(f.c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  IPrivateProfile& Profile() override { return profile_; }
  std::string WriteFile(const std::string& name, const std::string& content) override {
    const std::string path = folder_ + name;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, h) << path;
    DWORD written = 0;
    WriteFile_(h, content, &written);
    CloseHandle(h);
    files_.push_back(path);
    return path;
  }
  std::string MissingPath() override { return folder_ + "no-such-file.ini"; }

 private:
  static void WriteFile_(HANDLE h, const std::string& content, DWORD* written) {
    ::WriteFile(h, content.data(), static_cast<DWORD>(content.size()), written, nullptr);
  }
  static inline int counter_ = 0;
  std::string folder_;
  std::vector<std::string> files_;
  Win32PrivateProfile profile_;
};

// Real dialogs in a hidden window of the test; the user's hands are the messages the system
// sends a control for a key press and a mouse click.
class RealDialogWorld : public DialogWorld {
 public:
  RealDialogWorld() : dialogs_(GetModuleHandleA(nullptr)) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    host_ = CreateWindowExA(0, "STATIC", "contract host", WS_POPUP, 0, 0, 400, 300, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~RealDialogWorld() override {
    DestroyWindow(host_);
    if (!bitmap_.empty()) DeleteFileA(bitmap_.c_str());
  }
  IDialogSystem& Dialogs() override { return dialogs_; }
  WindowHandle Host() override { return reinterpret_cast<WindowHandle>(host_); }
  void Type(WindowHandle dialog, int id, const std::string& text) override {
    HWND edit = GetDlgItem(reinterpret_cast<HWND>(dialog), id);
    for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
  }
  void Click(WindowHandle dialog, int id) override {
    HWND button = GetDlgItem(reinterpret_cast<HWND>(dialog), id);
    // The user reaches only a control that is enabled and shown.
    if (button == nullptr || !IsWindowEnabled(button) ||
        (GetWindowLongPtrA(button, GWL_STYLE) & WS_VISIBLE) == 0) {
      return;
    }
    SendMessageA(button, BM_CLICK, 0, 0);
  }
  // A 2 x 1 bitmap of 24 bits per pixel, written into the temporary folder.
  std::string BitmapFile() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "linkscope-contract-" +
                             std::to_string(GetCurrentProcessId()) + ".bmp";
    const unsigned char bmp[] = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                    // file header
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,      // info header
        8, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0x20, 0x40, 0x80, 0xFF, 0xFF, 0xFF, 0, 0};                          // one row
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    DWORD written = 0;
    WriteFile(file, bmp, sizeof bmp, &written, nullptr);
    CloseHandle(file);
    bitmap_ = path;
    return written == sizeof bmp ? path : "";
  }

 private:
  Win32DialogSystem dialogs_;
  HWND host_;
  std::string bitmap_;
};

INSTANTIATE_TEST_SUITE_P(Win32, DialogItemsContract,
                         ::testing::Values(DialogWorldImpl{
                             "Win32", [] { return std::make_unique<RealDialogWorld>(); }}),
                         DialogWorldName);

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(RegistryImpl{
                             "Win32", [] { return std::make_unique<Win32Registry>(); }}),
                         ImplName);

INSTANTIATE_TEST_SUITE_P(Win32, PrivateProfileContract,
                         ::testing::Values(PrivateProfileImpl{
                             "Win32", [] { return std::make_unique<RealIniWorld>(); }}),
                         IniImplName);

INSTANTIATE_TEST_SUITE_P(Win32, WindowSystemContract,
                         ::testing::Values(WindowSystemImpl{
                             "Win32",
                             [] {
                               return std::make_unique<Win32WindowSystem>(
                                   GetModuleHandleA(nullptr));
                             }}),
                         WindowImplName);

// Wine's service manager with the test service program installed under a contract name.
class RealServiceWorld : public ServiceWorld {
 public:
  ~RealServiceWorld() override {
    for (const std::string& name : installed_) testing::RemoveTestService(name);
  }
  IServiceManager& Manager() override { return manager_; }
  bool Install(const std::string& name) override {
    installed_.push_back(name);
    return testing::InstallTestService(name, testing::ProgramFolder() + "wzcsvc.exe");
  }
  bool SetRunning(const std::string& name, bool running) override {
    return running ? testing::StartTestService(name) : testing::StopTestService(name);
  }
  void Remove(const std::string& name) override { testing::RemoveTestService(name); }

 private:
  Win32ServiceManager manager_;
  std::vector<std::string> installed_;
};

INSTANTIATE_TEST_SUITE_P(Win32, ServiceManagerContract,
                         ::testing::Values(ServiceWorldImpl{
                             "Win32", [] { return std::make_unique<RealServiceWorld>(); }}),
                         ServiceWorldName);

TEST(Win32SystemTest, EventsDirectoryClockAndSockets) {
  Win32System system;
  const EventHandle event = system.MakeEvent(true, false);
  ASSERT_NE(0u, event);
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT),
            WaitForSingleObject(reinterpret_cast<HANDLE>(event), 0));
  system.CloseEvent(event);

  char cwd[MAX_PATH];
  const DWORD n = GetCurrentDirectoryA(MAX_PATH, cwd);
  EXPECT_EQ(std::string(cwd, n), system.CurrentDirectory());

  // The clock moves on while the program sleeps (how far is the machine's business).
  const std::uint32_t before = system.TickCount();
  bool moved = false;
  for (int i = 0; i < 3000 && !moved; ++i) {
    system.Sleep(20);
    moved = system.TickCount() != before;
  }
  EXPECT_TRUE(moved);
  EXPECT_TRUE(system.StartSockets());

  // The device link the request channel defines for an adapter's driver; the heap must come
  // out of it intact.
  system.DefineDosName(kDddRawTargetPath, "{5A1D0000-0000-4000-8000-00000000D0D0}",
                       "\\Device\\{5A1D0000-0000-4000-8000-00000000D0D0}");
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
  for (int i = 0; i < 100; ++i) {
    void* p = HeapAlloc(GetProcessHeap(), 0, 32 + i);
    ASSERT_NE(nullptr, p);
    HeapFree(GetProcessHeap(), 0, p);
  }

  OsVersion version;
  ASSERT_TRUE(system.GetVersion(&version));
  EXPECT_EQ(kPlatformNt, version.platform);
}

}  // namespace
}  // namespace linkscope
