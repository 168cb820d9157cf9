#pragma once
// The simulated miniport driver of one adapter: answers the private OIDs with the records the
// utility expects and plays out what the radio would do (scanning, joining, authenticating,
// associating, failing with an 802.11 status code) on the clock of ISystem, so that native
// tests run it on virtual time.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device/CoreRecords.h"
#include "device/StatisticsRecord.h"
#include "device/SurveyRecords.h"
#include "device/WepConfig.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "sim/SimEnvironment.h"

namespace linkscope::sim {

// Windows error codes the library returns for a request the driver refused.
constexpr std::uint32_t kErrInvalidHandle = 6;       // ERROR_INVALID_HANDLE
constexpr std::uint32_t kErrInvalidData = 13;        // ERROR_INVALID_DATA
constexpr std::uint32_t kErrGenFailure = 31;         // ERROR_GEN_FAILURE
constexpr std::uint32_t kErrNotSupported = 50;       // ERROR_NOT_SUPPORTED
constexpr std::uint32_t kErrInvalidParameter = 87;   // ERROR_INVALID_PARAMETER
constexpr std::uint32_t kErrInsufficientBuffer = 122;  // ERROR_INSUFFICIENT_BUFFER
constexpr std::uint32_t kErrDeviceNotConnected = 1167;  // ERROR_DEVICE_NOT_CONNECTED

// 802.11 status codes the driver reports with state 241.
constexpr std::uint32_t kStatusUnsupportedAuthentication = 13;
constexpr std::uint32_t kStatusChallengeFailure = 15;
constexpr std::uint32_t kStatusWepRequired = 160;
constexpr std::uint32_t kStatusWepNotSupported = 161;

// How long the radio takes, in milliseconds.
namespace SimTiming {
constexpr std::uint32_t kChangingConfiguration = 200;
constexpr std::uint32_t kScan = 1200;
constexpr std::uint32_t kJoin = 300;
constexpr std::uint32_t kAuthenticate = 300;
constexpr std::uint32_t kAssociate = 300;
constexpr std::uint32_t kReset = 500;
constexpr std::uint32_t kSurvey = 3000;
constexpr std::uint32_t kRescanWhenOutOfRange = 5000;
}  // namespace SimTiming

class SimMiniport {
 public:
  SimMiniport(const SimAdapterSetup& setup, ISystem& system);

  // The driver starts: settings from their defaults, then from the parameters in its registry
  // key (when `registry` is given and the key exists), then it looks for its network.
  void Start(IRegistry* registry, const std::string& driverKeyPath,
             const std::vector<SimNetwork>& networks);
  // The environment changed; the running state is kept.
  void UpdateSetup(const SimAdapterSetup& setup) { setup_ = setup; }
  const SimAdapterSetup& Setup() const { return setup_; }

  // One NDIS request. Returns 0 or a Windows error code; *written and *needed as NDIS fills
  // them.
  std::uint32_t Request(std::uint32_t type, std::uint32_t oid, std::uint8_t* buffer,
                        std::uint32_t length, std::uint32_t* written, std::uint32_t* needed,
                        const std::vector<SimNetwork>& networks);

  // Pulled out by the removal fault.
  bool Removed() const { return removed_; }

  // What the driver would report now (for tests and the request paths).
  std::uint8_t CurrentState();
  DeviceConfig CurrentConfig();
  const WepConfig& Wep() const { return wep_; }
  StatisticsRecord Statistics() const;
  std::uint8_t Radio() const { return radio_; }
  std::uint8_t Roaming() const { return roaming_; }

 private:
  struct Step {
    std::uint8_t state;
    std::uint32_t at;  // ms after the plan started
  };

  // Routes a request to its OID's handler (SimMiniportOids.cpp).
  std::uint32_t Dispatch(std::uint32_t type, std::uint32_t oid, std::uint8_t* buffer,
                         std::uint32_t length, std::uint32_t* written, std::uint32_t* needed,
                         const std::vector<SimNetwork>& networks);
  struct OidHandlers;
  void ReadParameters(IRegistry& registry, const std::string& driverKeyPath);
  void Update(const std::vector<SimNetwork>& networks);
  // Starts over from the current settings: `lead` is the state shown first (11 after a change,
  // 14 after a reset, 1 when roaming); `chosen` is a network picked from the survey.
  void Plan(const std::vector<SimNetwork>& networks, std::uint8_t lead, std::uint32_t leadMs,
            const SimNetwork* chosen);
  const SimNetwork* PickNetwork(const std::vector<SimNetwork>& networks) const;
  bool ChannelAllowed(std::uint8_t channel) const;
  bool KeyMatches(const SimNetwork& network) const;
  const SimNetwork* LinkedNetwork(const std::vector<SimNetwork>& networks) const;
  std::uint8_t StateAt(std::uint32_t now) const;
  std::uint32_t PlanEnd() const;
  std::int8_t ScaleSignal(int strength) const;
  std::uint8_t ScaleQuality(int quality) const;
  int Noise(int span);
  void Accumulate(std::uint32_t ms);
  void CompleteSurvey(const std::vector<SimNetwork>& networks);

  SimAdapterSetup setup_;
  ISystem& system_;

  DeviceConfig config_;  // setting fields only; the reported ones are filled on the way out
  WepConfig wep_;
  std::uint8_t roaming_ = 0;
  std::uint8_t radio_ = 1;
  std::uint8_t windowsConfig_ = 0;
  std::array<std::uint8_t, AllSettings::kReservedSize> reserved_{};

  std::vector<Step> plan_;
  std::uint32_t planStart_ = 0;
  std::uint32_t finalStatus_ = 0;   // with a final state of 241
  MacAddress targetBssid_{};        // the BSS joined or being joined
  std::uint8_t targetChannel_ = 0;
  bool ownCell_ = false;            // an ad-hoc cell this adapter started
  bool linked_ = false;             // the plan ends associated with an existing network
  bool keyMismatch_ = false;        // associated by open system with a key the BSS cannot read

  std::uint32_t lastUpdate_ = 0;
  std::array<std::uint64_t, StatisticsRecord::kCounterCount> counterMilli_{};

  std::uint8_t surveyState_ = SurveyState::kIdle;
  std::uint32_t surveyStart_ = 0;
  BssList surveyList_;

  std::uint32_t requests_ = 0;
  bool removed_ = false;
  std::uint32_t noise_ = 0x2545F491u;
};

}  // namespace linkscope::sim
