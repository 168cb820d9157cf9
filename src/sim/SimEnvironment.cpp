#include "sim/SimEnvironment.h"

#include <cctype>
#include <cstdio>

namespace linkscope::sim {

std::string SimAdapterSetup::InstanceId() const {
  if (!instanceId.empty()) return instanceId;
  // A stable identifier per service name (FNV-1a), so that every process and the installer
  // derive the same one.
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (char c : serviceName) {
    h ^= static_cast<std::uint8_t>(std::toupper(static_cast<unsigned char>(c)));
    h *= 0x100000001b3ull;
  }
  char text[40];
  std::snprintf(text, sizeof text, "{5A1D%04X-%04X-4000-8000-%012llX}",
                static_cast<unsigned>(h >> 48), static_cast<unsigned>((h >> 32) & 0xFFFF),
                static_cast<unsigned long long>(h & 0xFFFFFFFFFFFFull));
  return text;
}

}  // namespace linkscope::sim
