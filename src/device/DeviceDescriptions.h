#pragma once
// The adapter descriptions the program serves when the customisation file names none.

#include <string>
#include <vector>

namespace linkscope {

// The sixteen built-in descriptions, in the order discovery compares them.
std::vector<std::string> BuiltInDeviceDescriptions();

}  // namespace linkscope
