#pragma once
// The Advanced page: preamble, fragmentation and RTS/CTS thresholds, and power save.

#include <string>

#include "device/CoreRecords.h"
#include "ui/CLayoutPage.h"

namespace linkscope {

class CAdvancedPage : public CLayoutPage {
 public:
  CAdvancedPage(const SettingsDialogServices& services, IPageHost& host);

  static constexpr int kIdPreambleLabel = 1054;
  static constexpr int kIdLong = 1050;
  static constexpr int kIdShort = 1051;
  static constexpr int kIdAuto = 1063;
  static constexpr int kIdLongLabel = 1055;
  static constexpr int kIdShortLabel = 1056;
  static constexpr int kIdAutoLabel = 1064;
  static constexpr int kIdFragLabel = 1058;
  static constexpr int kIdFrag = 1052;
  static constexpr int kIdFragValue = 1059;
  static constexpr int kIdFragIndication = 1060;
  static constexpr int kIdRtsLabel = 1057;
  static constexpr int kIdRts = 1053;
  static constexpr int kIdRtsValue = 1061;
  static constexpr int kIdRtsIndication = 1062;
  static constexpr int kIdPowerSave = 1083;
  static constexpr int kIdSubmit = 1;

  // The trackbars' ranges; each maximum stands for "off".
  static constexpr int kFragMin = 256;
  static constexpr int kFragOff = 2346;
  static constexpr int kRtsMin = 1;
  static constexpr int kRtsOff = 2347;

  // Reads the configuration and shows it; false (and the page hidden) when it cannot be read.
  bool Refresh();

  void OnInitDialog(WindowHandle dialog, IDialogItems& items) override;
  void Reload() override;
  void ApplyWindowsConfiguration(bool configuredByWindows) override;
  void OnNotify(const DialogNotification& notification) override;
  void OnScroll(int id) override;
  // Enter submits (Submit is the default button); Escape does nothing on this page.
  void OnOk() override;
  void OnCancel() override {}

 protected:
  void OnCreatePage() override;

 private:
  void OnSubmit();
  void ShowTrackbar(int id);
  void EnableEditing(bool enable);

  // The record this page read from the adapter when it was shown; Submit sends it back with
  // the page's four fields put in, and sends nothing when the read failed.
  DeviceConfig config_;
  bool configRead_ = false;
  std::string offText_;
  std::string onText_;
};

}  // namespace linkscope
