#include "ui/CAdvancedPage.h"

#include "ui/DialogLayouts.h"

namespace linkscope {

CAdvancedPage::CAdvancedPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kAdvancedPageId, services, host) {}

}  // namespace linkscope
