// adapterinstall.exe: writes (or removes) what installing the simulated adapters' drivers
// writes into the registry, in the layout of the Windows version it runs on.
//
//   adapterinstall install FILE   check FILE, then install every adapter it lists
//   adapterinstall check FILE     only check FILE
//   adapterinstall remove         remove every adapter an earlier install wrote
//
// Exit codes: 0 done, 1 bad command line, 2 environment file refused, 3 registry refused,
// 4 Windows version not served.

#include <windows.h>

#include <cstdio>
#include <string>

#include "sim/EnvironmentFile.h"
#include "sim/SimInstaller.h"
#include "win32/Win32Registry.h"
#include "win32/Win32System.h"

namespace {

namespace sim = linkscope::sim;

// Wine builds its list of network cards (NetworkCards) from the host's interfaces as volatile
// keys, and below a volatile key only volatile keys may be created. Entries there are created
// volatile as well; they last as long as the Wine session.
class InstallerRegistry : public linkscope::Win32Registry {
 public:
  long CreateKey(linkscope::RegKey parent, const std::string& subKey,
                 linkscope::RegKey* key) override {
    const long rc = Win32Registry::CreateKey(parent, subKey, key);
    if (rc != ERROR_CHILD_MUST_BE_VOLATILE || parent != linkscope::kRegLocalMachine) return rc;
    HKEY h = nullptr;
    const LONG vrc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr,
                                     REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &h, nullptr);
    if (vrc == ERROR_SUCCESS) *key = reinterpret_cast<linkscope::RegKey>(h);
    return vrc;
  }
};

void Say(FILE* stream, const std::string& text) {
  std::fputs(text.c_str(), stream);
  std::fputs("\n", stream);
}

int Usage() {
  Say(stderr,
      "usage: adapterinstall install FILE | check FILE | remove\n"
      "  install  checks the environment file and writes its adapters into the registry\n"
      "  check    only checks the environment file\n"
      "  remove   removes every adapter an earlier install wrote");
  return 1;
}

bool ReadFileText(const std::string& path, std::string* text) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  std::string out;
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    out.append(chunk, n);
    if (out.size() > (4u << 20)) {
      std::fclose(f);
      return false;
    }
  }
  const bool ok = std::ferror(f) == 0;
  std::fclose(f);
  if (ok) *text = std::move(out);
  return ok;
}

const char* FamilyName(sim::SimOsFamily family) {
  switch (family) {
    case sim::SimOsFamily::Win9x: return "Windows 95/98/Me";
    case sim::SimOsFamily::Nt4: return "Windows NT 4.0";
    case sim::SimOsFamily::Nt5: break;
  }
  return "Windows 2000/XP";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  if (!((command == "install" || command == "check") && argc == 3) &&
      !(command == "remove" && argc == 2)) {
    return Usage();
  }

  sim::SimEnvironment environment;
  if (argc == 3) {
    const std::string path = argv[2];
    std::string text;
    if (!ReadFileText(path, &text)) {
      Say(stderr, path + ": cannot be read (missing, unreadable or larger than 4 MiB)");
      return 2;
    }
    sim::EnvironmentError error;
    if (!sim::ParseEnvironment(text, &environment, &error)) {
      Say(stderr, path + ": " + error.Describe());
      return 2;
    }
    if (command == "check") {
      Say(stdout, path + ": good, " + std::to_string(environment.adapters.size()) +
                      " adapters, " + std::to_string(environment.networks.size()) + " networks");
      return 0;
    }
  }

  linkscope::Win32System system;
  linkscope::OsVersion version;
  sim::SimOsFamily family;
  if (!system.GetVersion(&version) || !sim::FamilyOfVersion(version, &family)) {
    Say(stderr, "this Windows version is not served");
    return 4;
  }
  InstallerRegistry registry;
  std::string error;
  if (command == "remove") {
    if (!sim::RemoveAdapters(registry, family, &error)) {
      Say(stderr, error);
      return 3;
    }
    Say(stdout, std::string("removed the simulated adapters (") + FamilyName(family) + " layout)");
    return 0;
  }
  if (!sim::InstallAdapters(registry, family, environment, &error)) {
    Say(stderr, error);
    return 3;
  }
  Say(stdout, "installed " + std::to_string(environment.adapters.size()) + " adapters (" +
                  FamilyName(family) + " layout)");
  return 0;
}
