#include "app/TickIcon.h"

namespace linkscope {

void TickIcon::Show(bool ok) {
  previousIcon_ = currentIcon_;
  currentIcon_ = ok ? okIcon_ : notOkIcon_;
  if (currentIcon_ != previousIcon_ || !tray_.Shown()) tray_.Set(currentIcon_, tip_);
}

void TickIcon::Withdraw() {
  if (tray_.Shown()) tray_.Set(0, tip_);
  currentIcon_ = 0;
}

}  // namespace linkscope
