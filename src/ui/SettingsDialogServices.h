#pragma once
// What the settings dialog and its pages use from the rest of the program; everything here
// outlives the dialog.

#include "config/AdapterSettings.h"
#include "config/ProfileApplication.h"
#include "config/ProfileStore.h"
#include "device/CAdapterLink.h"
#include "platform/DialogSystem.h"
#include "platform/PcCardProbe.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "platform/WindowSystem.h"
#include "text/LanguageTable.h"
#include "text/Messages.h"

namespace linkscope {

struct SettingsDialogServices {
  IDialogSystem& dialogs;
  IWindowSystem& windows;
  IRegistry& registry;
  IPcCardProbe& pcCards;
  LanguageTable& language;
  Messages& messages;
  CAdapterLink& link;
  ProfileStore& profiles;
  ProfileState& profileState;
  ProfileApplication& profileApplication;
  ISystem& system;
  // Every change the pages make to the adapter goes through here.
  AdapterSettings& adapterSettings;
};

}  // namespace linkscope
