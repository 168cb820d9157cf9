// The built-in profile: the first start of the real program creates it, a later start leaves
// an edited one alone.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "win32/ProcessHelpers.h"

namespace linkscope::testing {
namespace {

constexpr const char* kDefaultKey = "Software\\ORVEX\\Linkscope\\Profiles\\Default";

void RunOnce() {
  Process program;
  ASSERT_TRUE(Start(ProgramFolder() + "linkscope.exe", ProgramFolder(), &program));
  HWND main = WaitForWindow("Linkscope Utility", 30000);
  ASSERT_NE(nullptr, main);
  PostMessageA(main, WM_CLOSE, 0, 0);
  DWORD code = 1;
  EXPECT_TRUE(WaitForExit(program, 30000, &code));
  EXPECT_EQ(0u, code);
  Close(&program);
}

bool ReadValue(const char* name, DWORD* type, std::vector<BYTE>* data) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kDefaultKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  BYTE buffer[260];
  DWORD size = sizeof buffer;
  const LONG rc = RegQueryValueExA(key, name, nullptr, type, buffer, &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return false;
  data->assign(buffer, buffer + size);
  return true;
}

std::vector<BYTE> Dword(DWORD v) {
  return {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
          static_cast<BYTE>(v >> 24)};
}

TEST(DefaultProfileUnderWine, FirstStartCreatesItAndLaterStartsKeepItsEdits) {
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ORVEX\\Linkscope\\Profiles");
  RunOnce();

  struct Number {
    const char* name;
    DWORD value;
  };
  for (const Number& n : {Number{"mode", 1}, Number{"channel", 10}, Number{"rate", 4},
                          Number{"power", 0}, Number{"preamble", 2}, Number{"frag", 2346},
                          Number{"rts", 2347}, Number{"enc", 0}, Number{"wepmode", 0},
                          Number{"auth", 2}, Number{"key", 0}, Number{"roaming", 0},
                          Number{"radio", 1}}) {
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(ReadValue(n.name, &type, &data)) << n.name;
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type) << n.name;
    EXPECT_EQ(Dword(n.value), data) << n.name;
  }
  for (const char* name : {"key1", "key2", "key3", "key4"}) {
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(ReadValue(name, &type, &data)) << name;
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type) << name;
    EXPECT_EQ(std::string("7E3D91C0A5", 11), std::string(data.begin(), data.end())) << name;
  }
  DWORD type = 0;
  std::vector<BYTE> data;
  ASSERT_TRUE(ReadValue("ssid", &type, &data));
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
  EXPECT_EQ(std::vector<BYTE>{0}, data);  // empty, with its NUL

  // An edited Default survives the next start.
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kDefaultKey, 0, KEY_ALL_ACCESS, &key));
  const DWORD three = 3;
  RegSetValueExA(key, "channel", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three), 4);
  RegCloseKey(key);
  RunOnce();
  ASSERT_TRUE(ReadValue("channel", &type, &data));
  EXPECT_EQ(Dword(3), data);
}

}  // namespace
}  // namespace linkscope::testing
