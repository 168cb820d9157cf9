#include "ui/CStatisticsPage.h"

#include "ui/DialogLayouts.h"

namespace linkscope {

CStatisticsPage::CStatisticsPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kStatisticsPageId, services, host) {}

}  // namespace linkscope
