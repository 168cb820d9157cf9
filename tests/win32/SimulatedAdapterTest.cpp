// The simulated adapter for real under Wine: the installer's registry layout per Windows
// version, the program's discovery through W32N50.dll, and the DLL following its environment
// file while a process holds it.

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "device/Oids.h"
#include "win32/ProcessHelpers.h"
#include "win32/Win32RequestLibrary.h"

namespace linkscope::testing {
namespace {

const char* kClass2000 =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

// A folder of its own below the test program, holding a copy of the DLL.
std::string MakeFolder(const std::string& name) {
  const std::string folder = ProgramFolder() + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CopyFileA((ProgramFolder() + "W32N50.dll").c_str(), (folder + "W32N50.dll").c_str(), FALSE);
  DeleteFileA((folder + "W32N50-environment.json").c_str());
  DeleteFileA((folder + "W32N50-diagnostics.txt").c_str());
  return folder;
}

// `reg query` of a key (and value) under HKEY_LOCAL_MACHINE; true when it is there.
bool RegQuery(const std::string& key, const std::string& valueArgs) {
  std::string path = key;
  // A trailing backslash would escape the closing quote on the command line.
  while (!path.empty() && path.back() == '\\') path.pop_back();
  std::string output;
  return RunCommand("reg.exe query " + Quote("HKLM\\" + path) + " " + valueArgs, ProgramFolder(),
             &output) == 0;
}

struct Found {
  std::string name;
  std::string device;
  std::string driverKey;
};

std::vector<Found> ParseProbe(const std::string& text) {
  std::vector<Found> found;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t a = line.find('\t');
    const std::size_t b = line.find('\t', a + 1);
    if (a == std::string::npos || b == std::string::npos) continue;
    found.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
  }
  return found;
}

struct VersionCase {
  const char* wineVersion;
  std::vector<std::string> names;    // accepted adapters, in order
  std::vector<std::string> driverKeyPrefixes;
  bool trailingBackslash;
};

// The shipped environment: a PC card, a USB adapter and an Ethernet card, installed as each
// Windows version would have it, found by discovery as the program runs there.
TEST(SimulatedAdapterUnderWine, InstallerLayoutAndDiscoveryPerWindowsVersion) {
  const std::string bin = ProgramFolder();
  const VersionCase cases[] = {
      {"winxp", {"ORVEX PCMCIA Skyrelay (K1)", "ORVEX USB Skyrelay (U1)"},
       {kClass2000, kClass2000}, false},
      {"win2k", {"ORVEX PCMCIA Skyrelay (K1)", "ORVEX USB Skyrelay (U1)"},
       {kClass2000, kClass2000}, false},
      {"nt40", {"ORVEX PCMCIA Skyrelay (K1)", "ORVEX USB Skyrelay (U1)"},
       {"System\\CurrentControlSet\\Services\\SKYK1\\Parameters\\",
        "System\\CurrentControlSet\\Services\\SKYU1\\Parameters\\"}, true},
      // Under Wine there is no PC-card service, so the PC card counts as absent on 9x.
      {"win95", {"ORVEX USB Skyrelay (U1)"},
       {"System\\CurrentControlSet\\Services\\Class\\Net\\"}, false},
      {"win98", {"ORVEX USB Skyrelay (U1)"},
       {"System\\CurrentControlSet\\Services\\Class\\Net\\"}, false},
  };
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.wineVersion);
    const std::string v = c.wineVersion;
    const std::string folder = MakeFolder("sim_" + v);
    ASSERT_TRUE(CopyFileA((bin + "simulated-environment.json").c_str(),
                          (folder + "W32N50-environment.json").c_str(), FALSE));
    const std::string installer = "adapterinstall_" + v + ".exe";
    const std::string probe = "discoprobe_" + v + ".exe";
    ASSERT_TRUE(CopyFileA((bin + "adapterinstall.exe").c_str(), (folder + installer).c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((bin + "discoprobe.exe").c_str(), (folder + probe).c_str(), FALSE));
    ASSERT_TRUE(SetWineVersion(installer, v));
    ASSERT_TRUE(SetWineVersion(probe, v));

    std::string output;
    ASSERT_EQ(0u, RunCommand(Quote(folder + installer) + " install W32N50-environment.json", folder, &output))
        << output;
    ASSERT_EQ(0u, RunCommand(Quote(folder + probe) + " found.txt", folder, &output)) << output;
    const std::vector<Found> found = ParseProbe(ReadText(folder + "found.txt"));
    ASSERT_EQ(c.names.size(), found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
      EXPECT_EQ(c.names[i], found[i].name);
      EXPECT_EQ(0u, found[i].driverKey.rfind(c.driverKeyPrefixes[i], 0)) << found[i].driverKey;
      EXPECT_EQ(c.trailingBackslash, found[i].driverKey.back() == '\\') << found[i].driverKey;
      // The driver key holds the parameters the installer wrote.
      EXPECT_TRUE(RegQuery(found[i].driverKey, "/v EncryptionLevel")) << found[i].driverKey;
    }
    if (v == "win95" || v == "win98") {
      // 9x: the hardware identifier and the described copies of the parameters.
      EXPECT_TRUE(RegQuery(found[0].driverKey, "/v MatchingDeviceId"));
      EXPECT_TRUE(RegQuery(found[0].driverKey + "\\Ndi\\params\\Rate", "/ve"));
    } else {
      EXPECT_TRUE(RegQuery("Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\1",
                           "/v ServiceName"));
    }
    if (v == "winxp") {
      EXPECT_TRUE(RegQuery(found[0].driverKey, "/v NetCfgInstanceId"));
    }

    // Removing takes the keys away again, and with them the adapters.
    ASSERT_EQ(0u, RunCommand(Quote(folder + installer) + " remove", folder, &output)) << output;
    EXPECT_FALSE(RegQuery(found[0].driverKey, "/v EncryptionLevel"));
    ASSERT_EQ(0u, RunCommand(Quote(folder + probe) + " found.txt", folder, &output)) << output;
    EXPECT_TRUE(ParseProbe(ReadText(folder + "found.txt")).empty());
    ClearWineVersion(installer);
    ClearWineVersion(probe);
  }
}

