#include "app/DeviceStateStep.h"

#include "device/DeviceCodes.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"

namespace linkscope {

bool DeviceStateStep::FollowDeviceState() {
  CAdapterLink& link = services_.link;

  std::uint8_t state = 0;
  usable_ = false;
  if (!QueryByte(link, Adapter(), OID_PRIV_DEVICE_STATE, &state)) return false;
  deviceState_ = state;
  if (IsUnusableState(state)) {
    if (DialogOpen()) dialog_->Close();
    icon_.Withdraw();  // the icon returns on the first tick with another state
    link.ResetChannel();
    return true;
  }

  std::uint32_t media = kMediaConnected;
  if (!QueryMediaConnectStatus(link, Adapter(), &media)) media = kMediaConnected;
  media_ = media;
  usable_ = true;
  icon_.Show(state == DeviceState::kAssociated || media == kMediaConnected);

  if (state == DeviceState::kGoingAway && DialogOpen()) dialog_->MarkSurveyFinished();
  if (DialogOpen()) dialog_->RefreshCurrentPage();

  if (state == DeviceState::kGoingAway && link.GetOsKind() == OsKind::Win95) {
    // Windows 95 takes the card away from under the program: it leaves at once, asking
    // nothing and saving nothing.
    link.ResetChannel();
    icon_.Remove();
    platform_.system.EndProcess(0);
  }
  return true;
}

}  // namespace linkscope
