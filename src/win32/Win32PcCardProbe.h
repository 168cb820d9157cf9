#pragma once
#include "platform/PcCardProbe.h"

namespace linkscope {

// The Windows 9x PC-card service "\\.\mpstub.vxd". Under Wine (and on any NT system) the
// device does not exist, so no PC card is ever found present there.
class Win32PcCardProbe : public IPcCardProbe {
 public:
  bool QueryCardPort(const std::string& cardIdentifier, std::uint16_t* port) override;
  std::uint16_t ReadPortWord(std::uint16_t port) override;
};

}  // namespace linkscope
