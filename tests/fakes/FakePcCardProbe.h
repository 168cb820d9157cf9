#pragma once
// The Windows 9x PC-card service as a table: identifier -> port, port -> word read.

#include <map>
#include <string>
#include <vector>

#include "platform/PcCardProbe.h"

namespace linkscope {

class FakePcCardProbe : public IPcCardProbe {
 public:
  bool QueryCardPort(const std::string& cardIdentifier, std::uint16_t* port) override {
    asked.push_back(cardIdentifier);
    auto it = ports.find(cardIdentifier);
    if (it == ports.end()) return false;
    *port = it->second;
    return true;
  }
  std::uint16_t ReadPortWord(std::uint16_t port) override {
    auto it = words.find(port);
    return it == words.end() ? 0xFFFF : it->second;
  }

  std::map<std::string, std::uint16_t> ports;
  std::map<std::uint16_t, std::uint16_t> words;  // unlisted ports read as an empty slot
  std::vector<std::string> asked;
};

}  // namespace linkscope
