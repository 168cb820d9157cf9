#include "ui/CInfoPage.h"

#include "ui/DialogLayouts.h"

namespace linkscope {

CInfoPage::CInfoPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kInfoPageId, services, host) {}

}  // namespace linkscope