const char* kLiveAdapter = R"json({"adapters": [{
  "displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYLIVE",
  "instanceId": "{5A1D0000-0000-4000-8000-00000000C0DE}",
  "cardType": 21, "mac": "00-60-1D-00-00-01", "present": %PRESENT%}]})json";

std::string LiveEnvironment(bool present) {
  std::string text = kLiveAdapter;
  text.replace(text.find("%PRESENT%"), 9, present ? "true" : "false");
  return text;
}

std::uint32_t CardTypeRequest(Win32RequestLibrary& library, AdapterHandle handle,
                              std::uint8_t* cardType) {
  RequestBlock request{};
  request.requestType = kRequestQuery;
  request.oid = OID_PRIV_CARD_TYPE;
  request.buffer = cardType;
  request.bufferLength = 1;
  OverlappedRecord overlapped{};
  return library.MakeNdisRequest(handle, &request, &overlapped, true);
}

TEST(SimulatedAdapterUnderWine, AnEditedEnvironmentShowsAtTheNextRequest) {
  const std::string folder = MakeFolder("sim_live");
  const std::string env = folder + "W32N50-environment.json";
  WriteText(env, LiveEnvironment(true));
  const std::string dll = folder + "W32N50.dll";
  Win32RequestLibrary library(dll.c_str());
  ASSERT_TRUE(library.Loaded());
  const std::string device = "\\Device\\{5A1D0000-0000-4000-8000-00000000C0DE}";
  const AdapterHandle handle = library.OpenAdapter(device);
  ASSERT_NE(kNoAdapter, handle);
  std::uint8_t cardType = 0;
  ASSERT_EQ(0u, CardTypeRequest(library, handle, &cardType));
  EXPECT_EQ(21, cardType);

  // The card is pulled out while the handle is open.
  WriteText(env, LiveEnvironment(false));
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_DEVICE_NOT_CONNECTED),
            CardTypeRequest(library, handle, &cardType));
  EXPECT_EQ(kNoAdapter, library.OpenAdapter(device));

  // Back in: it opens and answers again.
  WriteText(env, LiveEnvironment(true));
  const AdapterHandle again = library.OpenAdapter(device);
  ASSERT_NE(kNoAdapter, again);
  EXPECT_EQ(0u, CardTypeRequest(library, again, &cardType));
  library.CloseAdapter(again);
  library.CloseAdapter(handle);
}

