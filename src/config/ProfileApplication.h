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

// The two one-byte settings, each its own type so that a radio byte is never compared as
// roaming or the other way round.
struct RadioSetting {
  std::uint8_t value = 1;  // 0 off, 1 on
};
struct RoamingSetting {
  std::uint8_t value = 0;  // 0 disabled, 1 enabled
};

// A key text decoded into a 13-byte slot: whole pairs of characters from the start, each read
// as leading hexadecimal digits (a pair starting with anything else gives 0). Bytes past the
// decoded pairs keep what the slot held.
void DecodeKeyText(const std::string& text, std::uint8_t* slot13);
// The first `length` bytes as upper-case hexadecimal pairs.
std::string EncodeKeyBytes(const std::uint8_t* bytes, std::size_t length);

// Whether a record holds the profile's settings.
bool RecordMatches(const Profile& profile, const DeviceConfig& config);
bool RecordMatches(const Profile& profile, const WepConfig& wep);
bool RecordMatches(const Profile& profile, RadioSetting radio);
bool RecordMatches(const Profile& profile, RoamingSetting roaming);

// The WEP record a profile stands for.
WepConfig WepOfProfile(const Profile& profile);
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
  // Whether the stored profile `name` holds `record`'s settings; false when there is none.
  template <typename Record>
  bool MatchesProfile(const std::string& name, const Record& record) {
    Profile p;
    return store_.Find(name, &p) && RecordMatches(p, record);
  }
  bool MatchesAdapter();
  // The adapter now holds `record`: a match puts the profile in use in sync again, a
  // difference takes it out of sync, except for the built-in profile, whose flag only a match
  // changes.
  template <typename Record>
  void UpdateProfileInSync(const Record& record) {
    FollowMatch(MatchesProfile(state_.currentName, record));
  }

  // The same after a change made from outside the program: the whole adapter is compared.
  void UpdateProfileInSyncWithAdapter() { FollowMatch(MatchesAdapter()); }

  // The pause between the configuration and the WEP record when they go one by one.
  static constexpr std::uint32_t kPieceByPieceWaitMs = 2000;

 private:
  const AdapterEntry* Adapter() const { return link_.CurrentAdapter(); }
  void FollowMatch(bool matches);

  CAdapterLink& link_;
  ProfileStore& store_;
  DriverParameters& parameters_;
  const Messages& messages_;
  ISystem& system_;
  ProfileState& state_;
};

}  // namespace linkscope
