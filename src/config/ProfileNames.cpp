#include "config/ProfileNames.h"

#include "config/RegistryText.h"

namespace linkscope {

ProfileNameProblem CheckProfileName(const std::string& name) {
  if (name.empty()) return ProfileNameProblem::Empty;
  if (name.size() > kProfileNameLimit) return ProfileNameProblem::TooLong;
  // A zero byte ends a registry key name: the key would be made under a shorter name, or not
  // at all.
  if (name.find('\\') != std::string::npos || name.find('\0') != std::string::npos) {
    return ProfileNameProblem::IllegalCharacter;
  }
  return ProfileNameProblem::None;
}

bool IsDefaultProfileName(const std::string& name) {
  return RegistryNamesEqual(name, kDefaultProfileName);
}

}  // namespace linkscope
