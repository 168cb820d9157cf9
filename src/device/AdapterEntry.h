#pragma once
// One adapter found by discovery.

#include <array>
#include <cstdint>
#include <string>

#include "platform/RequestLibrary.h"
#include "platform/System.h"

namespace linkscope {

struct AdapterEntry {
  bool valid = false;
  AdapterRegistryInfo registryInfo{};
  // The four-digit decimal text of the index the entry was made from, NUL-terminated.
  std::array<char, 8> indexText{};
  // The name passed to W32N_OpenAdapterA: "\Device\" + service name on the NT family, the
  // class-key instance name on Windows 9x.
  std::string deviceName;
  OsVersion version;

  // The display name, or the alternate one when the first is empty.
  std::string DisplayName() const;
  std::string ServiceName() const;
  std::string IndexText() const;
  void SetIndex(int index);  // "%4.4d"
};

}  // namespace linkscope
