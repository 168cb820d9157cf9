#pragma once
// The Info page: logo, driver, firmware and application versions, and the MAC address.

#include "ui/CLayoutPage.h"

namespace linkscope {

class CInfoPage : public CLayoutPage {
 public:
  CInfoPage(const SettingsDialogServices& services, IPageHost& host);
};

}  // namespace linkscope
