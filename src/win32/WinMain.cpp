// Entry point of linkscope.exe.

#include <windows.h>
#include <commctrl.h>

#include "app/CLinkscopeApp.h"
#include "win32/Win32DialogSystem.h"
#include "win32/Win32PcCardProbe.h"
#include "win32/Win32PrivateProfile.h"
#include "win32/Win32Registry.h"
#include "win32/Win32RequestLibrary.h"
#include "win32/Win32ServiceManager.h"
#include "win32/Win32System.h"
#include "win32/Win32WindowSystem.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  linkscope::Win32Registry registry;
  linkscope::Win32PrivateProfile profile;
  linkscope::Win32System system;
  linkscope::Win32WindowSystem windows(instance);
  linkscope::Win32RequestLibrary requests;
  linkscope::Win32PcCardProbe pcCards;
  linkscope::Win32DialogSystem dialogs(instance);
  linkscope::Win32ServiceManager services;
  linkscope::Platform platform{registry, profile, system,  windows,
                               requests, pcCards, dialogs, &services};

  linkscope::CLinkscopeApp app(platform);
  if (!app.InitInstance()) return 1;
  return app.Run();
}
