// Runs the program's adapter discovery against the real registry and W32N50.dll, and writes
// one line per accepted adapter to the file named on its command line:
//   display name <TAB> device name <TAB> driver key path
// Exit code 0 when the file was written.

#include <windows.h>

#include <cstdio>
#include <string>

#include "device/OsKind.h"
#include "device/CAdapterLink.h"
#include "device/DeviceDescriptions.h"
#include "win32/Win32PcCardProbe.h"
#include "win32/Win32Registry.h"
#include "win32/Win32RequestLibrary.h"
#include "win32/Win32System.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  linkscope::Win32System system;
  linkscope::Win32Registry registry;
  linkscope::Win32RequestLibrary library;
  linkscope::Win32PcCardProbe probe;
  linkscope::OsVersion version;
  linkscope::OsKind kind = linkscope::OsKind::OtherNt;
  if (!system.GetVersion(&version) || !linkscope::ClassifyOs(version, &kind)) return 3;

  linkscope::CAdapterLink link(library, system);
  link.SetOsKind(kind);
  linkscope::DiscoveryContext context{registry, probe};
  link.Enumerate(context, linkscope::BuiltInDeviceDescriptions());

  FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) return 4;
  for (std::uint32_t i = 0; i < link.AdapterCount(); ++i) {
    link.SelectAdapter(i);
    link.BuildDriverKeyPath();
    const std::string line = link.CurrentAdapter()->DisplayName() + "\t" +
                             link.CurrentAdapter()->deviceName + "\t" + link.driverKeyPath + "\n";
    std::fputs(line.c_str(), out);
  }
  std::fclose(out);
  return 0;
}
