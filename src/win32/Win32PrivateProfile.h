#pragma once
#include "platform/PrivateProfile.h"

namespace linkscope {

class Win32PrivateProfile : public IPrivateProfile {
 public:
  std::uint32_t GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, char* buffer, std::uint32_t size,
                          const std::string& file) override;
  bool CanOpenFile(const std::string& path) override;
};

}  // namespace linkscope
