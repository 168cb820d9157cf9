// The language table over Wine's real private-profile functions and real files, and the real
// program taking its title from the language file.

#include <windows.h>

#include <gtest/gtest.h>

#include "text/LanguageTable.h"
#include "text/OemSettings.h"
#include "win32/ProcessHelpers.h"
#include "win32/Win32PrivateProfile.h"

namespace linkscope::testing {
namespace {

constexpr const char* kSettingsKey = "Software\\ORVEX\\Linkscope\\Settings";

// A fresh folder with a res\ subfolder; files written into it are removed with it.
class TempFolder {
 public:
  TempFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "linkscope-text-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(counter_++) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
    CreateDirectoryA((path_ + "res").c_str(), nullptr);
  }
  ~TempFolder() {
    for (const std::string& f : files_) DeleteFileA(f.c_str());
    RemoveDirectoryA((path_ + "res").c_str());
    RemoveDirectoryA(path_.c_str());
  }
  const std::string& Path() const { return path_; }
  void Write(const std::string& relative, const std::string& content) {
    const std::string file = path_ + relative;
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << file;
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
    files_.push_back(file);
  }
  void Copy(const std::string& from, const std::string& relative) {
    ASSERT_TRUE(CopyFileA(from.c_str(), (path_ + relative).c_str(), FALSE)) << from;
    files_.push_back(path_ + relative);
  }

 private:
  static inline int counter_ = 0;
  std::string path_;
  std::vector<std::string> files_;
};

// The table reads its files relative to the current directory, as the program does.
class RealLanguageFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    previous_ = cwd;
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.Path().c_str()));
  }
  void TearDown() override { SetCurrentDirectoryA(previous_.c_str()); }
  LanguageTable& Opened(const std::string& ini) {
    folder_.Write("res\\Wlan.ini", ini);
    table_.ChooseFile();
    return table_;
  }

  TempFolder folder_;
  Win32PrivateProfile profile_;
  LanguageTable table_{profile_};
  OemSettings oem_{table_};
  std::string previous_;
};

TEST_F(RealLanguageFiles, VendorFileWinsAndTheShippedOneIsIgnored) {
  folder_.Write("res\\Wlan.oem", "[Languages]\r\nLanguage-1=Vendor\r\n[Vendor]\r\nDlgTitle=Acme\r\n");
  Opened("[Languages]\r\nLanguage-1=English\r\n[English]\r\nDlgTitle=Linkscope\r\n"
         "ToolTipText=Shipped\r\n[Vendor]\r\nToolTipText=Shipped\r\n");
  EXPECT_EQ(LanguageTable::kOemFile, table_.FilePath());
  EXPECT_EQ(std::vector<std::string>{"Vendor"}, table_.Languages());
  EXPECT_EQ("Acme", table_.Lookup("DlgTitle", "x"));
  EXPECT_EQ("Linkscope", oem_.ToolTipText());
}

TEST_F(RealLanguageFiles, NoFileGivesDefaultsAndNoLanguages) {
  table_.ChooseFile();
  EXPECT_EQ("", table_.FilePath());
  EXPECT_TRUE(table_.Languages().empty());
  EXPECT_EQ("Linkscope Utility", table_.Lookup("DlgTitle", "Linkscope Utility"));
  EXPECT_EQ(1000u, oem_.DevicePollingTimerMsec());
  EXPECT_EQ(16u, oem_.LoadDeviceDescriptions(OemSettings::BuiltInDeviceDescriptions()).size());
}

