#include "sim/SimMiniport.h"

#include <algorithm>
#include <cstring>

#include "device/ByteOrder.h"
#include "device/DeviceCodes.h"
#include "device/Oids.h"
#include "platform/RequestLibrary.h"
#include "sim/DriverParameters.h"

namespace linkscope::sim {

namespace {

// Frames per 1000 seconds of association, per counter (offsets 0 to 44 of the record).
constexpr std::array<std::uint64_t, StatisticsRecord::kCounterCount> kRatesPerKs = {
    25000, 500, 1000, 20, 40000, 300, 10000, 100, 200, 50, 100, 10};

bool SameBytes(const MacAddress& a, const MacAddress& b) { return a == b; }

DeviceConfig DefaultSettings() {
  DeviceConfig c;
  c.operatingMode = 1;
  c.channel = 6;
  c.txRate = 4;
  c.preamble = 2;
  c.fragThreshold = 2346;
  c.rtsThreshold = 2347;
  return c;
}

}  // namespace

SimMiniport::SimMiniport(const SimAdapterSetup& setup, ISystem& system)
    : setup_(setup), system_(system), config_(DefaultSettings()) {
  noise_ ^= static_cast<std::uint32_t>(setup.mac[3] << 16 | setup.mac[4] << 8 | setup.mac[5]);
}

void SimMiniport::Start(IRegistry* registry, const std::string& driverKeyPath,
                        const std::vector<SimNetwork>& networks) {
  config_ = DefaultSettings();
  wep_ = WepConfig();
  roaming_ = 0;
  radio_ = 1;
  if (registry != nullptr && !driverKeyPath.empty()) ReadParameters(*registry, driverKeyPath);
  if (!setup_.roamingSupported) roaming_ = 0;
  if (!setup_.radioSupported) radio_ = 1;
  removed_ = false;
  requests_ = 0;
  surveyState_ = SurveyState::kIdle;
  surveyList_ = BssList();
  counterMilli_.fill(0);
  lastUpdate_ = system_.TickCount();
  Plan(networks, DeviceState::kInitializing, SimTiming::kChangingConfiguration, nullptr);
}

void SimMiniport::ReadParameters(IRegistry& registry, const std::string& driverKeyPath) {
  RegKey key = 0;
  if (registry.OpenKey(kRegLocalMachine, driverKeyPath, RegAccess::Read, &key) != kRegOk) return;
  for (const DriverParameterInfo& info : DriverParameterTable()) {
    std::uint8_t data[80];
    std::uint32_t size = sizeof data;
    std::uint32_t type = kRegNone;
    if (registry.QueryValue(key, info.name, &type, data, &size) != kRegOk || size > sizeof data) {
      continue;
    }
    // NT 4 keeps numbers as DWORDs, the other systems as decimal text; either is read.
    std::string text;
    if (type == kRegDword && size == 4) {
      text = std::to_string(ReadU32Le(data));
    } else if (type == kRegSz) {
      const char* p = reinterpret_cast<const char*>(data);
      text.assign(p, strnlen(p, size));
    } else {
      continue;
    }
    std::string reason;
    if (!ValidateDriverParameter(info, text, &reason)) continue;  // a driver keeps its default
    std::uint32_t v = 0;
    if (info.numeric) ParseDecimal(text, &v);
    const auto byte = static_cast<std::uint8_t>(v);
    using driverkey::Id;
    switch (info.id) {
      case Id::OperatingMode: config_.operatingMode = byte; break;
      case Id::Channel: config_.channel = byte; break;
      case Id::Essid: config_.SetSsid(text); break;
      case Id::Rate: config_.txRate = byte; break;
      case Id::InternationalRoaming: roaming_ = byte; break;
      case Id::RadioOnOff: radio_ = byte; break;
      case Id::PreambleType: config_.preamble = byte; break;
      case Id::FragThreshold: config_.fragThreshold = static_cast<std::uint16_t>(v); break;
      case Id::RtsThreshold: config_.rtsThreshold = static_cast<std::uint16_t>(v); break;
      case Id::PowerMgmtMode: config_.powerSave = byte; break;
      case Id::WepKey1:
      case Id::WepKey2:
      case Id::WepKey3:
      case Id::WepKey4: {
        std::vector<std::uint8_t> bytes;
        ParseHex(text, &bytes);
        auto& slot = wep_.keys[static_cast<std::size_t>(info.id) -
                               static_cast<std::size_t>(Id::WepKey1)];
        std::copy(bytes.begin(), bytes.end(), slot.begin());
        break;
      }
      case Id::WepKeyIndex: wep_.defaultKeyIndex = byte; break;
      case Id::WepMode: wep_.wepMode = byte; break;
      case Id::AuthenticationType: wep_.authenticationType = static_cast<std::uint16_t>(v); break;
      case Id::EncryptionLevel: wep_.encryptionLevel = byte; break;
    }
  }
  registry.CloseKey(key);
}

bool SimMiniport::ChannelAllowed(std::uint8_t channel) const {
  const ChannelRange range = ChannelsOfDomain(NormalizeRegulatoryDomain(setup_.regulatoryDomain));
  return channel >= range.first && channel <= range.last;
}

bool SimMiniport::KeyMatches(const SimNetwork& network) const {
  if (wep_.encryptionLevel != network.wepLevel) return false;
  const std::size_t n = WepConfig::KeyLengthOfLevel(wep_.encryptionLevel);
  if (n == 0 || network.wepKey.size() != n) return false;
  const auto& slot = wep_.keys[wep_.defaultKeyIndex & 3];
  return std::equal(slot.begin(), slot.begin() + static_cast<std::ptrdiff_t>(n),
                    network.wepKey.begin());
}

const SimNetwork* SimMiniport::PickNetwork(const std::vector<SimNetwork>& networks) const {
  const std::string wanted = config_.SsidBytes();
  const std::uint8_t type =
      config_.operatingMode == 0 ? BssType::kAdHoc : BssType::kInfrastructure;
  const bool usesWep = wep_.encryptionLevel != 0;
  const SimNetwork* best = nullptr;
  bool bestFits = false;
  for (const SimNetwork& n : networks) {
    if (n.bssType != type || n.signal == 0 || !ChannelAllowed(n.channel)) continue;
    // An empty SSID joins any network that announces its name.
    if (wanted.empty() ? n.ssid.empty() : n.ssid != wanted) continue;
    const bool fits = (n.wepLevel != 0) == usesWep;
    if (best == nullptr || (fits && !bestFits) || (fits == bestFits && n.signal > best->signal)) {
      best = &n;
      bestFits = fits;
    }
  }
  return best;
}

void SimMiniport::Plan(const std::vector<SimNetwork>& networks, std::uint8_t lead,
                       std::uint32_t leadMs, const SimNetwork* chosen) {
  plan_.clear();
  planStart_ = system_.TickCount();
  finalStatus_ = 0;
  targetBssid_ = MacAddress{};
  targetChannel_ = config_.channel;
  ownCell_ = false;
  linked_ = false;
  keyMismatch_ = false;
  if (radio_ == 0) {
    plan_.push_back({DeviceState::kRadioOff, 0});
    return;
  }
  std::uint32_t t = 0;
  plan_.push_back({lead, t});
  t += leadMs;
  const SimNetwork* net = chosen;
  if (chosen != nullptr) {
    plan_.push_back({DeviceState::kJoiningBssid, t});
    t += SimTiming::kJoin;
  } else {
    if (lead != DeviceState::kScanning) {
      plan_.push_back({DeviceState::kScanning, t});
    }
    t += SimTiming::kScan;
    net = PickNetwork(networks);
  }
  const bool adHoc = config_.operatingMode == 0;
  if (net == nullptr) {
    if (adHoc) {
      // Nobody to join: this adapter starts the cell, under a locally administered BSSID.
      ownCell_ = true;
      targetBssid_ = setup_.mac;
      targetBssid_[0] = static_cast<std::uint8_t>((targetBssid_[0] | 0x02) & 0xFE);
      plan_.push_back({DeviceState::kAssociated, t});
    } else {
      plan_.push_back({DeviceState::kOutOfRange, t});
    }
    return;
  }
  targetBssid_ = net->bssid;
  targetChannel_ = net->channel;
  if (chosen == nullptr) {
    plan_.push_back({DeviceState::kJoining, t});
    t += SimTiming::kJoin;
  }
  if (!net->answersJoin) {
    // The driver names the BSS it tried in the record, with its own configured channel.
    plan_.push_back({DeviceState::kFailedToJoin, t});
    return;
  }
  const bool netWep = net->wepLevel != 0;
  const bool cardWep = wep_.encryptionLevel != 0;
  auto fail = [&](std::uint32_t status) {
    finalStatus_ = status;
    plan_.push_back({DeviceState::kManagementError, t});
  };
  if (!adHoc && net->bssType == BssType::kInfrastructure) {
    plan_.push_back({DeviceState::kAuthenticating, t});
    t += SimTiming::kAuthenticate;
    if (net->authentication == WepCode::kAuthShared) {
      // The challenge comes back encrypted; only the right key answers it.
      if (wep_.authenticationType == WepCode::kAuthOpen) return fail(kStatusUnsupportedAuthentication);
      if (!KeyMatches(*net)) return fail(kStatusChallengeFailure);
    } else if (wep_.authenticationType == WepCode::kAuthShared && !netWep) {
      return fail(kStatusUnsupportedAuthentication);
    }
    plan_.push_back({DeviceState::kAssociating, t});
    t += SimTiming::kAssociate;
    if (net->refusal != 0) return fail(net->refusal);
  }
  if (netWep && !cardWep) return fail(kStatusWepRequired);
  if (!netWep && cardWep && wep_.wepMode == WepCode::kModeMandatory) {
    return fail(kStatusWepNotSupported);
  }
  // Open system lets a wrong key through; its frames then fail to decrypt.
  keyMismatch_ = netWep && !KeyMatches(*net);
  linked_ = true;
  plan_.push_back({DeviceState::kAssociated, t});
}

std::uint8_t SimMiniport::StateAt(std::uint32_t now) const {
  if (setup_.forcedState >= 0) return static_cast<std::uint8_t>(setup_.forcedState);
  if (plan_.empty()) return DeviceState::kInitializing;
  const std::uint32_t elapsed = now - planStart_;
  std::uint8_t state = plan_.front().state;
  for (const Step& s : plan_) {
    if (s.at <= elapsed) state = s.state;
  }
  return state;
}

std::uint32_t SimMiniport::PlanEnd() const { return plan_.empty() ? 0 : plan_.back().at; }

const SimNetwork* SimMiniport::LinkedNetwork(const std::vector<SimNetwork>& networks) const {
  if (!linked_) return nullptr;
  for (const SimNetwork& n : networks) {
    if (SameBytes(n.bssid, targetBssid_)) return &n;
  }
  return nullptr;
}

void SimMiniport::Accumulate(std::uint32_t ms) {
  for (std::size_t i = 0; i < counterMilli_.size(); ++i) {
    std::uint64_t rate = kRatesPerKs[i];
    if (keyMismatch_ && i == StatisticsRecord::kRxDataOk) rate = 0;
    if (keyMismatch_ && i == StatisticsRecord::kRxDataFailed) rate = kRatesPerKs[StatisticsRecord::kRxDataOk];
    counterMilli_[i] += ms * rate;
  }
}

void SimMiniport::Update(const std::vector<SimNetwork>& networks) {
  const std::uint32_t now = system_.TickCount();
  // Counters grow only for the time spent associated since the last look.
  if (setup_.forcedState < 0 && !plan_.empty() && plan_.back().state == DeviceState::kAssociated) {
    const std::uint32_t associatedAt = planStart_ + PlanEnd();
    const std::uint32_t from =
        static_cast<std::int32_t>(associatedAt - lastUpdate_) > 0 ? associatedAt : lastUpdate_;
    if (static_cast<std::int32_t>(now - from) > 0) Accumulate(now - from);
  }
  lastUpdate_ = now;

  if (surveyState_ == SurveyState::kInProgress && now - surveyStart_ >= SimTiming::kSurvey) {
    CompleteSurvey(networks);
  }

  if (setup_.forcedState >= 0 || plan_.empty() || now - planStart_ < PlanEnd()) return;
  const std::uint8_t state = plan_.back().state;
  if (state == DeviceState::kAssociated && linked_) {
    const SimNetwork* n = LinkedNetwork(networks);
    if (n == nullptr || n->signal == 0 || n->channel != targetChannel_) {
      // The network went away: look for it (or another one) again.
      Plan(networks, DeviceState::kScanning, 0, nullptr);
    }
  } else if (state == DeviceState::kOutOfRange &&
             now - planStart_ - PlanEnd() >= SimTiming::kRescanWhenOutOfRange) {
    Plan(networks, DeviceState::kScanning, 0, nullptr);
  }
}

void SimMiniport::CompleteSurvey(const std::vector<SimNetwork>& networks) {
  surveyState_ = SurveyState::kComplete;
  surveyList_ = BssList();
  if (radio_ == 0) return;
  for (const SimNetwork& n : networks) {
    if (surveyList_.entries.size() == BssList::kMaxEntries) break;
    if (n.signal == 0 || !ChannelAllowed(n.channel)) continue;
    BssEntry e;
    e.channel = n.channel;
    e.SetSsid(n.ssid.substr(0, BssEntry::kSsidFieldSize));
    e.bssid = n.bssid;
    e.rssi = ScaleSignal(std::clamp(n.signal + Noise(3), 1, 100));
    e.wep = n.wepLevel != 0 ? 1 : 0;
    e.bssType = n.bssType;
    surveyList_.entries.push_back(e);
  }
}

int SimMiniport::Noise(int span) {
  noise_ = noise_ * 1103515245u + 12345u;
  return static_cast<int>((noise_ >> 16) % static_cast<std::uint32_t>(2 * span + 1)) - span;
}

std::int8_t SimMiniport::ScaleSignal(int strength) const {
  switch (SignalScaleOf(setup_.cardType)) {
    case SignalScale::Dbm:
      return static_cast<std::int8_t>(-95 + strength * 60 / 100);
    case SignalScale::MaxRssiRfmd:
      return static_cast<std::int8_t>(strength);
    case SignalScale::MaxRssi:
      break;
  }
  return static_cast<std::int8_t>(strength * 40 / 100);
}

std::uint8_t SimMiniport::ScaleQuality(int quality) const {
  if (LinkQualityInPercent(setup_.cardType)) return static_cast<std::uint8_t>(quality);
  // These cards count errors, so a better link reports a smaller number.
  return static_cast<std::uint8_t>(40 - quality * 40 / 100);
}

std::uint8_t SimMiniport::CurrentState() { return StateAt(system_.TickCount()); }

DeviceConfig SimMiniport::CurrentConfig() {
  DeviceConfig c = config_;
  const std::uint8_t state = CurrentState();
  c.state = state;
  const bool joined = state == DeviceState::kAssociated;
  const bool joining = state == DeviceState::kJoining || state == DeviceState::kJoiningBssid ||
                       state == DeviceState::kAuthenticating ||
                       state == DeviceState::kAssociating;
  const bool failed = state == DeviceState::kFailedToJoin;
  c.bssid = (joined || joining || failed) ? targetBssid_ : MacAddress{};
  if (joined || joining) c.channel = targetChannel_;
  c.managementStatus = state == DeviceState::kManagementError ? finalStatus_ : 0;
  // No signal until associated; the request path fills in the live values then.
  c.signal = ScaleSignal(0);
  c.linkQuality = ScaleQuality(0);
  return c;
}

StatisticsRecord SimMiniport::Statistics() const {
  StatisticsRecord s;
  for (std::size_t i = 0; i < counterMilli_.size(); ++i) {
    s.counters[i] = static_cast<std::uint32_t>(counterMilli_[i] / 1000000u);
  }
  return s;
}

std::uint32_t SimMiniport::Request(std::uint32_t type, std::uint32_t oid, std::uint8_t* buffer,
                                   std::uint32_t length, std::uint32_t* written,
                                   std::uint32_t* needed,
                                   const std::vector<SimNetwork>& networks) {
  *written = 0;
  *needed = 0;
  if (removed_) return kErrDeviceNotConnected;
  ++requests_;
  if (setup_.removeAtRequest != 0 && requests_ >= setup_.removeAtRequest) {
    removed_ = true;
    return kErrDeviceNotConnected;
  }
  const SimFault* fault = nullptr;
  for (const SimFault& f : setup_.faults) {
    if (f.oid == oid) {
      fault = &f;
      break;
    }
  }
  if (fault != nullptr && fault->kind == SimFault::Kind::Delay) system_.Sleep(fault->value);
  Update(networks);
  if (fault != nullptr && fault->kind == SimFault::Kind::Fail) return fault->value;

  const std::uint32_t rc = Dispatch(type, oid, buffer, length, written, needed, networks);
  if (rc != 0 || fault == nullptr || type != kRequestQuery) return rc;
  if (fault->kind == SimFault::Kind::Length) {
    *written = fault->value;
  } else if (fault->kind == SimFault::Kind::Garbage && buffer != nullptr) {
    for (std::uint32_t i = 0; i < *written && i < length; ++i) {
      buffer[i] = static_cast<std::uint8_t>(Noise(127) + 128);
    }
  }
  return rc;
}

}  // namespace linkscope::sim
