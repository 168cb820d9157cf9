#pragma once
// Moving settings between stored profiles and the adapter: applying a profile, capturing the
// adapter's settings, and telling whether the adapter still matches the profile in use.

#include <cstdint>
#include <string>

#include "config/DriverParameters.h"
#include "config/Profile.h"
#include "config/ProfileStore.h"
#include "device/CAdapterLink.h"
#include "device/CoreRecords.h"
#include "device/WepConfig.h"
#include "platform/System.h"
#include "text/Messages.h"

namespace linkscope {

// The profile in use and whether the adapter's settings still equal it.
struct ProfileState {
  std::string currentName;
  bool inSync = false;
};

// What a record handed to MatchesProfile holds.
enum class RecordKind : int {
  DeviceConfig = 0,  // 55 bytes
  WepConfig = 1,     // 57 bytes
  Radio = 2,         // one byte
  Roaming = 3,       // one byte
};

// A key text decoded into a 13-byte slot: whole pairs of characters from the start, each read
// as leading hexadecimal digits (a pair starting with anything else gives 0). Bytes past the
// decoded pairs keep what the slot held.
void DecodeKeyText(const std::string& text, std::uint8_t* slot13);
// The first `length` bytes as upper-case hexadecimal pairs.
std::string EncodeKeyBytes(const std::uint8_t* bytes, std::size_t length);

// Whether a record of that kind holds the profile's settings; any other kind matches.
bool RecordMatches(const Profile& profile, int kind, const std::uint8_t* record,
                   std::size_t length);

// The all-settings record a profile stands for.
AllSettings SettingsOfProfile(const Profile& profile);

constexpr const char* kUnusedKeyText = "7E3D91C0A5";

class ProfileApplication {
 public:
  ProfileApplication(CAdapterLink& link, ProfileStore& store, DriverParameters& parameters,
                     const Messages& messages, ISystem& system, ProfileState& state)
      : link_(link),
        store_(store),
        parameters_(parameters),
        messages_(messages),
        system_(system),
        state_(state) {}

  bool ApplyProfile(const std::string& name);
  bool CaptureCurrentSettings(Profile* profile);
  bool MatchesProfile(const std::string& name, int kind, const std::uint8_t* record,
                      std::size_t length);
  bool MatchesAdapter();
  void UpdateProfileInSync(int kind, const std::uint8_t* record, std::size_t length);

  // The pause between the configuration and the WEP record when they go one by one.
  static constexpr std::uint32_t kPieceByPieceWaitMs = 2000;

 private:
  const AdapterEntry* Adapter() const { return link_.CurrentAdapter(); }

  CAdapterLink& link_;
  ProfileStore& store_;
  DriverParameters& parameters_;
  const Messages& messages_;
  ISystem& system_;
  ProfileState& state_;
};

}  // namespace linkscope
