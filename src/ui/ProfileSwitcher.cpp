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
  const bool applied = !name.empty() && application_.ApplyProfile(name);
  // Both tell of a failure in a box, under which the dialog may have closed: it is asked again.
  if (dialog != nullptr && dialog->IsOpen()) {
    // The selector shows the profile in use: the one applied, or after a failure the one that
    // was in use before, not the one picked.
    dialog->FillProfileSelector();
    if (applied) dialog->SelectStatusPage();
  }
  return true;
}

}  // namespace linkscope