TEST_F(RealLanguageFiles, ListRestoringValuesAndDescriptions) {
  Opened("[Languages]\r\nLanguage-1=English\r\nLanguage-2=Deutsch\r\nLanguage-4=Dansk\r\n"
         "Deutsch=1\r\nDansk=1\r\n"
         "[English]\r\nTaskBarOkIcon=\r\nLong=" + std::string(2500, 'w') + "\r\n"
         "DeviceDescription-1=Acme Card\r\nDeviceDescription-3=Acme USB\r\n"
         "DevicePollingTimerMsec=250ms\r\nShowAdaptersList=1x\r\n"
         "[Deutsch]\r\nDevicePollingTimerMsec=x\r\nShowAdaptersList= 1 \r\n"
         "[Fran\xE7" "ais]\r\nShowAdaptersList=0\r\n");
  EXPECT_EQ((std::vector<std::string>{"English", "Deutsch"}), table_.Languages());
  EXPECT_EQ("", table_.Lookup("TaskBarOkIcon", "builtin"));
  EXPECT_EQ(std::string(1999, 'w'), table_.Lookup("Long", ""));
  EXPECT_EQ(std::vector<std::string>{"Acme Card"},
            oem_.LoadDeviceDescriptions(OemSettings::BuiltInDeviceDescriptions()));
  EXPECT_EQ(250u, oem_.DevicePollingTimerMsec());
  EXPECT_FALSE(oem_.ShowAdaptersList());

  table_.SelectStartLanguage("Dansk");  // marked, and not listed: the mark decides
  EXPECT_EQ("Dansk", table_.CurrentLanguage());
  EXPECT_TRUE(oem_.ShowAdaptersList());
  table_.SelectStartLanguage("Svenska");
  EXPECT_EQ("English", table_.CurrentLanguage());
  table_.SelectStartLanguage("Deutsch");
  EXPECT_EQ("Deutsch", table_.CurrentLanguage());
  EXPECT_EQ(0u, oem_.DevicePollingTimerMsec());
  EXPECT_TRUE(oem_.ShowAdaptersList());
  table_.SetCurrentLanguage("Fran\xE7" "ais");
  EXPECT_FALSE(oem_.ShowAdaptersList());
}

// What a lookup costs against the platform's own read is measured by languagebench.exe
// (tests/bench/languagebench.cpp), never asserted here.
TEST_F(RealLanguageFiles, HostileFileNeitherCrashesNorMisleadsALookup) {
  std::string ini = "[Languages]\r\n";
  for (int n = 1; n <= 10000; ++n) {
    ini += "Language-" + std::to_string(n) + "=L" + std::to_string(n) + "\r\n";
  }
  ini += "[L1]\r\nFormat=%s%n%s%n%x\r\nHuge=" + std::string(1 << 20, 'h') + "\r\nBinary=\x01\x7F";
  ini += '\0';
  ini += "\x80\xFF\r\n";
  for (int c = 1; c < 256; ++c) ini += static_cast<char>(c);
  ini += "\r\nAfter=ok\r\n";

  Opened(ini);
  EXPECT_EQ(20u, table_.Languages().size()) << "the list is read only as far as it is used";
  EXPECT_EQ("%s%n%s%n%x", table_.Lookup("Format", ""));
  EXPECT_EQ("\x01\x7F", table_.Lookup("Binary", ""));
  EXPECT_EQ("ok", table_.Lookup("After", ""));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(std::string(1999, 'h'), table_.Lookup("Huge", ""));
}

