// The real program under Wine: it stays resident, a second instance ends at once, and so does
// any start while a foreign window carries the program's title.

#include <gtest/gtest.h>

#include "win32/ProcessHelpers.h"

namespace linkscope::testing {
namespace {

constexpr const char* kTitle = "Linkscope Utility";

class SingleInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ProgramFolder();
    exe_ = folder_ + "linkscope.exe";
    ASSERT_EQ(nullptr, WaitForWindow(kTitle, 0)) << "a Linkscope is already running";
  }
  std::string folder_;
  std::string exe_;
};

TEST_F(SingleInstance, FirstStaysResidentSecondEndsAtOnce) {
  Process first;
  ASSERT_TRUE(Start(exe_, folder_, &first));
  HWND main = WaitForWindow(kTitle, 30000);
  ASSERT_NE(nullptr, main) << "the first instance never showed its title";
  EXPECT_FALSE(IsWindowVisible(main)) << "the main window stays hidden";

  // The per-user key exists once the program runs.
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_SUCCESS,
            RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\ORVEX\\Linkscope", 0, KEY_READ, &key));
  if (key != nullptr) RegCloseKey(key);

  Process second;
  ASSERT_TRUE(Start(exe_, folder_, &second));
  DWORD code = 0;
  EXPECT_TRUE(WaitForExit(second, 30000, &code)) << "the second instance did not end";
  EXPECT_EQ(1u, code);
  Close(&second);

  DWORD firstCode = 0;
  EXPECT_FALSE(WaitForExit(first, 500, &firstCode)) << "the first instance ended";
  EXPECT_EQ(main, WaitForWindow(kTitle, 0));

  // Asked to close, the program ends normally.
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitForExit(first, 30000, &firstCode));
  EXPECT_EQ(0u, firstCode);
  Close(&first);
}

TEST_F(SingleInstance, ForeignWindowWithTheTitleStopsTheStart) {
  HWND foreign = CreateWindowExA(0, "STATIC", kTitle, WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, foreign);
  Process process;
  ASSERT_TRUE(Start(exe_, folder_, &process));
  DWORD code = 0;
  EXPECT_TRUE(WaitForExit(process, 30000, &code)) << "the program started beside the window";
  EXPECT_EQ(1u, code);
  Close(&process);
  DestroyWindow(foreign);
}

TEST_F(SingleInstance, TitleInOtherLettersDoesNotStopTheStart) {
  HWND foreign = CreateWindowExA(0, "STATIC", "LINKSCOPE UTILITY", WS_OVERLAPPED, 0, 0, 10, 10,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, foreign);
  Process process;
  ASSERT_TRUE(Start(exe_, folder_, &process));
  HWND main = WaitForWindow(kTitle, 30000);
  EXPECT_NE(nullptr, main);
  DWORD code = 0;
  if (main != nullptr) {
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForExit(process, 30000, &code));
  }
  Close(&process);
  DestroyWindow(foreign);
}

}  // namespace
}  // namespace linkscope::testing
