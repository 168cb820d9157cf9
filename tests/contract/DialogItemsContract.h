#pragma once
// The dialog contract: dialogs and pages built from a layout, their controls read and changed
// by id with the real controls' rules, and the user's actions delivered to the handler.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/DialogSystem.h"

namespace linkscope {

// One implementation of the dialogs, with what a test needs besides the interface: a window
// to put pages in and the user's hands.
class DialogWorld {
 public:
  virtual ~DialogWorld() = default;
  virtual IDialogSystem& Dialogs() = 0;
  // A window pages can be created in; it never shows.
  virtual WindowHandle Host() = 0;
  // The user types into an edit box, key by key.
  virtual void Type(WindowHandle dialog, int id, const std::string& text) = 0;
  // The user clicks a button.
  virtual void Click(WindowHandle dialog, int id) = 0;
  // The path of a bitmap file that loads (a world without one skips the image rules).
  virtual std::string BitmapFile() { return ""; }
};

struct DialogWorldImpl {
  std::string name;
  std::function<std::unique_ptr<DialogWorld>()> make;
};

class DialogItemsContract : public ::testing::TestWithParam<DialogWorldImpl> {
 protected:
  void SetUp() override { world_ = GetParam().make(); }
  std::unique_ptr<DialogWorld> world_;
};

inline std::string DialogWorldName(const ::testing::TestParamInfo<DialogWorldImpl>& info) {
  return info.param.name;
}

inline void PrintTo(const DialogWorldImpl& impl, std::ostream* os) { *os << impl.name; }

}  // namespace linkscope
