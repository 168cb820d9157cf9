#pragma once
// The customisation values a vendor sets in the language file (the same sections as the
// texts, so each language may carry its own), each with its built-in default.

#include <cstdint>
#include <string>
#include <vector>

#include "text/LanguageTable.h"

namespace linkscope {

// The value of the base-10 digits a text starts with; 0 when it starts with none ("250ms"
// gives 250, "x" gives 0). A value beyond 32 bits saturates instead of wrapping, so a huge
// polling period never turns into a tiny one.
std::uint32_t LeadingDigitsValue(const std::string& text);

class OemSettings {
 public:
  explicit OemSettings(const LanguageTable& table) : table_(table) {}

  // Icon files of the tray icon, relative to the resource folder; empty means the built-in one.
  std::string TaskBarOkIcon() const;
  std::string TaskBarNotOkIcon() const;
  std::string ToolTipText() const;
  // The settings dialog's title, which the hidden main window carries too; never empty.
  std::string Title() const;
  std::uint32_t DevicePollingTimerMsec() const;
  // Only the exact text "1" shows the dialog's adapter selector.
  bool ShowAdaptersList() const;
  // Full-scale values of the signal and link-quality bars, as converted numbers; which bits
  // count is the business of the page that draws them.
  std::uint32_t MaxRssi() const;
  std::uint32_t MaxRssiRFMD() const;
  std::uint32_t MaxLinkQuality() const;
  std::uint32_t MaxLinkQualityRFMD() const;
  std::string LogoBmp() const;
  // The WEP key fields hide their contents behind the first character when this is not empty.
  std::string WEPKeysPasswordChar() const;

  // The adapter descriptions the program accepts: "DeviceDescription-1", "-2", ... up to the
  // first empty or missing one; `builtIn` when the file gives none for number 1.
  std::vector<std::string> LoadDeviceDescriptions(const std::vector<std::string>& builtIn) const;
  // The descriptions accepted when the file lists none.
  static const std::vector<std::string>& BuiltInDeviceDescriptions();

 private:
  const LanguageTable& table_;
};

}  // namespace linkscope
