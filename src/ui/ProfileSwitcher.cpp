#include "ui/ProfileSwitcher.h"

namespace linkscope {

bool ProfileSwitcher::SwitchProfile(int index, ISettingsDialogHooks* dialog) {
  const bool dialogOpen = dialog != nullptr && dialog->IsOpen();
  if (dialogOpen && dialog->SurveyRunning()) {
    messages_.Show("ErrorSwitchWhileRescan", "Cannot switch profile while Re-Scan");
    return false;
  }
  if (link_.GetOsKind() == OsKind::WinXP && link_.configuredByWindows != 0) {
    messages_.Show("ErrorSwitchWhileConfigurationByXP",
                   "Cannot switch profile while card is configured by Windows.");
    return false;
  }
  const std::string name = profiles_.NameAt(index);
  // NameAt has already said why a name could not be read; there is nothing to apply then.
  if (name.empty()) return true;
  if (application_.ApplyProfile(name) && dialogOpen) {
    dialog->FillProfileSelector();
    dialog->SelectStatusPage();
  }
  return true;
}

}  // namespace linkscope
