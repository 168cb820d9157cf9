#include "text/OemSettings.h"

#include "device/DeviceDescriptions.h"

#include <limits>

namespace linkscope {

std::uint32_t LeadingDigitsValue(const std::string& text) {
  constexpr std::uint32_t kMax = std::numeric_limits<std::uint32_t>::max();
  std::uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    const std::uint32_t digit = static_cast<std::uint32_t>(c - '0');
    if (value > (kMax - digit) / 10) return kMax;
    value = value * 10 + digit;
  }
  return value;
}

std::string OemSettings::TaskBarOkIcon() const { return table_.Lookup("TaskBarOkIcon", ""); }

std::string OemSettings::TaskBarNotOkIcon() const { return table_.Lookup("TaskBarNotOkIcon", ""); }

std::string OemSettings::ToolTipText() const { return table_.Lookup("ToolTipText", "Linkscope"); }

std::uint32_t OemSettings::DevicePollingTimerMsec() const {
  return LeadingDigitsValue(table_.Lookup("DevicePollingTimerMsec", "1000"));
}

bool OemSettings::ShowAdaptersList() const {
  return table_.Lookup("ShowAdaptersList", "1") == "1";
}

std::uint32_t OemSettings::MaxRssi() const {
  return LeadingDigitsValue(table_.Lookup("MaxRssi", "40"));
}

std::uint32_t OemSettings::MaxRssiRFMD() const {
  return LeadingDigitsValue(table_.Lookup("MaxRssiRFMD", "100"));
}

std::uint32_t OemSettings::MaxLinkQuality() const {
  return LeadingDigitsValue(table_.Lookup("MaxLinkQuality", "40"));
}

std::uint32_t OemSettings::MaxLinkQualityRFMD() const {
  return LeadingDigitsValue(table_.Lookup("MaxLinkQualityRFMD", "100"));
}

std::string OemSettings::Title() const {
  const std::string title = table_.Lookup("DlgTitle", "Linkscope Utility");
  // An empty title would match every untitled window of the desktop, and the program could
  // never start; it keeps its built-in title instead.
  return title.empty() ? std::string("Linkscope Utility") : title;
}

std::string OemSettings::LogoBmp() const { return table_.Lookup("LogoBmp", ""); }

std::string OemSettings::WEPKeysPasswordChar() const {
  return table_.Lookup("WEPKeysPasswordChar", "");
}

std::vector<std::string> OemSettings::LoadDeviceDescriptions(
    const std::vector<std::string>& builtIn) const {
  std::vector<std::string> list;
  // The keys are built here, never from file text. The list ends at the first gap, so a
  // file cannot make this loop run longer than it has lines.
  for (std::size_t n = 1;; ++n) {
    std::string description = table_.Lookup("DeviceDescription-" + std::to_string(n), "");
    if (description.empty()) break;
    list.push_back(std::move(description));
  }
  if (list.empty()) list = builtIn;
  return list;
}

const std::vector<std::string>& OemSettings::BuiltInDeviceDescriptions() {
  // The adapters of the family the program was built for; discovery keeps the one list.
  static const std::vector<std::string> kBuiltIn = linkscope::BuiltInDeviceDescriptions();
  return kBuiltIn;
}

}  // namespace linkscope
