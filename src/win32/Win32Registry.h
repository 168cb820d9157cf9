#pragma once
#include "platform/Registry.h"

namespace linkscope {

// The real registry, one Win32 call per method.
class Win32Registry : public IRegistry {
 public:
  long OpenKey(RegKey parent, const std::string& subKey, RegAccess access, RegKey* key) override;
  long CreateKey(RegKey parent, const std::string& subKey, RegKey* key) override;
  long CloseKey(RegKey key) override;
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
  long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                 std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) override;
  long QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) override;
  long QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* dataSize) override;
  long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override;
  long DeleteValue(RegKey key, const std::string& name) override;
  long DeleteKey(RegKey parent, const std::string& subKey) override;
  long DeleteTree(RegKey parent, const std::string& subKey) override;
};

}  // namespace linkscope
