// The simulated driver's answer to each OID: one small handler for a query and one for a set,
// and the table that routes a request to them with the record a set must carry.

#include <algorithm>
#include <cstring>

#include "device/ByteOrder.h"
#include "device/DeviceCodes.h"
#include "device/Oids.h"
#include "platform/RequestLibrary.h"
#include "sim/SimMiniport.h"

namespace linkscope::sim {

namespace {

using Record = std::vector<std::uint8_t>;

template <std::size_t N>
Record RecordOf(const std::array<std::uint8_t, N>& bytes) {
  return Record(bytes.begin(), bytes.end());
}

// Answers a query with its record: the buffer must hold it. An action the driver carries out
// when it is queried (a reset, a survey start) answers with no bytes.
std::uint32_t Answer(const Record& record, std::uint8_t* buffer, std::uint32_t length,
                     std::uint32_t* written, std::uint32_t* needed) {
  const auto size = static_cast<std::uint32_t>(record.size());
  if (length < size || (size > 0 && buffer == nullptr)) {
    *needed = size;
    return kErrInsufficientBuffer;
  }
  if (size > 0) std::memcpy(buffer, record.data(), size);
  *written = size;
  return 0;
}

bool ValidSettings(const DeviceConfig& c) {
  return c.operatingMode <= 1 && c.channel >= 1 && c.channel <= 14 &&
         c.ssidLength <= kSsidMaxLength && c.txRate <= 4 && c.powerSave <= 1 &&
         c.preamble <= 2 && c.fragThreshold >= 256 && c.fragThreshold <= 2346 &&
         c.rtsThreshold <= 2347;
}

bool ValidWep(const WepConfig& w) {
  return w.defaultKeyIndex <= 3 && w.wepMode <= 1 && w.authenticationType <= 2 &&
         w.encryptionLevel <= 2;
}

// Copies the setting fields (offsets 0 to 41); what the driver reports stays its own.
void TakeSettings(const DeviceConfig& from, DeviceConfig* to) {
  to->operatingMode = from.operatingMode;
  to->channel = from.channel;
  to->ssid = from.ssid;
  to->ssidLength = from.ssidLength;
  to->txRate = from.txRate;
  to->powerSave = from.powerSave;
  to->preamble = from.preamble;
  to->fragThreshold = from.fragThreshold;
  to->rtsThreshold = from.rtsThreshold;
}

}  // namespace

struct SimMiniport::OidHandlers {
  using Networks = std::vector<SimNetwork>;
  using Query = Record (*)(SimMiniport&, const Networks&);
  // Called with at least the route's setSize bytes.
  using Set = std::uint32_t (*)(SimMiniport&, const std::uint8_t* record, const Networks&);

  struct Route {
    std::uint32_t oid;
    bool privateOid;  // answered by a wireless adapter's driver only
    // The adapter's support for the feature, when the driver may lack it; null for none.
    bool SimAdapterSetup::*feature;
    Query query;  // null: the driver refuses queries of it
    Set set;      // null: the driver refuses sets of it
    std::uint32_t setSize;
  };

  static const Route* Find(std::uint32_t oid);

  // A configuration, a WEP record or all settings that was set: the driver starts over.
  static std::uint32_t Restart(SimMiniport& m, const Networks& networks) {
    m.Plan(networks, DeviceState::kChangingConfiguration, SimTiming::kChangingConfiguration,
           nullptr);
    return 0;
  }

  static Record QueryMediaConnectStatus(SimMiniport& m, const Networks&) {
    std::array<std::uint8_t, kMediaConnectStatusSize> raw{};
    const bool connected = !m.setup_.wireless || m.CurrentState() == DeviceState::kAssociated;
    WriteU32Le(raw.data(), connected ? kMediaConnected : kMediaDisconnected);
    return RecordOf(raw);
  }

  static Record QueryCurrentAddress(SimMiniport& m, const Networks&) {
    return RecordOf(m.setup_.mac);
  }

