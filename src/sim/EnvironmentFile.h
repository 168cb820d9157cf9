#pragma once
// The environment file: JSON text describing the simulated adapters and networks. The format
// is documented in the README ("The simulated adapter").

#include <cstddef>
#include <string>

#include "sim/SimEnvironment.h"

namespace linkscope::sim {

struct EnvironmentError {
  std::size_t line = 0;  // 1-based; 0 when the error concerns the whole file
  std::string field;     // e.g. "adapters[1].cardType"; empty for a syntax error
  std::string message;

  // "line 12, adapters[1].cardType: must be a number from 0 to 255"
  std::string Describe() const;
};

// Parses and checks the whole text. On failure *out is left as it was and *error says where
// and why. Never throws.
bool ParseEnvironment(const std::string& text, SimEnvironment* out, EnvironmentError* error);

}  // namespace linkscope::sim
