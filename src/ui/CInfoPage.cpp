#include "ui/CInfoPage.h"

#include <cstdio>

#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "text/OemSettings.h"
#include "ui/DialogLayouts.h"

namespace linkscope {

namespace {

std::string Dotted(int a, int b, int c, int d) {
  return std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c) + "." +
         std::to_string(d);
}

}  // namespace

CInfoPage::CInfoPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kInfoPageId, services, host) {}

std::string CInfoPage::DriverVersionText(const VersionInfo& info) {
  return Dotted(info.driver1, info.driver2, info.driver3, info.driver4);
}

std::string CInfoPage::FirmwareVersionText(const VersionInfo& info) {
  return Dotted(info.firmware[0], info.firmware[1], info.firmware[2], info.firmware[3]);
}

std::string CInfoPage::ApplicationVersionText() {
  return Dotted(kApplicationVersion[0], kApplicationVersion[1], kApplicationVersion[2],
                kApplicationVersion[3]);
}

std::string CInfoPage::MacAddressText(const std::array<std::uint8_t, 6>& mac) {
  char text[18];
  std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2],
                mac[3], mac[4], mac[5]);
  return text;
}

void CInfoPage::OnCreatePage() {
  SetInfoTexts();
  if (!ReadVersions()) {
    Services().messages.Show("FailedToGetVersionInfoErrorMessage",
                             "Failed to get version information");
  }
}

void CInfoPage::SetInfoTexts() {
  IDialogItems& items = *Items();
  const LanguageTable& language = Services().language;
  const std::string logo = OemSettings(language).LogoBmp();
  // No file named leaves the logo empty; a file that does not load does too, silently.
  if (!logo.empty()) items.SetImageFile(kIdLogo, Host().ResourceDirectory() + logo);
  SetLayoutTexts();
}

bool CInfoPage::ReadVersions() {
  IDialogItems& items = *Items();
  CAdapterLink& link = Services().link;
  VersionInfo info;
  if (!QueryVersionInfo(link, link.CurrentAdapter(), &info)) {
    // While the page is being built this also keeps the frame from showing it afterwards.
    StayHidden();
    items.ShowDialog(false);
    return false;
  }
  items.SetText(kIdDriverVersion, DriverVersionText(info));
  items.SetText(kIdFirmwareVersion, FirmwareVersionText(info));
  items.SetText(kIdApplicationVersion, ApplicationVersionText());
  items.ShowDialog(true);

  std::array<std::uint8_t, 6> mac{};
  if (!QueryExact(link, link.CurrentAdapter(), OID_802_3_CURRENT_ADDRESS, mac.data(),
                  static_cast<std::uint32_t>(mac.size()))) {
    return false;  // the MAC text stays as it was
  }
  items.SetText(kIdMacAddress, MacAddressText(mac));
  return true;
}

void CInfoPage::OnTick() {
  if (IsShown()) ReadVersions();
}

void CInfoPage::Reload() {
  if (!IsShown()) return;
  SetInfoTexts();
  ReadVersions();
}

}  // namespace linkscope
