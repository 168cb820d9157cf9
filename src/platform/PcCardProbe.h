#pragma once
// The Windows 9x PC-card service (the "mpstub" virtual device): given a card's identifier it
// names the I/O port of the card, and a word read from that port tells whether the card is
// really in its slot.

#include <cstdint>
#include <string>

namespace linkscope {

class IPcCardProbe {
 public:
  virtual ~IPcCardProbe() = default;

  // Asks the PC-card service for the I/O port of the card with this identifier. False when the
  // service cannot be reached or does not answer with exactly one 16-bit port.
  virtual bool QueryCardPort(const std::string& cardIdentifier, std::uint16_t* port) = 0;
  // Reads one 16-bit word from an I/O port. An empty slot reads as 0xFFFF.
  virtual std::uint16_t ReadPortWord(std::uint16_t port) = 0;
};

}  // namespace linkscope
