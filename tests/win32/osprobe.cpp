// Exits with the OsKind that start-up derives from the version Windows reports to this
// process, or 100 when the platform is not supported.

#include <windows.h>

#include "device/OsKind.h"
#include "win32/Win32System.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  linkscope::Win32System system;
  linkscope::OsVersion version;
  linkscope::OsKind kind = linkscope::OsKind::OtherNt;
  if (!system.GetVersion(&version) || !linkscope::ClassifyOs(version, &kind)) return 100;
  return static_cast<int>(kind);
}
