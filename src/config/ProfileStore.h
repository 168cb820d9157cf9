#pragma once
// The named profiles, one registry subkey each below the program's per-user key, and the name
// of the profile last in use. Nothing is kept in memory: every operation opens and closes its
// keys.

#include <string>
#include <vector>

#include "config/Profile.h"
#include "platform/Registry.h"
#include "text/Messages.h"

namespace linkscope {

class ProfileStore {
 public:
  ProfileStore(IRegistry& registry, const Messages& messages)
      : registry_(registry), messages_(messages) {}

  // Number of profiles; -1 when the profiles key cannot be opened or closed.
  int Count();
  // The name at an enumeration index; empty (after a message) on failure.
  std::string NameAt(int index);
  // All profile names in enumeration order, read in one pass; false when the profiles key
  // cannot be opened or closed.
  bool Names(std::vector<std::string>* names);
  bool Load(int index, Profile* profile);
  // The first profile whose name equals `name` ignoring letter case.
  bool Find(const std::string& name, Profile* profile);
  bool Save(const Profile& profile, bool askOverwrite);
  bool Delete(const std::string& name);
  bool Rename(const std::string& oldName, const std::string& newName);
  std::string ReadLastProfile();
  bool WriteLastProfile(const std::string& name);

  // Whether a name can be a profile: not empty, and no backslash (which would make it a path
  // of nested keys).
  static bool IsStorableName(const std::string& name);

  static constexpr const char* kProfilesKey = "Software\\ORVEX\\Linkscope\\Profiles";
  static constexpr const char* kLastProfileValue = "LastProfile";

 private:
  enum class NameStep { Ok, OpenFailed, NotFound, CloseFailed };
  NameStep ReadNameAt(int index, std::string* name);
  void ReportNameStep(NameStep step);
  bool LoadValues(const std::string& name, Profile* profile);
  bool CopyKey(RegKey from, RegKey to);

  IRegistry& registry_;
  const Messages& messages_;
};

}  // namespace linkscope
