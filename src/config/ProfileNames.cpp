#include "config/ProfileNames.h"

#include <cctype>

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
  const std::string builtIn = kDefaultProfileName;
  if (name.size() != builtIn.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(name[i])) !=
        std::toupper(static_cast<unsigned char>(builtIn[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace linkscope
