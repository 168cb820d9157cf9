#include "ui/CSiteSurveyPage.h"

#include "ui/DialogLayouts.h"

namespace linkscope {

CSiteSurveyPage::CSiteSurveyPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kSiteSurveyPageId, services, host) {}

}  // namespace linkscope
