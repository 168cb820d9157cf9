#include "app/StartupCheckStep.h"

#include "config/ProfileNames.h"
#include "device/Oids.h"

namespace linkscope {

void StartupCheckStep::Run() {
  CAdapterLink& link = services_.link;

  if (!startupCheckDone_) {
    ProfileState& state = services_.profileState;
    state.currentName = services_.profiles.ReadLastProfile();
    if (state.currentName.empty()) {
      state.currentName = kDefaultProfileName;
      services_.profiles.WriteLastProfile(state.currentName);
    }
    bool compare = true;
    if (link.GetOsKind() == OsKind::WinXP) {
      // While Windows configures the card, its settings are Windows' and say nothing about
      // the profile.
      std::uint8_t byWindows = 1;
      std::uint32_t written = 0;
      if (!link.Query(Adapter(), OID_PRIV_WINDOWS_CONFIG, &byWindows, 1, &written) ||
          byWindows != 0) {
        compare = false;
      }
    }
    if (compare) state.inSync = services_.profileApplication.MatchesAdapter();
    startupCheckDone_ = true;
  }
}

}  // namespace linkscope
