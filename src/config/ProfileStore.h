#pragma once
// The named profiles, one registry subkey each below the program's per-user key, and the name
// of the profile last in use. Nothing is kept in memory: every operation opens and closes its
// keys.
//
// A save or a rename never changes a profile in place. It writes the profile's new form
// complete into a key beside the profiles key, where the list never looks, and commits it with
// one value naming the profile it replaces and the one it removes; only then is the profile
// key replaced. A committed change that could not be finished (the registry failed part-way)
// is finished by the next operation of the store before it reads or writes anything, so every
// profile is seen either as it was or complete in its new form. A commit that can never be
// finished (longer than any this program writes, or naming a key the registry refuses) is
// dropped, and the profiles stay as they are.

#include <functional>
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
  // A value missing from the profile loads as -1 or "ERROR"; a value the registry refuses to
  // hand over fails the load (and Find), so that no half-read profile is used.
  bool Load(int index, Profile* profile);
  // The first profile whose name equals `name` ignoring letter case.
  bool Find(const std::string& name, Profile* profile);
  bool Save(const Profile& profile, bool askOverwrite);
  bool Delete(const std::string& name);
  bool Rename(const std::string& oldName, const std::string& newName);
  std::string ReadLastProfile();
  bool WriteLastProfile(const std::string& name);

  // Whether a name can be a profile: not empty, no backslash (which would make it a path of
  // nested keys), and short enough for a registry key name (at most 255 characters).
  static bool IsStorableName(const std::string& name);

  static constexpr const char* kProfilesKey = "Software\\ORVEX\\Linkscope\\Profiles";
  static constexpr const char* kLastProfileValue = "LastProfile";
  // Beside the profiles key: a change being written, and once committed its value "Pending".
  static constexpr const char* kChangeKey = "Software\\ORVEX\\Linkscope\\ProfileChange";

 private:
  enum class NameStep { Ok, OpenFailed, NotFound, CloseFailed };
  NameStep ReadNameAt(int index, std::string* name);
  void ReportNameStep(NameStep step);
  bool LoadValues(RegKey profiles, const std::string& name, Profile* profile);
  bool ListNames(RegKey profiles, std::vector<std::string>* names);
  bool CopyKey(RegKey from, RegKey to);
  // Finishes a committed change that is not yet in place; false when one is left unfinished.
  bool Settle();
  // Writes the new form of `target` (none when empty) through `fill`, commits the change and
  // puts it in place; true once committed.
  bool Change(const std::string& target, const std::string& removed,
              const std::function<bool(RegKey copy)>& fill);
  bool PutInPlace(const std::string& target, const std::string& removed);
  // Ends a change: its commit goes, then the rest of the change key when it can.
  bool Finish();

  IRegistry& registry_;
  const Messages& messages_;
};

}  // namespace linkscope