TEST(SimulatedAdapterUnderWine, ABadEnvironmentKeepsTheLastGoodOneAndSaysWhy) {
  const std::string folder = MakeFolder("sim_bad");
  const std::string env = folder + "W32N50-environment.json";
  const std::string diagnostics = folder + "W32N50-diagnostics.txt";
  WriteText(env, "{\n  \"adapters\": [\n    {\"displayName\": 7, \"serviceName\": \"S\", \"mac\": \"00-00-00-00-00-01\"}\n  ]\n}\n");
  const std::string dll = folder + "W32N50.dll";
  Win32RequestLibrary library(dll.c_str());
  ASSERT_TRUE(library.Loaded());
  const std::string device = "\\Device\\{5A1D0000-0000-4000-8000-00000000C0DE}";
  // Nothing good was ever read: no adapters, and the reason on record.
  EXPECT_EQ(kNoAdapter, library.OpenAdapter(device));
  std::string why = ReadText(diagnostics);
  EXPECT_NE(std::string::npos, why.find("line 3")) << why;
  EXPECT_NE(std::string::npos, why.find("adapters[0].displayName")) << why;

  WriteText(env, LiveEnvironment(true));
  const AdapterHandle handle = library.OpenAdapter(device);
  ASSERT_NE(kNoAdapter, handle);

  WriteText(env, "{ \"adapters\": [ { ] }");
  std::uint8_t cardType = 0;
  EXPECT_EQ(0u, CardTypeRequest(library, handle, &cardType));
  why = ReadText(diagnostics);
  EXPECT_NE(std::string::npos, why.find("not valid JSON")) << why;
  EXPECT_NE(std::string::npos, why.find("keeping")) << why;

  // A file of nothing but nesting is refused at once, inside the program's process.
  WriteText(env, std::string(20000, '['));
  EXPECT_EQ(0u, CardTypeRequest(library, handle, &cardType));
  why = ReadText(diagnostics);
  EXPECT_NE(std::string::npos, why.find("line 1: nested more than 32 levels deep")) << why;
  EXPECT_NE(std::string::npos, why.find("keeping")) << why;

  DeleteFileA(env.c_str());
  EXPECT_EQ(0u, CardTypeRequest(library, handle, &cardType));
  EXPECT_NE(std::string::npos, ReadText(diagnostics).find("not found"));
  library.CloseAdapter(handle);
}

TEST(SimulatedAdapterUnderWine, TheInstallerRefusesABadFileNamingLineAndField) {
  const std::string folder = MakeFolder("sim_refuse");
  const std::string installer = Quote(ProgramFolder() + "adapterinstall.exe");
  WriteText(folder + "bad.json",
            "{\n  \"adapters\": [\n    {\"displayName\": \"A\", \"serviceName\": \"S\",\n"
            "     \"mac\": \"00-00-00-00-00-01\", \"cardType\": 256}\n  ]\n}\n");
  std::string output;
  EXPECT_EQ(2u, RunCommand(installer + " install bad.json", folder, &output));
  EXPECT_NE(std::string::npos, output.find("line 4")) << output;
  EXPECT_NE(std::string::npos, output.find("adapters[0].cardType")) << output;
  EXPECT_EQ(2u, RunCommand(installer + " install missing.json", folder, &output));
  EXPECT_EQ(1u, RunCommand(installer + " frobnicate", folder, &output));
  EXPECT_EQ(0u, RunCommand(installer + " check " + Quote(ProgramFolder() + "simulated-environment.json"),
                    folder, &output))
      << output;
}

}  // namespace
}  // namespace linkscope::testing
