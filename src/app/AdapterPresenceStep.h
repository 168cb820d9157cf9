#pragma once
// The tick's steps for the adapter coming and going: the search while there is none, taking
// the first one of a new list, and letting go of one that stopped answering.

#include <string>
#include <vector>

#include "app/TickIcon.h"
#include "app/TickStep.h"

namespace linkscope {

class AdapterPresenceStep : public TickStep {
 public:
  // `deviceDescriptions` are the descriptions discovery accepts, as the frame read them.
  AdapterPresenceStep(Platform& platform, const FrameServices& services,
                      ISettingsDialogHooks* const& dialog, TickIcon& icon,
                      const std::vector<std::string>& deviceDescriptions)
      : TickStep(platform, services, dialog),
        icon_(icon),
        deviceDescriptions_(deviceDescriptions) {}

  // No adapter: the tray icon and the dialog go, and discovery looks again.
  void SearchAdapters();
  // Reads what the tick keeps of a newly selected adapter; false ends the tick.
  bool TakeFirstAdapter();
  // The adapter stopped answering: a new list, and no adapter selected.
  void LoseAdapter();

 private:
  void Discover();

  TickIcon& icon_;
  const std::vector<std::string>& deviceDescriptions_;
};

}  // namespace linkscope
