#pragma once
// The private-profile contract: the same files read by the fake natively and by the platform's
// own functions under Wine must give the same answers.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <memory>
#include <string>

#include "platform/PrivateProfile.h"

namespace linkscope {

// Where a test's files live: in memory for the fake, in a temporary folder for the real thing.
class IniWorld {
 public:
  virtual ~IniWorld() = default;
  virtual IPrivateProfile& Profile() = 0;
  // Creates (or replaces) a file with exactly these bytes; returns the path to read it by.
  virtual std::string WriteFile(const std::string& name, const std::string& content) = 0;
  // A path in the same place where no file exists.
  virtual std::string MissingPath() = 0;
};

struct PrivateProfileImpl {
  std::string name;
  std::function<std::unique_ptr<IniWorld>()> make;
};

class PrivateProfileContract : public ::testing::TestWithParam<PrivateProfileImpl> {
 protected:
  void SetUp() override { world_ = GetParam().make(); }

  // The value as read with a buffer of `size` bytes.
  std::string Get(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& def = "<default>", std::uint32_t size = 2000);

  std::unique_ptr<IniWorld> world_;
};

inline std::string IniImplName(const ::testing::TestParamInfo<PrivateProfileImpl>& info) {
  return info.param.name;
}

inline void PrintTo(const PrivateProfileImpl& impl, std::ostream* os) { *os << impl.name; }

}  // namespace linkscope
