#pragma once
// Everything the program asks of the outside world, handed to it as one bundle.

#include "platform/DialogSystem.h"
#include "platform/PcCardProbe.h"
#include "platform/PrivateProfile.h"
#include "platform/Registry.h"
#include "platform/RequestLibrary.h"
#include "platform/ServiceManager.h"
#include "platform/System.h"
#include "platform/WindowSystem.h"

namespace linkscope {

struct Platform {
  IRegistry& registry;
  IPrivateProfile& profile;
  ISystem& system;
  IWindowSystem& windows;
  IRequestLibrary& requests;
  IPcCardProbe& pcCards;
  IDialogSystem& dialogs;
  // The service manager, asked only on Windows XP; none behaves as a machine without the
  // Windows wireless configuration service.
  IServiceManager* services = nullptr;
};

}  // namespace linkscope
