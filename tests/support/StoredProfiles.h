// What the profile store shows a reader: every stored profile by name, with the ones it cannot
// read marked. Tests that fail registry calls compare this before and after a change.

#pragma once

#include <map>
#include <string>
#include <vector>

#include "config/ProfileStore.h"

namespace linkscope {

using StoredProfiles = std::map<std::string, Profile>;

inline StoredProfiles ObserveStoredProfiles(ProfileStore& store) {
  StoredProfiles seen;
  std::vector<std::string> names;
  if (!store.Names(&names)) return {{"(no list)", Profile()}};
  for (const std::string& name : names) {
    Profile p;
    if (store.Find(name, &p)) seen[name] = p;
    else seen[name + " (unreadable)"] = Profile();
  }
  return seen;
}

}  // namespace linkscope
