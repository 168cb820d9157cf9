#include "config/SubmitParameters.h"

namespace linkscope {

bool WriteLinkParameters(DriverParameters& parameters, const LinkSettings& s) {
  if (s.config == nullptr || !parameters.Open()) return false;
  const DeviceConfig& c = *s.config;
  parameters.WriteNumber("Operating_Mode", c.operatingMode);
  if (c.channel >= 1 && c.channel <= 14) parameters.WriteNumber("Channel", c.channel);
  parameters.WriteText("ESSID", c.SsidBytes());
  parameters.WriteNumber("Rate", c.txRate);
  if (s.roamingSupported) parameters.WriteNumber("InternationalRoaming", s.roaming);
  if (s.radioSupported) parameters.WriteNumber("RadioOnOff", s.radio);
  parameters.Close();
  return true;
}

bool WriteRadioParameters(DriverParameters& parameters, const DeviceConfig& c) {
  if (!parameters.Open()) return false;
  parameters.WriteNumber("PreambleType", c.preamble);
  parameters.WriteNumber("Frag_Threshold", c.fragThreshold);
  parameters.WriteNumber("RTS_Threshold", c.rtsThreshold);
  parameters.WriteNumber("PowerMgmtMode", c.powerSave);
  parameters.Close();
  return true;
}

}  // namespace linkscope