// The real program, started from a folder of its own that holds res\Wlan.ini.
class ProgramTitle : public ::testing::Test {
 protected:
  void SetUp() override { ForgetLanguage(); }
  void TearDown() override {
    for (Process& p : processes_) {
      HWND main = nullptr;
      DWORD code = 0;
      if (!WaitForExit(p, 0, &code)) {
        EnumThreadWindowsFor(p, &main);
        if (main != nullptr) PostMessageA(main, WM_CLOSE, 0, 0);
        WaitForExit(p, 10000, &code);
      }
      Close(&p);
    }
    ForgetLanguage();
  }
  static void StoreLanguage(const std::string& name) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    // As the program stores it: without the NUL, one byte per letter.
    RegSetValueExA(key, "Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.data()),
                   static_cast<DWORD>(name.size()));
    RegCloseKey(key);
  }
  static void ForgetLanguage() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, "Language");
      RegCloseKey(key);
    }
  }
  static void EnumThreadWindowsFor(const Process& p, HWND* found) {
    struct Search {
      DWORD pid;
      HWND* found;
    } search{p.id, found};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
          auto* s = reinterpret_cast<Search*>(param);
          DWORD pid = 0;
          GetWindowThreadProcessId(hwnd, &pid);
          if (pid != s->pid) return TRUE;
          *s->found = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
  }
  // Copies the program into `folder` with `ini` as its language file.
  static void Install(TempFolder& folder, const std::string& ini) {
    folder.Copy(ProgramFolder() + "linkscope.exe", "linkscope.exe");
    folder.Write("res\\Wlan.ini", ini);
  }
  Process& Run(TempFolder& folder) {
    processes_.emplace_back();
    EXPECT_TRUE(Start(folder.Path() + "linkscope.exe", folder.Path(), &processes_.back()));
    return processes_.back();
  }
  std::string ShippedFile() {
    HANDLE h = CreateFileA((ProgramFolder() + "res\\Wlan.ini").c_str(), GENERIC_READ,
                           FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, h) << "the build copies res\\Wlan.ini beside the program";
    std::string content(GetFileSize(h, nullptr), '\0');
    DWORD read = 0;
    ReadFile(h, &content[0], static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(h);
    return content;
  }
  std::vector<Process> processes_;
};

TEST_F(ProgramTitle, ShippedFileWithAStoredGermanOrFrenchLanguage) {
  TempFolder folder;
  Install(folder, ShippedFile());
  StoreLanguage("Deutsch");
  Run(folder);
  HWND german = WaitForWindow("Linkscope-Dienstprogramm", 30000);
  ASSERT_NE(nullptr, german) << "the German title never showed";
  PostMessageA(german, WM_CLOSE, 0, 0);
  DWORD code = 0;
  EXPECT_TRUE(WaitForExit(processes_.back(), 30000, &code));

  StoreLanguage("Fran\xE7" "ais");
  Run(folder);
  HWND french = WaitForWindow("Utilitaire Linkscope", 30000);
  ASSERT_NE(nullptr, french) << "the French title never showed";
  PostMessageA(french, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitForExit(processes_.back(), 30000, &code));
}

TEST_F(ProgramTitle, StoredLanguageTheFileDoesNotMarkFallsBackToTheFirst) {
  TempFolder folder;
  Install(folder, "[Languages]\r\nLanguage-1=One\r\nLanguage-2=Two\r\nTwo=\r\n"
                  "[One]\r\nDlgTitle=Linkscope One\r\n[Two]\r\nDlgTitle=Linkscope Two\r\n");
  StoreLanguage("Two");
  Run(folder);
  HWND main = WaitForWindow("Linkscope One", 30000);
  ASSERT_NE(nullptr, main);
  EXPECT_EQ(nullptr, WaitForWindow("Linkscope Two", 0));
  PostMessageA(main, WM_CLOSE, 0, 0);
  DWORD code = 0;
  EXPECT_TRUE(WaitForExit(processes_.back(), 30000, &code));
}

TEST_F(ProgramTitle, InstancesWithDifferentTitlesBothRunTheSameTitleEnds) {
  TempFolder a, b;
  Install(a, "[Languages]\r\nLanguage-1=E\r\n[E]\r\nDlgTitle=Linkscope A\r\n");
  Install(b, "[Languages]\r\nLanguage-1=F\r\n[F]\r\nDlgTitle=Linkscope \xC4 r\xE9seau\r\n");
  Run(a);
  ASSERT_NE(nullptr, WaitForWindow("Linkscope A", 30000));
  Run(b);
  ASSERT_NE(nullptr, WaitForWindow("Linkscope \xC4 r\xE9seau", 30000));

  Process& again = Run(a);
  DWORD code = 0;
  EXPECT_TRUE(WaitForExit(again, 30000, &code)) << "a second start with the same title ran";
  EXPECT_EQ(1u, code);
  // The first two are still there.
  EXPECT_FALSE(WaitForExit(processes_[0], 200, &code));
  EXPECT_FALSE(WaitForExit(processes_[1], 200, &code));
}

}  // namespace
}  // namespace linkscope::testing
