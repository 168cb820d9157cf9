#pragma once
// The Info page: logo, driver, firmware and application versions, and the MAC address.

#include <array>
#include <cstdint>
#include <string>

#include "device/CoreRecords.h"
#include "ui/CLayoutPage.h"

namespace linkscope {

class CInfoPage : public CLayoutPage {
 public:
  CInfoPage(const SettingsDialogServices& services, IPageHost& host);

  // The tick reads the versions again; a driver that stops answering hides the page.
  void OnTick() override;
  // Another adapter: the logo, labels and versions again.
  void Reload() override;

  // Reads the versions and the MAC address into the page; false when either query fails.
  bool ReadVersions();

  // Texts as the page shows them.
  static std::string DriverVersionText(const VersionInfo& info);
  static std::string FirmwareVersionText(const VersionInfo& info);
  static std::string ApplicationVersionText();
  static std::string MacAddressText(const std::array<std::uint8_t, 6>& mac);

  static constexpr int kIdLogo = 1000;
  static constexpr int kIdDriverLabel = 1063;
  static constexpr int kIdFirmwareLabel = 1064;
  static constexpr int kIdApplicationLabel = 1065;
  static constexpr int kIdDriverVersion = 1066;
  static constexpr int kIdFirmwareVersion = 1067;
  static constexpr int kIdApplicationVersion = 1068;
  static constexpr int kIdMacLabel = 1069;
  static constexpr int kIdMacAddress = 1070;
  // This program's own version, the project's (the build defines it).
  static constexpr std::array<int, 4> kApplicationVersion = {
      LINKSCOPE_VERSION_MAJOR, LINKSCOPE_VERSION_MINOR, LINKSCOPE_VERSION_PATCH,
      LINKSCOPE_VERSION_TWEAK};

 protected:
  void OnCreatePage() override;

 private:
  void SetInfoTexts();
};

}  // namespace linkscope
