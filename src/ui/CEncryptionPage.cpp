#include "ui/CEncryptionPage.h"

#include "ui/DialogLayouts.h"

namespace linkscope {

CEncryptionPage::CEncryptionPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kEncryptionPageId, services, host) {}

}  // namespace linkscope
