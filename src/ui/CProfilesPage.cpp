#include "ui/CProfilesPage.h"

#include "ui/DialogLayouts.h"

namespace linkscope {

CProfilesPage::CProfilesPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kProfilesPageId, services, host) {}

}  // namespace linkscope
