#include "app/TrayIcon.h"

#include "text/TextFit.h"

namespace linkscope {

void TrayIcon::Attach(WindowHandle owner, std::uint32_t callbackMessage) {
  owner_ = owner;
  callbackMessage_ = callbackMessage;
}

bool TrayIcon::Set(IconHandle icon, const std::string& tip, const TrayBalloon* balloon) {
  TrayIconRecord record;
  record.owner = owner_;
  record.id = kIconId;
  record.flags = kTrayFlagMessage | kTrayFlagIcon | kTrayFlagTip;
  record.callbackMessage = callbackMessage_;
  record.icon = icon;
  record.tip = FitWords(tip, kTrayTipCapacity - 1);
  if (balloon != nullptr && icon != 0) {
    record.flags |= kTrayFlagInfo;
    record.infoTitle = FitWords(balloon->title, kTrayInfoTitleCapacity - 1);
    record.info = FitWords(balloon->text, kTrayInfoCapacity - 1);
  }

  if (icon == 0) {
    const bool accepted = windows_.NotifyTrayIcon(TrayAction::Delete, record);
    shown_ = false;
    return accepted;
  }
  const bool accepted =
      windows_.NotifyTrayIcon(shown_ ? TrayAction::Modify : TrayAction::Add, record);
  // The flag follows what the shell shows: an add the shell refused leaves the icon absent,
  // so the next change adds it again instead of modifying an icon that is not there.
  if (accepted) shown_ = true;
  return accepted;
}

}  // namespace linkscope
