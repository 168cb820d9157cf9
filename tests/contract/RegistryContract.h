#pragma once
// The registry contract, run against the in-memory fake natively and against the real registry
// under Wine. Each test works below a scratch key of HKEY_CURRENT_USER that it owns.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <memory>
#include <string>

#include "platform/Registry.h"

namespace linkscope {

struct RegistryImpl {
  std::string name;
  std::function<std::unique_ptr<IRegistry>()> make;
};

class RegistryContract : public ::testing::TestWithParam<RegistryImpl> {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a value below the scratch key's subkey `path` (created when missing).
  void Put(const std::string& path, const std::string& name, std::uint32_t type,
           const std::string& bytes);

  std::unique_ptr<IRegistry> registry_;
  std::string scratchPath_;
  RegKey scratch_ = 0;
};

inline std::string ImplName(const ::testing::TestParamInfo<RegistryImpl>& info) {
  return info.param.name;
}

inline void PrintTo(const RegistryImpl& impl, std::ostream* os) { *os << impl.name; }

}  // namespace linkscope