  static Record QueryConfiguration(SimMiniport& m, const Networks& networks) {
    DeviceConfig c = m.CurrentConfig();
    if (c.state == DeviceState::kAssociated) {
      int strength = 0;
      if (const SimNetwork* n = m.LinkedNetwork(networks)) strength = n->signal;
      strength = m.ownCell_ ? 0 : std::clamp(strength + m.Noise(3), 0, 100);
      c.signal = m.ScaleSignal(strength);
      c.linkQuality = m.ScaleQuality(std::clamp(strength + 5 + m.Noise(4), 0, 100));
    }
    return RecordOf(c.Encode());
  }

  static std::uint32_t SetConfiguration(SimMiniport& m, const std::uint8_t* record,
                                        const Networks& networks) {
    DeviceConfig incoming;
    DeviceConfig::Decode(record, DeviceConfig::kSize, &incoming);
    if (!ValidSettings(incoming)) return kErrInvalidData;
    TakeSettings(incoming, &m.config_);
    return Restart(m, networks);
  }

  static Record QueryDeviceState(SimMiniport& m, const Networks&) { return {m.CurrentState()}; }

  static Record QueryWep(SimMiniport& m, const Networks&) { return RecordOf(m.wep_.Encode()); }

  static std::uint32_t SetWep(SimMiniport& m, const std::uint8_t* record,
                              const Networks& networks) {
    WepConfig incoming;
    WepConfig::Decode(record, WepConfig::kSize, &incoming);
    if (!ValidWep(incoming)) return kErrInvalidData;
    m.wep_ = incoming;
    return Restart(m, networks);
  }

  static Record Reset(SimMiniport& m, const Networks& networks) {
    m.surveyState_ = SurveyState::kIdle;
    m.Plan(networks, DeviceState::kResetting, SimTiming::kReset, nullptr);
    return {};
  }

  static Record QueryRoaming(SimMiniport& m, const Networks&) { return {m.roaming_}; }

  static std::uint32_t SetRoaming(SimMiniport& m, const std::uint8_t* record, const Networks&) {
    if (record[0] > 1) return kErrInvalidData;
    m.roaming_ = record[0];
    return 0;
  }

  static Record QueryRoamingChannels(SimMiniport& m, const Networks&) {
    return RecordOf(m.setup_.roamingChannels);
  }

  static Record QueryRadio(SimMiniport& m, const Networks&) { return {m.radio_}; }

  static std::uint32_t SetRadio(SimMiniport& m, const std::uint8_t* record,
                                const Networks& networks) {
    if (record[0] > 1) return kErrInvalidData;
    if (record[0] != m.radio_) {
      m.radio_ = record[0];
      m.Plan(networks, DeviceState::kScanning, 0, nullptr);
    }
    return 0;
  }

  static Record QueryWindowsConfig(SimMiniport& m, const Networks&) {
    return {m.windowsConfig_};
  }

  static std::uint32_t SetWindowsConfig(SimMiniport& m, const std::uint8_t* record,
                                        const Networks&) {
    m.windowsConfig_ = record[0] != 0 ? 1 : 0;
    return 0;
  }

  static Record QueryAllSettings(SimMiniport& m, const Networks&) {
    AllSettings s;
    s.config = m.CurrentConfig();
    const auto wep = m.wep_.Encode();
    std::copy(wep.begin(), wep.end(), s.wep.begin());
    s.intlRoaming = m.roaming_;
    s.radio = m.radio_;
    s.reserved = m.reserved_;
    return RecordOf(s.Encode());
  }

  static std::uint32_t SetAllSettings(SimMiniport& m, const std::uint8_t* record,
                                      const Networks& networks) {
    AllSettings s;
    AllSettings::Decode(record, AllSettings::kSize, &s);
    WepConfig wep;
    WepConfig::Decode(s.wep.data(), s.wep.size(), &wep);
    if (!ValidSettings(s.config) || !ValidWep(wep) || s.intlRoaming > 1 || s.radio > 1) {
      return kErrInvalidData;
    }
    TakeSettings(s.config, &m.config_);
    m.wep_ = wep;
    if (m.setup_.roamingSupported) m.roaming_ = s.intlRoaming;
    if (m.setup_.radioSupported) m.radio_ = s.radio;
    m.reserved_ = s.reserved;
    return Restart(m, networks);
  }

