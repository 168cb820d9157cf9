#include "app/LinkTooltip.h"

#include "device/DeviceCodes.h"
#include "platform/WindowSystem.h"
#include "text/AccessKeys.h"
#include "text/TextFit.h"
#include "ui/LinkStatusText.h"

namespace linkscope {

TrayTexts TrayTexts::Load(const ITextSource& t) {
  TrayTexts x;
  x.toolTip = t.Lookup("ToolTipText", "Linkscope");
  // The Status page's labels, without the access keys they carry there.
  x.signal = WithoutAccessKeys(t.Lookup("SignalStrength", "Si&gnal Strength"));
  x.quality = WithoutAccessKeys(t.Lookup("LinkQuality", "&Link Quality"));
  x.noAdapter = t.Lookup("TrayNoAdapter", "No adapter");
  x.connectedTitle = t.Lookup("BalloonConnectedTitle", "Connected");
  x.connectedTo = t.Lookup("BalloonConnectedTo", "Connected to");
  x.linkLostTitle = t.Lookup("BalloonLinkLostTitle", "Link lost");
  x.disconnectedFrom = t.Lookup("BalloonDisconnectedFrom", "Disconnected from");
  x.refusedTitle = t.Lookup("BalloonRefusedTitle", "Refused by the access point");
  x.cardRemovedTitle = t.Lookup("BalloonCardRemovedTitle", "Card removed");
  x.cardRemoved = t.Lookup("BalloonCardRemoved", "The wireless card was removed.");
  x.cardFoundTitle = t.Lookup("BalloonCardFoundTitle", "Card found");
  return x;
}

std::string ShownSsid(const LinkSnapshot& s) {
  if (!s.config) return std::string();
  std::string ssid = s.config->SsidBytes();
  ssid = ssid.substr(0, ssid.find('\0'));
  for (char& c : ssid) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return ssid;
}

LinkSnapshot Steadied(const LinkSnapshot& now, const LinkSnapshot& shown) {
  auto near = [](const std::optional<int>& a, const std::optional<int>& b) {
    if (!a || !b) return !a && !b;
    return *a - *b < kTipStep && *b - *a < kTipStep;
  };
  LinkSnapshot s = now;
  if (near(now.signalPercent, shown.signalPercent) &&
      near(now.qualityPercent, shown.qualityPercent)) {
    s.signalPercent = shown.signalPercent;
    s.qualityPercent = shown.qualityPercent;
  }
  auto looking = [](const LinkSnapshot& x) {
    return x.adapter && x.radio != 0 &&
           (x.deviceState == DeviceState::kScanning || x.deviceState == DeviceState::kOutOfRange);
  };
  if (looking(now) && looking(shown)) s.statusText = shown.statusText;
  return s;
}

std::string LinkTooltip(const LinkSnapshot& s, const TrayTexts& texts) {
  std::string tip = texts.toolTip;
  auto line = [&tip](const std::string& text) {
    if (text.empty()) return;
    if (!tip.empty()) tip += '\n';
    tip += text;
  };
  if (!s.adapter) {
    line(texts.noAdapter);
  } else if (s.config && s.radio != 0 && s.deviceState == DeviceState::kAssociated) {
    // The state's name and the network; the numbers on a line of their own, so that a cut
    // takes them before it takes the network's name.
    DefaultTexts fixed;  // the state names are fixed words, as on the Status page
    const std::string ssid = ShownSsid(s);
    line(LinkStateName(*s.config, s.radio, fixed) + (ssid.empty() ? "" : " - " + ssid));
    std::string numbers;
    if (s.signalPercent) numbers = texts.signal + ": " + std::to_string(*s.signalPercent) + " %";
    if (s.qualityPercent) {
      if (!numbers.empty()) numbers += ", ";
      numbers += texts.quality + ": " + std::to_string(*s.qualityPercent) + " %";
    }
    line(numbers);
  } else {
    line(s.statusText);
  }
  return FitWords(tip, kTrayTipCapacity - 1);
}

}  // namespace linkscope
