#pragma once
// The Encryption page: WEP level, the four keys, the default key, WEP mode and
// authentication.

#include <array>
#include <cstdint>
#include <string>

#include "device/WepConfig.h"
#include "ui/CLayoutPage.h"

namespace linkscope {

class CEncryptionPage : public CLayoutPage {
 public:
  CEncryptionPage(const SettingsDialogServices& services, IPageHost& host);

  // Control ids of dialog 135.
  static constexpr int kIdLevelLabel = 1049;
  static constexpr int kIdLevel = 1081;
  static constexpr int kIdKeyLabel1 = 1039;  // to 1042
  static constexpr int kIdKey1 = 1035;
  static constexpr int kIdKey2 = 1036;
  static constexpr int kIdKey3 = 1037;
  static constexpr int kIdKey4 = 1038;
  static constexpr int kIdDefaultKeyLabel = 1044;
  static constexpr int kIdDefaultKey = 1043;
  static constexpr int kIdModeLabel = 1045;
  static constexpr int kIdMode = 1046;
  static constexpr int kIdAuthenticationLabel = 1047;
  static constexpr int kIdAuthentication = 1048;
  static constexpr int kIdSubmit = 1019;
  // A key box holds the 26 digits of a 128-bit key at most.
  static constexpr int kKeyTextLimit = 26;

  // Whether the card type offers 128-bit WEP.
  static bool Offers128Bit(std::uint8_t cardType);

  void OnInitDialog(WindowHandle dialog, IDialogItems& items) override;
  void OnCommand(int id, int code) override;
  // Enter and Escape do nothing on this page: a half-typed key is neither sent nor lost.
  void OnOk() override {}
  void OnCancel() override {}
  void Reload() override;
  void ApplyWindowsConfiguration(bool configuredByWindows) override;

  // What the page holds between two showings.
  const WepConfig& Record() const { return wep_; }
  std::uint8_t KeyLength() const { return keyLength_; }
  const std::array<std::string, 4>& KeyTexts() const { return keyTexts_; }

 protected:
  void OnCreatePage() override;
  void OnDestroyPage() override;

 private:
  void InitTexts();
  bool Refresh();
  void ShowKeys();
  void OnLevelChange();
  bool ValidateKeys();
  void OnSubmit();
  void StoreKeyTexts();
  void ReportReadFailure();
  void EnableKeyControls(bool enable);
  bool ConfiguredByWindows() const;
  std::string Text(const char* key, const char* defaultText) const;

  WepConfig wep_;                 // as last read, with the choices of a successful Submit
  std::uint8_t keyLength_ = WepConfig::kKeyLength64;
  std::uint8_t cardType_ = 0;
  std::array<std::string, 4> keyTexts_;
  bool readFailed_ = false;
  bool creating_ = false;
};

}  // namespace linkscope