  static Record QueryCardType(SimMiniport& m, const Networks&) { return {m.setup_.cardType}; }

  static Record StartSurvey(SimMiniport& m, const Networks&) {
    m.surveyState_ = SurveyState::kInProgress;
    m.surveyStart_ = m.system_.TickCount();
    return {};
  }

  static Record CancelSurvey(SimMiniport& m, const Networks&) {
    if (m.surveyState_ == SurveyState::kInProgress) m.surveyState_ = SurveyState::kIdle;
    return {};
  }

  static Record QuerySurveyState(SimMiniport& m, const Networks&) { return {m.surveyState_}; }

  static Record QuerySurveyList(SimMiniport& m, const Networks&) {
    Record raw(BssList::kBufferSize);
    raw.resize(m.surveyList_.EncodeTo(raw.data(), raw.size()));
    return raw;
  }

  static std::uint32_t SelectBss(SimMiniport& m, const std::uint8_t* record,
                                 const Networks& networks) {
    const std::uint32_t index = ReadU32Le(record);
    if (index >= m.surveyList_.entries.size()) return kErrInvalidParameter;
    const BssEntry& e = m.surveyList_.entries[index];
    m.config_.SetSsid(e.SsidBytes());
    if (e.bssType == BssType::kAdHoc) m.config_.operatingMode = 0;
    if (e.bssType == BssType::kInfrastructure) m.config_.operatingMode = 1;
    m.config_.channel = e.channel;
    // A network gone since the survey leaves none chosen: the driver looks for the name instead.
    const SimNetwork* chosen = nullptr;
    for (const SimNetwork& n : networks) {
      if (n.bssid == e.bssid) chosen = &n;
    }
    m.Plan(networks, DeviceState::kChangingConfiguration, SimTiming::kChangingConfiguration,
           chosen);
    return 0;
  }

  static Record QueryVersion(SimMiniport& m, const Networks&) {
    VersionInfo v;
    v.driver1 = static_cast<std::uint8_t>(m.setup_.driverVersion[0]);
    v.driver2 = static_cast<std::uint8_t>(m.setup_.driverVersion[1]);
    v.driver3 = static_cast<std::uint8_t>(m.setup_.driverVersion[2]);
    v.driver4 = m.setup_.driverVersion[3];
    v.firmware = m.setup_.firmwareVersion;
    return RecordOf(v.Encode());
  }

  static Record QueryStatistics(SimMiniport& m, const Networks&) {
    return RecordOf(m.Statistics().Encode());
  }

  static Record ResetStatistics(SimMiniport& m, const Networks&) {
    m.counterMilli_.fill(0);
    return {};
  }

