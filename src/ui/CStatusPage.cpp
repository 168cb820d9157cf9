#include "ui/CStatusPage.h"

#include "ui/DialogLayouts.h"

namespace linkscope {

CStatusPage::CStatusPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kStatusPageId, services, host) {}

}  // namespace linkscope
