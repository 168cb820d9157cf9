// The stored profile tests apply, save and compare: an infrastructure network with 64-bit WEP
// and the first two keys set, otherwise the built-in profile's settings with open-system
// authentication.

#pragma once

#include <cstdint>
#include <string>

#include "config/Profile.h"

namespace linkscope {

inline Profile SampleProfile(const std::string& name = "Harbour",
                             const std::string& ssid = "Harbour", std::int32_t channel = 1) {
  Profile p;
  p.name = name;
  p.ssid = ssid;
  p.mode = 1;
  p.channel = channel;
  p.rate = 4;
  p.preamble = 2;
  p.frag = 2346;
  p.rts = 2347;
  p.enc = 1;
  p.keys = {"0102030405", "A1B2C3D4E5", "7E3D91C0A5", "7E3D91C0A5"};
  p.radio = 1;
  return p;
}

}  // namespace linkscope
