#include "device/DeviceDescriptions.h"

namespace linkscope {

std::vector<std::string> BuiltInDeviceDescriptions() {
  return {
      "ORVEX PCMCIA Skyrelay (K1)",   "ORVEX PCMCIA Skyrelay (K2)",
      "ORVEX Skyrelay Card",          "ORVEX USB Skyrelay (U1)",
      "ORVEX PCMCIA Skyrelay-X (K1)", "ORVEX PCMCIA Skyrelay-X (K2)",
      "ORVEX Skyrelay Card (X)",      "ORVEX USB Skyrelay (U2)",
      "ORVEX USB Skyrelay (U3)",      "ORVEX PCI Skyrelay",
      "ORVEX USB Skyrelay (U4)",      "ORVEX PCMCIA Skyrelay (K3)",
      "ORVEX PCMCIA Skyrelay (K4)",   "ORVEX PCMCIA Skyrelay (K5)",
      "ORVEX PCMCIA Skyrelay (K6)",   "ORVEX PCMCIA Skyrelay (K7)",
  };
}

}  // namespace linkscope
