#include "config/ProfileApplication.h"

#include <cstring>

#include "config/ProfileNames.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"

namespace linkscope {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The SSID as text: its first SSID-length bytes, ending at the first NUL among them.
std::string SsidText(const DeviceConfig& config) {
  std::string bytes = config.SsidBytes();
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string::npos) bytes.resize(nul);
  return bytes;
}

// The SSID a profile gives the adapter. The driver takes at most 32 bytes; a longer text (the
// registry can be edited by hand) is cut to its first 32 bytes, so that the record's length
// byte, the driver key's "ESSID" and the comparison with the adapter all see the same name.
std::string ProfileSsid(const Profile& p) { return p.ssid.substr(0, kSsidMaxLength); }

}  // namespace

void DecodeKeyText(const std::string& text, std::uint8_t* slot) {
  const std::size_t pairs = std::min<std::size_t>(text.size() / 2, WepConfig::kKeySlotSize);
  for (std::size_t i = 0; i < pairs; ++i) {
    const int high = HexDigit(text[2 * i]);
    const int low = HexDigit(text[2 * i + 1]);
    if (high < 0) {
      slot[i] = 0;
    } else if (low < 0) {
      slot[i] = static_cast<std::uint8_t>(high);
    } else {
      slot[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
  }
}

std::string EncodeKeyBytes(const std::uint8_t* bytes, std::size_t length) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (std::size_t i = 0; i < length; ++i) {
    text += kHex[bytes[i] >> 4];
    text += kHex[bytes[i] & 0xF];
  }
  return text;
}

WepConfig WepOfProfile(const Profile& p) {
  WepConfig wep;
  wep.defaultKeyIndex = static_cast<std::uint8_t>(p.key);
  wep.wepMode = static_cast<std::uint8_t>(p.wepmode);
  wep.authenticationType = static_cast<std::uint16_t>(p.auth);
  wep.encryptionLevel = static_cast<std::uint8_t>(p.enc);
  for (std::size_t k = 0; k < WepConfig::kKeyCount; ++k) {
    DecodeKeyText(p.keys[k], wep.keys[k].data());
  }
  return wep;
}

AllSettings SettingsOfProfile(const Profile& p) {
  AllSettings s;
  DeviceConfig& c = s.config;
  c.operatingMode = static_cast<std::uint8_t>(p.mode);
  c.channel = static_cast<std::uint8_t>(p.channel);
  c.SetSsid(ProfileSsid(p));
  c.txRate = static_cast<std::uint8_t>(p.rate);
  c.powerSave = static_cast<std::uint8_t>(p.power);
  c.preamble = static_cast<std::uint8_t>(p.preamble);
  c.fragThreshold = static_cast<std::uint16_t>(p.frag);
  c.rtsThreshold = static_cast<std::uint16_t>(p.rts);

  WepOfProfile(p).EncodeTo(s.wep.data());

  s.intlRoaming = static_cast<std::uint8_t>(p.roaming);
  s.radio = static_cast<std::uint8_t>(p.radio);
  return s;
}

bool ProfileApplication::ApplyProfile(const std::string& name) {
  Profile profile;
  if (!store_.Find(name, &profile)) {
    messages_.Show("ErrorGetProfile",
                   "WARNING: Cannot find information for this profile.\r\nThis can be due to a "
                   "failed previous operation.You can continue normally.");
    return false;
  }
  const AllSettings settings = SettingsOfProfile(profile);
  const auto raw = settings.Encode();

  if (!link_.Set(Adapter(), OID_PRIV_ALL_SETTINGS, raw.data(), AllSettings::kSize)) {
    // A driver without the all-settings request takes the records one by one.
    if (!link_.Set(Adapter(), OID_PRIV_CONFIGURATION, raw.data(), DeviceConfig::kSize)) {
      messages_.Show("ErrorSetDevConfig", "Cannot set device configuration");
      return false;
    }
    system_.Sleep(kPieceByPieceWaitMs);
    if (!link_.Set(Adapter(), OID_PRIV_WEP, raw.data() + AllSettings::kOffsetWep,
                   WepConfig::kSize)) {
      messages_.Show("ErrorSetWepConfig", "Cannot set wep configuration");
      return false;
    }
    link_.Set(Adapter(), OID_PRIV_RADIO, raw.data() + AllSettings::kOffsetRadio, 1);
    link_.Set(Adapter(), OID_PRIV_INTL_ROAMING, raw.data() + AllSettings::kOffsetIntlRoaming, 1);
  }

  state_.currentName = name;
  // The profile in use that the next start reads back; when it cannot be stored the user hears
  // so, as for the driver's parameters.
  const bool lastStored = store_.WriteLastProfile(name);
  state_.inSync = true;

  if (!parameters_.WriteAll(settings.config, WepOfProfile(profile), settings.radio,
                            settings.intlRoaming, profile.keys) ||
      !lastStored) {
    messages_.Show("ErrorNotSavedInRegistry", "Last configuration not saved");
  }
  return true;
}

bool ProfileApplication::CaptureCurrentSettings(Profile* profile) {
  DeviceConfig config;
  if (!QueryDeviceConfig(link_, Adapter(), &config)) return false;
  std::uint8_t rawWep[WepConfig::kSize];
  WepConfig wep;
  if (!QueryExact(link_, Adapter(), OID_PRIV_WEP, rawWep, WepConfig::kSize) ||
      !WepConfig::Decode(rawWep, WepConfig::kSize, &wep)) {
    return false;
  }
  std::uint8_t radio = 1;
  if (!QueryByte(link_, Adapter(), OID_PRIV_RADIO, &radio)) radio = 1;
  std::uint8_t roaming = 0;
  if (!QueryByte(link_, Adapter(), OID_PRIV_INTL_ROAMING, &roaming)) roaming = 0;

  Profile& p = *profile;
  p.ssid = SsidText(config);
  p.mode = config.operatingMode;
  p.channel = config.channel;
  p.rate = config.txRate;
  p.power = config.powerSave;
  p.preamble = config.preamble;
  p.frag = config.fragThreshold;
  p.rts = config.rtsThreshold;
  p.key = wep.defaultKeyIndex;
  p.wepmode = wep.wepMode;
  p.auth = wep.authenticationType;
  p.enc = wep.encryptionLevel;
  p.radio = radio;
  p.roaming = roaming;
  // At level 0 no key is in use; a fixed placeholder keeps the profile's keys well-formed.
  // Any other level outside 1 and 2 keeps the 128-bit length, so no key byte is lost.
  const std::size_t keyLength =
      wep.encryptionLevel == 1 ? WepConfig::kKeyLength64 : WepConfig::kKeyLength128;
  for (std::size_t k = 0; k < WepConfig::kKeyCount; ++k) {
    p.keys[k] = wep.encryptionLevel == 0 ? std::string(kUnusedKeyText)
                                         : EncodeKeyBytes(wep.keys[k].data(), keyLength);
  }
  return true;
}

bool RecordMatches(const Profile& p, const DeviceConfig& c) {
  const std::string ssid = ProfileSsid(p);
  return SsidText(c) == ssid && c.channel == p.channel && c.operatingMode == p.mode &&
         c.powerSave == p.power && c.preamble == p.preamble && c.txRate == p.rate &&
         c.ssidLength == ssid.size() && c.fragThreshold == p.frag && c.rtsThreshold == p.rts;
}

bool RecordMatches(const Profile& p, const WepConfig& w) {
  if (w.authenticationType != p.auth || w.encryptionLevel != p.enc ||
      w.defaultKeyIndex != p.key || w.wepMode != p.wepmode) {
    return false;
  }
  // At level 0 the driver uses no key: whatever the slots hold, and the placeholders a
  // profile captured at that level stores, say nothing about what the adapter does.
  if (w.encryptionLevel == 0) return true;
  for (std::size_t k = 0; k < WepConfig::kKeyCount; ++k) {
    const std::size_t bytes = std::min<std::size_t>(p.keys[k].size() / 2, WepConfig::kKeySlotSize);
    if (EncodeKeyBytes(w.keys[k].data(), bytes) != p.keys[k]) return false;
  }
  return true;
}

bool RecordMatches(const Profile& p, RadioSetting radio) { return radio.value == p.radio; }

bool RecordMatches(const Profile& p, RoamingSetting roaming) { return roaming.value == p.roaming; }

bool ProfileApplication::MatchesAdapter() {
  std::uint8_t raw[AllSettings::kSize] = {};
  std::uint32_t written = 0;
  // The byte count of this answer is not checked: drivers differ in what they report here.
  if (!link_.Query(Adapter(), OID_PRIV_ALL_SETTINGS, raw, AllSettings::kSize, &written)) {
    return false;
  }
  AllSettings settings;
  WepConfig wep;
  if (!AllSettings::Decode(raw, AllSettings::kSize, &settings) ||
      !WepConfig::Decode(settings.wep.data(), WepConfig::kSize, &wep)) {
    return false;
  }
  // One look-up of the profile serves the four comparisons.
  Profile p;
  if (!store_.Find(state_.currentName, &p)) return false;
  return RecordMatches(p, settings.config) && RecordMatches(p, wep) &&
         RecordMatches(p, RoamingSetting{settings.intlRoaming}) &&
         RecordMatches(p, RadioSetting{settings.radio});
}

void ProfileApplication::FollowMatch(bool matches) {
  if (matches) {
    state_.inSync = true;
  } else if (!IsDefaultProfileName(state_.currentName)) {
    state_.inSync = false;
  }
}

}  // namespace linkscope
