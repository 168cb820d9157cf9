#pragma once
// The Profiles page: the stored profiles with a preview, and New / Save / Delete / Rename.

#include <string>

#include "config/Profile.h"
#include "config/ProfileNames.h"
#include "ui/CLayoutPage.h"

namespace linkscope {

class LanguageTable;

// The preview of a profile as the page shows it: thirteen tab-aligned lines, the last without
// a line end.
std::string ProfilePreviewText(const Profile& profile, const LanguageTable& language);

class CProfilesPage : public CLayoutPage {
 public:
  CProfilesPage(const SettingsDialogServices& services, IPageHost& host);

  // Control ids of dialog 148.
  static constexpr int kIdList = 1086;
  static constexpr int kIdNew = 1087;
  static constexpr int kIdSave = 1088;
  static constexpr int kIdDelete = 1089;
  static constexpr int kIdRename = 1091;
  static constexpr int kIdPreviewGroup = 1096;
  static constexpr int kIdPreview = 1090;
  static constexpr int kIdInfo = 1093;
  static constexpr int kIdName = 1092;
  static constexpr int kIdConfirm = 1094;
  static constexpr int kIdWizardCancel = 1095;
  // A profile name has 15 characters at most.
  static constexpr int kNameLimit = static_cast<int>(kProfileNameLimit);

  void OnCommand(int id, int code) override;
  // Enter in the wizard confirms the name typed; elsewhere it does nothing.
  void OnOk() override;
  // Escape in the wizard leaves the wizard, as its Cancel does; elsewhere it closes the
  // dialog like on every page.
  void OnCancel() override;
  void ApplyWindowsConfiguration(bool configuredByWindows) override;

  // Refills the list and what depends on it (the profile in use may have changed).
  void FillList();
  bool InWizard() const;

 protected:
  void OnCreatePage() override;

 private:
  enum class WizardMode { Create, Rename };

  void OnSelChange();
  void OnNew();
  void OnRename();
  void OpenWizard(WizardMode mode);
  void OnWizardConfirm();
  void OnWizardCancel();
  void CloseWizard();
  void OnSave();
  void OnDelete();

  // The store tells of a registry failure in a box, under which the page may go: these two and
  // every caller of SelectedName ask afterwards whether the page's window is still there.
  bool ShowPreview(int index);
  void ClearPreview();
  void ShowCurrentProfileInfo();
  void SetInfoText(const std::string& text);
  void EnableCommands(bool enable);
  void ShowWizard(bool show);
  bool ApplyCommandStates(int index);
  // After a change to the store: the page shows it when its window is still the one noted,
  // and the frame's selector in any case.
  void ShowChange(WindowLife::Token window);
  bool ValidateName(const std::string& name);
  // The stored name of the list's selection; empty with none.
  std::string SelectedName();
  bool Ask(const std::string& text, const char* captionKey, const char* captionDefault);
  std::string Text(const char* key, const char* defaultText) const;
  bool ConfiguredByWindows() const;

  WizardMode wizardMode_ = WizardMode::Create;
};

}  // namespace linkscope