  static Record QueryRegulatoryDomain(SimMiniport& m, const Networks&) {
    return {m.setup_.regulatoryDomain};
  }
};

const SimMiniport::OidHandlers::Route* SimMiniport::OidHandlers::Find(std::uint32_t oid) {
  using H = OidHandlers;
  constexpr bool kGeneric = false, kPrivate = true;
  static const Route kRoutes[] = {
      // OID, private, feature the adapter may lack, query, set, record a set carries
      {OID_GEN_MEDIA_CONNECT_STATUS, kGeneric, nullptr, &H::QueryMediaConnectStatus, nullptr, 0},
      {OID_802_3_CURRENT_ADDRESS, kGeneric, nullptr, &H::QueryCurrentAddress, nullptr, 0},
      {OID_PRIV_CONFIGURATION, kPrivate, nullptr, &H::QueryConfiguration, &H::SetConfiguration,
       DeviceConfig::kSize},
      {OID_PRIV_DEVICE_STATE, kPrivate, nullptr, &H::QueryDeviceState, nullptr, 0},
      {OID_PRIV_WEP, kPrivate, nullptr, &H::QueryWep, &H::SetWep, WepConfig::kSize},
      {OID_PRIV_RESET, kPrivate, nullptr, &H::Reset, nullptr, 0},
      {OID_PRIV_INTL_ROAMING, kPrivate, &SimAdapterSetup::roamingSupported, &H::QueryRoaming,
       &H::SetRoaming, kOneByteSize},
      {OID_PRIV_ROAMING_CHANNELS, kPrivate, &SimAdapterSetup::roamingSupported,
       &H::QueryRoamingChannels, nullptr, 0},
      {OID_PRIV_RADIO, kPrivate, &SimAdapterSetup::radioSupported, &H::QueryRadio, &H::SetRadio,
       kOneByteSize},
      {OID_PRIV_WINDOWS_CONFIG, kPrivate, nullptr, &H::QueryWindowsConfig, &H::SetWindowsConfig,
       kOneByteSize},
      {OID_PRIV_ALL_SETTINGS, kPrivate, &SimAdapterSetup::allSettingsSupported,
       &H::QueryAllSettings, &H::SetAllSettings, AllSettings::kSize},
      {OID_PRIV_CARD_TYPE, kPrivate, nullptr, &H::QueryCardType, nullptr, 0},
      {OID_PRIV_SURVEY_START, kPrivate, nullptr, &H::StartSurvey, nullptr, 0},
      {OID_PRIV_SURVEY_CANCEL, kPrivate, nullptr, &H::CancelSurvey, nullptr, 0},
      {OID_PRIV_SURVEY_STATE, kPrivate, nullptr, &H::QuerySurveyState, nullptr, 0},
      {OID_PRIV_SURVEY_LIST, kPrivate, nullptr, &H::QuerySurveyList, nullptr, 0},
      {OID_PRIV_SELECT_BSS, kPrivate, nullptr, nullptr, &H::SelectBss, kSelectBssRequestSize},
      {OID_PRIV_VERSION, kPrivate, nullptr, &H::QueryVersion, nullptr, 0},
      {OID_PRIV_STATISTICS, kPrivate, nullptr, &H::QueryStatistics, nullptr, 0},
      {OID_PRIV_STATISTICS_RESET, kPrivate, nullptr, &H::ResetStatistics, nullptr, 0},
      {OID_PRIV_REG_DOMAIN, kPrivate, nullptr, &H::QueryRegulatoryDomain, nullptr, 0},
  };
  for (const Route& route : kRoutes) {
    if (route.oid == oid) return &route;
  }
  return nullptr;
}

std::uint32_t SimMiniport::Dispatch(std::uint32_t type, std::uint32_t oid, std::uint8_t* buffer,
                                    std::uint32_t length, std::uint32_t* written,
                                    std::uint32_t* needed,
                                    const std::vector<SimNetwork>& networks) {
  if (length > 0 && buffer == nullptr) return kErrInvalidParameter;
  if (type != kRequestQuery && type != kRequestSet) return kErrInvalidParameter;
  const OidHandlers::Route* route = OidHandlers::Find(oid);
  if (route == nullptr) return kErrNotSupported;
  // An Ethernet adapter's driver knows nothing of the private OIDs.
  if (route->privateOid && !setup_.wireless) return kErrNotSupported;
  if (route->feature != nullptr && !(setup_.*route->feature)) return kErrNotSupported;
  if (type == kRequestQuery) {
    if (route->query == nullptr) return kErrNotSupported;
    return Answer(route->query(*this, networks), buffer, length, written, needed);
  }
  if (route->set == nullptr) return kErrNotSupported;
  // A set must carry at least the record.
  if (buffer == nullptr || length < route->setSize) {
    *needed = route->setSize;
    return kErrInvalidParameter;
  }
  return route->set(*this, buffer, networks);
}

}  // namespace linkscope::sim
