#pragma once
// What every step of the polling tick works with: the outside world, the program-wide objects
// and the settings dialog once the frame has one. The frame owns the steps and runs them in
// order, one tick at a time.

#include "app/FrameServices.h"
#include "platform/Platform.h"
#include "ui/SettingsDialogHooks.h"

namespace linkscope {

class TickStep {
 public:
  TickStep(const TickStep&) = delete;
  TickStep& operator=(const TickStep&) = delete;

 protected:
  // `dialog` is the frame's own pointer, which it sets once the settings dialog exists: a step
  // always sees the one the frame holds now.
  TickStep(Platform& platform, const FrameServices& services, ISettingsDialogHooks* const& dialog)
      : platform_(platform), services_(services), dialog_(dialog) {}
  ~TickStep() = default;

  bool DialogOpen() const { return dialog_ != nullptr && dialog_->IsOpen(); }
  const AdapterEntry* Adapter() const { return services_.link.CurrentAdapter(); }

  Platform& platform_;
  FrameServices services_;
  ISettingsDialogHooks* const& dialog_;
};

}  // namespace linkscope
