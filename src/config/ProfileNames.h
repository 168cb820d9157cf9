#pragma once
// The rules a profile name follows wherever a user types one.

#include <cstddef>
#include <string>

namespace linkscope {

constexpr const char* kDefaultProfileName = "Default";
// A profile name has 15 characters at most.
constexpr std::size_t kProfileNameLimit = 15;

enum class ProfileNameProblem { None, Empty, TooLong, IllegalCharacter };

// Empty, longer than the limit, or holding a backslash (which would make it a path of nested
// registry keys) or a zero byte (which no registry key name can hold).
ProfileNameProblem CheckProfileName(const std::string& name);

// "Default" in any letter case, compared as the profile store compares names.
bool IsDefaultProfileName(const std::string& name);

}  // namespace linkscope
