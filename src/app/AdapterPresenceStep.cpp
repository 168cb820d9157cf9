#include "app/AdapterPresenceStep.h"

#include "device/DeviceCodes.h"
#include "device/RecordQuery.h"

namespace linkscope {

void AdapterPresenceStep::SearchAdapters() {
  CAdapterLink& link = services_.link;
  link.ResetChannel();
  // The icon returns with the first tick that has an adapter again; with balloons on it stays
  // a little while to say that the card went.
  icon_.Leave(platform_.system.TickCount());
  if (DialogOpen()) dialog_->Close();
  Discover();
}

void AdapterPresenceStep::Discover() {
  services_.link.Enumerate(DiscoveryContext{platform_.registry, platform_.pcCards},
                           deviceDescriptions_);
  // After every discovery of its own the tick takes the first adapter afresh, whatever the
  // new list left current.
  services_.link.ClearCurrentAdapter();
}

bool AdapterPresenceStep::TakeFirstAdapter() {
  CAdapterLink& link = services_.link;

  if (DialogOpen()) {
    // When the configuration cannot be read the adapter stays selected; the cached values and
    // the start-up check wait for the next selection.
    if (!services_.adapterSettings.FollowAdapter()) return false;
    dialog_->FillProfileSelector();
  }

  link.RefreshAdapterValues();
  return true;
}

void AdapterPresenceStep::LoseAdapter() {
  CAdapterLink& link = services_.link;
  link.regulatoryDomain = kDomainAllChannels;
  Discover();  // a new list, and no adapter selected
  link.ResetChannel();
  if (link.AdapterCount() == 0) {
    if (DialogOpen()) dialog_->Close();
    icon_.Leave(platform_.system.TickCount());
  } else {
    if (DialogOpen()) dialog_->FillAdapterSelector();
    icon_.Forget();  // the next successful tick sets the icon again
  }
}

}  // namespace linkscope
