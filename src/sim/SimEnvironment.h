#pragma once
// What the simulated adapters and the radio around them are: the adapters plugged into the
// machine with what their drivers report, and the access points and ad-hoc cells in range.
// An environment is plain data; it is read from a file (EnvironmentFile.h) or built by tests.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace linkscope::sim {

using MacAddress = std::array<std::uint8_t, 6>;

// A fault the driver shows when it is asked one OID (query or set).
struct SimFault {
  enum class Kind {
    Fail,     // the request fails with `value` as its error code
    Length,   // the answer reports `value` bytes instead of the record's length
    Garbage,  // the buffer is filled with noise; the length reported is the right one
    Delay,    // the answer comes `value` milliseconds late
  };
  std::uint32_t oid = 0;
  Kind kind = Kind::Fail;
  std::uint32_t value = 0;
};

struct SimNetwork {
  MacAddress bssid{};
  std::string ssid;  // raw bytes, at most 32; may be empty or hold NUL and control bytes
  std::uint8_t channel = 1;
  std::uint8_t signal = 60;  // strength at the adapter, 0 to 100
  std::uint8_t bssType = 2;  // 1 ad-hoc, 2 infrastructure, other values as they are
  std::uint8_t wepLevel = 0;  // 0 none, 1 64-bit, 2 128-bit
  std::vector<std::uint8_t> wepKey;  // 5 or 13 bytes when wepLevel is 1 or 2
  std::uint16_t authentication = 0;  // 0 open system, 1 shared key
  // The 802.11 status code with which the access point denies every association (1
  // unspecified, 17 full, 18 rates, or any other code); 0 lets stations in.
  std::uint16_t refusal = 0;
  // False: the BSS never answers a join, and the driver gives up on it (state 13).
  bool answersJoin = true;
};

struct SimAdapterSetup {
  std::string displayName;
  // The driver's service name (NT 4 service key, file name of the driver); it identifies the
  // adapter across environment changes.
  std::string serviceName;
  // Windows 2000/XP interface identifier, "{...}"; derived from the service name when empty.
  std::string instanceId;
  // The hardware identifier Windows 9x records as "MatchingDeviceId" ("PCMCIA\..." for a PC
  // card); not written when empty.
  std::string hardwareId;
  bool wireless = true;  // an Ethernet adapter answers none of the private OIDs

  std::uint8_t cardType = 12;
  MacAddress mac{};
  std::array<std::uint16_t, 4> driverVersion{1, 0, 0, 0};
  std::array<std::uint16_t, 4> firmwareVersion{1, 0, 0, 0};
  std::uint8_t regulatoryDomain = 0x10;
  bool roamingSupported = true;
  std::array<std::uint8_t, 14> roamingChannels{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0};
  bool radioSupported = true;
  bool allSettingsSupported = true;

  bool present = true;
  // Device state reported whatever happens (12, 16, 18, 240, ...); -1 for none.
  int forcedState = -1;
  // The adapter is pulled out when its driver is asked its Nth request; 0 for never.
  std::uint32_t removeAtRequest = 0;
  std::vector<SimFault> faults;
  // Driver parameters the installer writes as their defaults, by value name: numbers as
  // decimal text, texts as they are.
  std::map<std::string, std::string> parameters;

  // instanceId, or the identifier derived from the service name.
  std::string InstanceId() const;
};

struct SimEnvironment {
  std::vector<SimAdapterSetup> adapters;
  std::vector<SimNetwork> networks;
};

}  // namespace linkscope::sim
