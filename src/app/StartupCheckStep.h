#pragma once
// The tick's start-up check, once, with the first adapter taken: the profile in use (the last
// one, or Default on the first start) and whether the adapter still matches it.

#include "app/TickStep.h"

namespace linkscope {

class StartupCheckStep : public TickStep {
 public:
  StartupCheckStep(Platform& platform, const FrameServices& services,
                   ISettingsDialogHooks* const& dialog)
      : TickStep(platform, services, dialog) {}

  // Runs the check unless it has run.
  void Run();
  bool Done() const { return startupCheckDone_; }

 private:
  bool startupCheckDone_ = false;
};

}  // namespace linkscope
