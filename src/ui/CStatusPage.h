#pragma once
// The Status page: the link, signal and link quality, and the six settings of the
// configuration record with their Change / Submit / Cancel cycle.

#include <cstdint>
#include <string>
#include <vector>

#include "device/CoreRecords.h"
#include "ui/CLayoutPage.h"

namespace linkscope {

class CStatusPage : public CLayoutPage {
 public:
  CStatusPage(const SettingsDialogServices& services, IPageHost& host);

  // Controls of the page.
  static constexpr int kIdModeLabel = 1013;
  static constexpr int kIdChannelLabel = 1014;
  static constexpr int kIdSsidLabel = 1015;
  static constexpr int kIdRateLabel = 1016;
  static constexpr int kIdRoamingLabel = 1082;
  static constexpr int kIdRadioLabel = 1012;
  static constexpr int kIdMode = 1024;
  static constexpr int kIdChannel = 1025;
  static constexpr int kIdSsid = 1009;
  static constexpr int kIdRate = 1026;
  static constexpr int kIdRoaming = 1029;
  static constexpr int kIdRadio = 1030;
  static constexpr int kIdChange = 1018;
  static constexpr int kIdSubmit = 1019;
  static constexpr int kIdHistory = 1099;
  static constexpr int kIdCancelEdit = 2;
  static constexpr int kIdStatusLabel = 1022;
  static constexpr int kIdStatusLine = 1003;
  static constexpr int kIdSignalLabel = 1020;
  static constexpr int kIdSignalBar = 1021;
  static constexpr int kIdSignalText = 1031;
  static constexpr int kIdQualityLabel = 1023;
  static constexpr int kIdQualityBar = 1028;
  static constexpr int kIdQualityText = 1032;

  // Whether the user is changing the settings (between Change and Submit or Cancel).
  bool Editing() const { return !refreshControls_; }

  void InitTexts();
  // Reads the adapter and shows it; false when the configuration could not be read.
  bool Refresh();

  void OnTick() override;
  bool RecordRead(DeviceConfig* config) const override;
  void Reload() override;
  void ApplyWindowsConfiguration(bool configuredByWindows) override;
  void OnCommand(int id, int code) override;
  // Enter does nothing here; the Cancel button and Escape end editing and close nothing.
  void OnOk() override {}
  void OnCancel() override;

 protected:
  void OnCreatePage() override;
  void OnDestroyPage() override;

 private:
  void OnChange();
  void OnSubmit();
  void OnModeChanged();
  void ClearReadings();
  // `marked` (0: none) carries the note that it is the least crowded channel.
  void FillChannels(bool roaming, std::uint8_t marked = 0);
  // The least crowded of the offered channels after the survey the adapter holds; 0 when it
  // holds none with a network in it.
  std::uint8_t LeastCrowdedChannel(bool roaming);
  void EndEditing();
  void ReadAdapterRoaming();
  bool ConfiguredByWindows() const;

  DeviceConfig config_;
  // The record above was read from the current adapter since this page was last shown;
  // nothing is sent without it.
  bool configRead_ = false;
  // The last refresh read it (a failed read leaves the record of an earlier one).
  bool lastRefreshRead_ = false;
  bool refreshControls_ = true;
  int maxSignal_ = 0;
  int maxLinkQuality_ = 0;
  std::uint8_t cardType_ = 0;
  std::uint8_t roaming_ = 0;
  bool roamingSupported_ = false;
  std::uint8_t radio_ = 1;
  std::vector<std::string> roamingTexts_;
};

}  // namespace linkscope
