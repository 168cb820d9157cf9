#pragma once
// The Encryption page: WEP level, the four keys, the default key, WEP mode and
// authentication.

#include "ui/CLayoutPage.h"

namespace linkscope {

class CEncryptionPage : public CLayoutPage {
 public:
  CEncryptionPage(const SettingsDialogServices& services, IPageHost& host);
};

}  // namespace linkscope
