#pragma once
// The Advanced page: preamble, fragmentation and RTS/CTS thresholds, and power save.

#include "ui/CLayoutPage.h"

namespace linkscope {

class CAdvancedPage : public CLayoutPage {
 public:
  CAdvancedPage(const SettingsDialogServices& services, IPageHost& host);
};

}  // namespace linkscope
