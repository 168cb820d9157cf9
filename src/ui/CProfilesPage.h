#pragma once
// The Profiles page: the stored profiles with a preview, and New / Save / Delete / Rename.

#include "ui/CLayoutPage.h"

namespace linkscope {

class CProfilesPage : public CLayoutPage {
 public:
  CProfilesPage(const SettingsDialogServices& services, IPageHost& host);
};

}  // namespace linkscope
