#pragma once
// The program-wide objects the main frame and its tick steps work with.

#include "config/AdapterSettings.h"
#include "config/ProfileApplication.h"
#include "config/ProfileStore.h"
#include "device/CAdapterLink.h"
#include "text/Messages.h"

namespace linkscope {

// The program-wide objects the frame works with; the application object owns them.
struct FrameServices {
  CAdapterLink& link;
  ProfileStore& profiles;
  ProfileState& profileState;
  ProfileApplication& profileApplication;
  const Messages& messages;
  AdapterSettings& adapterSettings;
};

}  // namespace linkscope
