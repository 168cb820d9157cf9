#pragma once
// What the polling tick asks of the settings dialog while it is open. The main frame holds one
// of these; with none (or a closed dialog) the tick's dialog steps are skipped.

#include <cstdint>

#include "device/CoreRecords.h"

namespace linkscope {

class ISettingsDialogHooks {
 public:
  virtual ~ISettingsDialogHooks() = default;

  virtual bool IsOpen() const = 0;
  // Opens the dialog (a modal loop that returns when it closes), on the Info page or the
  // Status page.
  virtual void Open(bool onInfoPage) = 0;
  virtual void BringToFront() = 0;
  virtual void ShowInfoPage() = 0;
  // After a language change: new texts on the frame and the current page built anew.
  virtual void Relabel() = 0;
  // Applies the profile at `index` of the store's list unless the dialog refuses the switch;
  // the tray menu switches through it too, open or closed.
  virtual bool SwitchProfile(int index) = 0;
  // A site survey is running on the Site Survey page.
  virtual bool SurveyRunning() const = 0;
  // Closes the dialog as its Exit button does.
  virtual void Close() = 0;
  // Refills the profile selector (a "*" marks a profile the adapter no longer matches).
  virtual void FillProfileSelector() = 0;
  // Refills the adapter selector after a new discovery.
  virtual void FillAdapterSelector() = 0;
  // Locks or unlocks the settings controls for the Windows-configuration state.
  virtual void ApplyWindowsConfigurationState() = 0;
  virtual void SelectStatusPage() = 0;
  // The Status page built anew even when it is the page shown, so that it reads what was just
  // applied.
  virtual void RebuildStatusPage() { SelectStatusPage(); }
  // The Status, Statistics and Info pages refresh on every tick; the others do not.
  virtual void RefreshCurrentPage() = 0;
  // The configuration record the page read in the refresh just made, when it read one (the
  // Status page does); the tick uses it rather than asking the driver a second time.
  virtual bool TickRecord(DeviceConfig* /*config*/) const { return false; }
  // The adapter is going away: a running site survey counts as finished.
  virtual void MarkSurveyFinished() = 0;
};

}  // namespace linkscope
