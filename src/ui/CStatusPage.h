#pragma once
// The Status page: the link, signal and link quality, and the six settings of the
// configuration record with their Change / Submit / Cancel cycle.

#include "ui/CLayoutPage.h"

namespace linkscope {

class CStatusPage : public CLayoutPage {
 public:
  CStatusPage(const SettingsDialogServices& services, IPageHost& host);
};

}  // namespace linkscope
