#pragma once
// The Site Survey page: scanning for networks, the list of what was found, and joining one.

#include "ui/CLayoutPage.h"

namespace linkscope {

class CSiteSurveyPage : public CLayoutPage {
 public:
  CSiteSurveyPage(const SettingsDialogServices& services, IPageHost& host);
};

}  // namespace linkscope
