#include "app/TickIcon.h"

#include <cstdint>

namespace linkscope {

void TickIcon::Show(bool ok) {
  currentIcon_ = ok ? okIcon_ : notOkIcon_;
  holdUntil_.reset();
}

void TickIcon::Present(const std::string& tip, const TrayBalloon* balloon) {
  if (currentIcon_ == 0) return;
  if (tray_.Shown() && currentIcon_ == shownIcon_ && tip == shownTip_ && balloon == nullptr) {
    return;
  }
  tray_.Set(currentIcon_, tip, balloon);
  shownIcon_ = currentIcon_;
  shownTip_ = tip;
}

void TickIcon::Withdraw() {
  if (tray_.Shown()) tray_.Set(0, shownTip_);
  currentIcon_ = 0;
  holdUntil_.reset();
}

void TickIcon::Leave(std::uint32_t now) {
  if (!holdOnLeave_ || !tray_.Shown() || (currentIcon_ == 0 && !holdUntil_)) {
    Withdraw();
    return;
  }
  if (!holdUntil_) {
    holdUntil_ = now + kHoldMs;
    currentIcon_ = notOkIcon_;
    return;
  }
  // Tick counts wrap; their difference still tells which came first.
  if (static_cast<std::int32_t>(now - *holdUntil_) >= 0) Withdraw();
}

void TickIcon::Remove() {
  tray_.Set(0, shownTip_);
  currentIcon_ = 0;
  holdUntil_.reset();
}

void TickIcon::AddAgain() {
  tray_.Forget();
  if (currentIcon_ != 0) {
    tray_.Set(currentIcon_, shownTip_, nullptr);
    shownIcon_ = currentIcon_;
  }
}

}  // namespace linkscope
