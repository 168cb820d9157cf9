// The version classification against the real GetVersionEx: Wine reports whatever Windows
// version is configured for an executable's name, so one copy of the probe per version sees
// each of them.

#include <gtest/gtest.h>

#include "win32/ProcessHelpers.h"

namespace linkscope::testing {
namespace {

struct VersionCase {
  const char* wineVersion;
  DWORD expectedKind;
};

TEST(OsVersionUnderWine, EachReportedVersionGivesItsOsKind) {
  const VersionCase cases[] = {{"win95", 3}, {"win98", 4}, {"winme", 4},   {"nt40", 2},
                               {"win2k", 1}, {"winxp", 5}, {"winxp64", 1}, {"win7", 0}};
  const std::string folder = ProgramFolder();
  for (const VersionCase& c : cases) {
    const std::string name = std::string("osprobe_") + c.wineVersion + ".exe";
    const std::string copy = folder + name;
    ASSERT_TRUE(CopyFileA((folder + "osprobe.exe").c_str(), copy.c_str(), FALSE)) << name;
    ASSERT_TRUE(SetWineVersion(name, c.wineVersion)) << name;
    Process process;
    ASSERT_TRUE(Start(copy, folder, &process)) << name;
    DWORD code = 999;
    EXPECT_TRUE(WaitForExit(process, 30000, &code)) << name;
    EXPECT_EQ(c.expectedKind, code) << c.wineVersion;
    Close(&process);
    ClearWineVersion(name);
    DeleteFileA(copy.c_str());
  }
}

}  // namespace
}  // namespace linkscope::testing
