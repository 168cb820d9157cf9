#pragma once
// The real program on a simulated card: a copy of the program's folder beside the test, the
// card installed from an environment file, and no settings of the user's. Every end-to-end test
// of the program starts from here and leaves nothing behind for the next test in the prefix.

#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "config/Profile.h"
#include "win32/ProcessHelpers.h"

namespace linkscope::testing {

class SimulatedCardProgram : public ::testing::Test {
 protected:
  // Copies linkscope.exe, W32N50.dll, adapterinstall.exe, res\Wlan.ini and `extra` into the
  // folder `name`, writes `environment` as the card's environment file and installs the card.
  // The copied programs see Windows `version` ("win2k", "winxp"; nullptr: the prefix's own).
  // Call it through ASSERT_NO_FATAL_FAILURE.
  void Install(const std::string& name, const std::string& environment,
               const char* version = "win2k", std::initializer_list<const char*> extra = {});
  // Ends the program if it still runs, removes the card, and forgets the user's settings and
  // the Windows versions. A fixture that starts more overrides it and calls it last.
  void TearDown() override;

  // Starts the program and waits until its icon shows that it found the card: its hidden main
  // window, or nullptr.
  HWND StartProgram(Process* process);
  HWND StartProgram() { return main_ = StartProgram(&program_); }
  // Double-clicks the icon until the settings dialog is there; nullptr after the patience.
  HWND OpenDialog();
  // Exit on the dialog, and waits for it to go.
  void CloseDialog();
  // Stores a profile through the program's own store, before the program starts; `inUse`
  // makes it the profile in use.
  static bool StoreProfile(const Profile& profile, bool inUse = false);

  std::string folder_;
  std::string environment_;  // the environment file's path
  Process program_;
  HWND main_ = nullptr;
  HWND dialog_ = nullptr;

 private:
  std::vector<std::string> versioned_;
};

}  // namespace linkscope::testing
