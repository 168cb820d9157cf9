#pragma once
// Switching the active profile from the tray menu or the dialog's profile selector, with the
// two situations in which a switch is refused.

#include "ui/SettingsDialogHooks.h"
#include "config/ProfileApplication.h"
#include "config/ProfileStore.h"
#include "device/CAdapterLink.h"
#include "text/Messages.h"

namespace linkscope {

class ProfileSwitcher {
 public:
  ProfileSwitcher(CAdapterLink& link, ProfileStore& profiles, ProfileApplication& application,
                  const Messages& messages)
      : link_(link), profiles_(profiles), application_(application), messages_(messages) {}

  // Applies the profile at `index` of the store's list. False when the switch was refused
  // (a re-scan runs, or Windows configures the card); true otherwise, also when applying
  // failed (that failure has its own message).
  bool SwitchProfile(int index, ISettingsDialogHooks* dialog);

 private:
  CAdapterLink& link_;
  ProfileStore& profiles_;
  ProfileApplication& application_;
  const Messages& messages_;
};

}  // namespace linkscope
