#pragma once
// The window-system contract for the main window: creation reports to the handler, titles are
// found exactly, destruction reports back.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <memory>
#include <string>

#include "platform/WindowSystem.h"

namespace linkscope {

struct WindowSystemImpl {
  std::string name;
  std::function<std::unique_ptr<IWindowSystem>()> make;
};

class WindowSystemContract : public ::testing::TestWithParam<WindowSystemImpl> {
 protected:
  void SetUp() override { windows_ = GetParam().make(); }
  std::unique_ptr<IWindowSystem> windows_;
};

inline std::string WindowImplName(const ::testing::TestParamInfo<WindowSystemImpl>& info) {
  return info.param.name;
}

inline void PrintTo(const WindowSystemImpl& impl, std::ostream* os) { *os << impl.name; }

}  // namespace linkscope
