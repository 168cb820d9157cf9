#pragma once
// The Statistics page: the adapter's frame counters and their reset.

#include "ui/CLayoutPage.h"

namespace linkscope {

class CStatisticsPage : public CLayoutPage {
 public:
  CStatisticsPage(const SettingsDialogServices& services, IPageHost& host);
};

}  // namespace linkscope
