// Applying a profile under each Windows version writes the adapter's driver key in that
// version's encoding, checked with `reg query` as a person would.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "win32/ProcessHelpers.h"

namespace linkscope::testing {
namespace {

// The data column `reg query` prints for a value ("REG_SZ    2346"), or "" when it is missing.
std::string RegValue(const std::string& key, const std::string& value) {
  std::string path = key;
  while (!path.empty() && path.back() == '\\') path.pop_back();
  std::string output;
  const std::string args = value.empty() ? "/ve" : "/v " + value;
  if (RunCommand("reg.exe query " + Quote("HKLM\\" + path) + " " + args, ProgramFolder(),
                 &output) != 0) {
    return "";
  }
  for (const char* type : {"REG_DWORD", "REG_SZ"}) {
    const std::size_t at = output.find(type);
    if (at == std::string::npos) continue;
    std::string rest = output.substr(at);
    rest = rest.substr(0, rest.find_first_of("\r\n"));
    // Collapse the column gap to one blank.
    const std::size_t gap = rest.find_first_of(" \t");
    const std::size_t data = rest.find_first_not_of(" \t", gap);
    return rest.substr(0, gap) + " " + (data == std::string::npos ? "" : rest.substr(data));
  }
  return "";
}

struct Case {
  const char* wineVersion;
  const char* frag;     // as `reg query` shows it
  bool written;         // whether the profile reaches the driver key at all
  bool mirror;
};

TEST(ProfileUnderWine, DriverKeyPerWindowsVersion) {
  const std::string bin = ProgramFolder();
  const Case cases[] = {
      {"nt40", "REG_DWORD 0x92a", true, false},
      {"win98", "REG_SZ 2346", true, true},
      {"win2k", "REG_SZ 2346", true, false},
      {"winxp", "REG_SZ 2346", true, false},
      {"win7", "REG_SZ 2346", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wineVersion);
    const std::string v = c.wineVersion;
    const std::string folder = bin + "profile_" + v + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string installer = "adapterinstall_" + v + ".exe";
    const std::string probe = "profileprobe_" + v + ".exe";
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"adapterinstall.exe", installer},
                                   {"profileprobe.exe", probe},
                                   {"W32N50.dll", "W32N50.dll"},
                                   {"simulated-environment.json", "W32N50-environment.json"}}) {
      ASSERT_TRUE(CopyFileA((bin + from).c_str(), (folder + to).c_str(), FALSE)) << from;
    }
    ASSERT_TRUE(SetWineVersion(installer, v));
    ASSERT_TRUE(SetWineVersion(probe, v));
    std::string output;
    ASSERT_EQ(0u, RunCommand(Quote(folder + installer) + " install W32N50-environment.json",
                             folder, &output))
        << output;

    // A profile applied at level 0 leaves the keys alone.
    ASSERT_EQ(0u, RunCommand(Quote(folder + probe) + " apply key.txt 6 0", folder, &output))
        << output;
    const std::string key = ReadText(folder + "key.txt");
    ASSERT_FALSE(key.empty());
    if (c.written) {
      EXPECT_TRUE(output.empty()) << output;
      EXPECT_EQ(c.frag, RegValue(key, "Frag_Threshold"));
      EXPECT_EQ(v == "nt40" ? "REG_DWORD 0x1f4" : "REG_SZ 500", RegValue(key, "RTS_Threshold"));
      EXPECT_EQ(v == "nt40" ? "REG_DWORD 0x6" : "REG_SZ 6", RegValue(key, "Channel"));
      EXPECT_EQ(v == "nt40" ? "REG_DWORD 0x3" : "REG_SZ 3", RegValue(key, "Rate"));
      EXPECT_EQ(v == "nt40" ? "REG_DWORD 0x0" : "REG_SZ 0", RegValue(key, "EncryptionLevel"));
      EXPECT_EQ("REG_SZ Harbour", RegValue(key, "ESSID"));
      EXPECT_NE("REG_SZ ABABABABAB", RegValue(key, "WEP_KEY_1"));
    } else {
      // No driver key of ours exists there: nothing was written, and the user was told.
      EXPECT_NE(std::string::npos, output.find("Last configuration not saved")) << output;
      EXPECT_EQ("REG_SZ 2347", RegValue(key, "RTS_Threshold"));
    }
    if (c.mirror) {
      EXPECT_EQ("REG_SZ 500", RegValue(key + "\\Ndi\\params\\RTS_Threshold", ""));
      EXPECT_EQ("REG_SZ Harbour", RegValue(key + "\\Ndi\\params\\ESSID", ""));
    }

    if (c.written) {
      // A new process starts the driver afresh: it comes up with what the profile wrote.
      ASSERT_EQ(0u, RunCommand(Quote(folder + probe) + " read state.txt 0 0", folder, &output))
          << output;
      EXPECT_EQ("rts=500 ssid=Harbour", ReadText(folder + "state.txt"));
    }

    // At level 1 the keys are written too.
    ASSERT_EQ(0u, RunCommand(Quote(folder + probe) + " apply key.txt 11 1", folder, &output))
        << output;
    if (c.written) {
      EXPECT_EQ("REG_SZ ABABABABAB", RegValue(key, "WEP_KEY_1"));
      EXPECT_EQ(v == "nt40" ? "REG_DWORD 0xb" : "REG_SZ 11", RegValue(key, "Channel"));
      // Channels 0 and 15, which the adapter itself refuses, never reach the driver key.
      for (const char* channel : {"0", "15"}) {
        ASSERT_EQ(0u, RunCommand(Quote(folder + probe) + " write key.txt " + channel + " 1",
                                 folder, &output))
            << output;
        EXPECT_EQ(v == "nt40" ? "REG_DWORD 0xb" : "REG_SZ 11", RegValue(key, "Channel"));
      }
    }
    RunCommand(Quote(folder + installer) + " remove", folder, &output);
    ClearWineVersion(installer);
    ClearWineVersion(probe);
  }
}

}  // namespace
}  // namespace linkscope::testing
