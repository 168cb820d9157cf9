#include "ui/CProfilesPage.h"

#include <cstdint>
#include <string>
#include <vector>

#include "config/ProfileNames.h"
#include "config/RegistryText.h"
#include "platform/DialogSystem.h"
#include "text/AccessKeys.h"
#include "ui/DialogLayouts.h"

namespace linkscope {

namespace {

constexpr std::size_t kPreviewLabelWidth = 16;

// "%s '%s' %s", put together without a format string: the parts come from the language file
// and the registry.
std::string Quoted(const std::string& before, const std::string& name, const std::string& after) {
  return before + " '" + name + "' " + after;
}

std::string OffOn(std::int32_t v) { return v == 0 ? "Off" : v == 1 ? "On" : "N/A"; }

}  // namespace

std::string ProfilePreviewText(const Profile& p, const LanguageTable& language) {
  // The labels share their keys with the other pages' labels, whose access keys mean
  // nothing here.
  auto label = [&](const char* key, const char* defaultText) {
    return WithoutAccessKeys(language.Lookup(key, defaultText));
  };
  auto cut = [&](const char* key, const char* defaultText) {
    return label(key, defaultText).substr(0, kPreviewLabelWidth);
  };
  auto pick = [&](std::int32_t v, std::initializer_list<std::pair<const char*, const char*>> texts) {
    if (v < 0 || static_cast<std::size_t>(v) >= texts.size()) return std::string("N/A");
    const auto& t = *(texts.begin() + v);
    return label(t.first, t.second);
  };
  const std::string mode = p.mode == 0   ? label("AdHoc", "Ad-Hoc")
                           : p.mode == 1 ? label("Infrastructure", "Infrastructure")
                                         : std::string("N/A");
  const std::string rate = pick(p.rate, {{"1Mbps", "Fixed 1 Mbps"},
                                         {"2Mbps", "Fixed 2 Mbps"},
                                         {"55Mbps", "Fixed 5.5 Mbps"},
                                         {"11Mbps", "Fixed 11 Mbps"},
                                         {"Auto", "Auto"}});
  const std::string enc =
      pick(p.enc, {{"WEPDisabled", "Disabled"}, {"WEP64Bit\t", "64 Bit"}, {"WEP128Bit", "128 Bit"}});
  const std::string auth = pick(p.auth, {{"AythTypeOpenSystem", "Open System"},
                                         {"AythTypeSharedKey", "Shared Key"},
                                         {"AythTypeAuto", "Auto"}});
  const std::string preamble = p.preamble == 0   ? "Long"
                               : p.preamble == 1 ? "Short"
                               : p.preamble == 2 ? "AUTO"
                                                 : "N/A";
  const std::string wepMode =
      pick(p.wepmode, {{"WEPModeMandatory", "Mandatory"}, {"WEPModeOptional", "Optional"}});

  std::string t;
  t += label("SSID", "&SSID") + ":\t\t" + p.ssid + "\r\n";
  t += "Mode:\t\t" + mode + "\r\n";
  t += label("Channel", "C&hannel") + ":\t\t" + std::to_string(p.channel) + "\r\n";
  t += label("TxRate", "&Tx Rate") + ": \t\t" + rate + "\r\n";
  t += cut("PowerSave", "802.11 Power Save") + ":\t" + OffOn(p.power) + "\r\n";
  t += cut("EncryptionLevel", "Encryption Level") + ":\t" + enc + "\r\n";
  t += cut("AuthenticationType", "&Authentication Type") + ":\t" + auth + "\r\n";
  t += label("Radio", "Ra&dio") + ":\t\t" + OffOn(p.radio) + "\r\n";
  t += label("InternationalRoaming", "Int. &Roaming") + ":\t" + OffOn(p.roaming) + "\r\n";
  t += label("PreambleType", "&Preamble Type") + ":\t" + preamble + "\r\n";
  t += cut("FragThresh", "&Fragmentation Threshold") + ":\t" + std::to_string(p.frag) + "\r\n";
  t += cut("RTSThresh", "&RTS/CTS Threshold") + ":\t" + std::to_string(p.rts) + "\r\n";
  t += label("WEPMode", "WEP Mode") + ":\t" + wepMode + "\r\n";
  // Counted from 1; the stored number may be any 32-bit value.
  t += label("WEPKeyToUse", "WEP Key to use") + ":\t" +
       std::to_string(static_cast<std::int64_t>(p.key) + 1);
  return t;
}

CProfilesPage::CProfilesPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kProfilesPageId, services, host) {}

std::string CProfilesPage::Text(const char* key, const char* defaultText) const {
  return Services().language.Lookup(key, defaultText);
}

bool CProfilesPage::ConfiguredByWindows() const {
  return Services().link.configuredByWindows != 0;
}

bool CProfilesPage::InWizard() const {
  return IsShown() && Items()->IsVisible(kIdName);
}

void CProfilesPage::OnCreatePage() {
  IDialogItems& items = *Items();
  SetLayoutTexts();
  items.EditLimitText(kIdName, kNameLimit);

  ShowCurrentProfileInfo();
  if (ConfiguredByWindows()) {
    SetInfoText(Text("InfoCardConfiguredByXP",
                     "Profile management is disabled because current settings are configured "
                     "by Windows"));
    EnableCommands(false);
  } else {
    EnableCommands(true);
    FillList();
  }
}

void CProfilesPage::FillList() {
  if (!IsShown()) return;
  IDialogItems& items = *Items();
  const ProfileState& state = Services().profileState;
  items.ListReset(kIdList);
  std::vector<std::string> names;
  Services().profiles.Names(&names);
  int selected = -1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string text = names[i];
    if (names[i] == state.currentName) {
      text += " (in use)";
      selected = static_cast<int>(i);
    }
    items.ListAdd(kIdList, text);
  }
  items.ListSelect(kIdList, selected);
  if (ShowPreview(selected) && ApplyCommandStates(selected)) ShowCurrentProfileInfo();
  Host().FillProfileSelector();
}

void CProfilesPage::ShowChange(WindowLife::Token window) {
  if (Life().StillAlive(window)) {
    FillList();
  } else {
    Host().FillProfileSelector();
  }
}

bool CProfilesPage::ApplyCommandStates(int index) {
  const WindowLife::Token window = Life().Mark();
  // With no profile selected (the profile in use is not stored) there is nothing to save
  // over, delete or rename.
  const std::string name = index >= 0 ? SelectedName() : std::string();
  if (!Life().StillAlive(window)) return false;
  IDialogItems& items = *Items();
  const bool none = name.empty();
  const bool isDefault = IsDefaultProfileName(name);
  const bool locked = ConfiguredByWindows();
  items.Enable(kIdSave, !none && !isDefault && !locked && !Services().profileState.inSync);
  items.Enable(kIdDelete, !none && !isDefault && !locked);
  items.Enable(kIdRename, !none && !isDefault && !locked);
  return true;
}

std::string CProfilesPage::SelectedName() {
  const int index = Items()->ListSelection(kIdList);
  if (index < 0 || index >= Items()->ListCount(kIdList)) return std::string();
  return Services().profiles.NameAt(index);
}

bool CProfilesPage::ShowPreview(int index) {
  const WindowLife::Token window = Life().Mark();
  Profile profile;
  const bool loaded = index >= 0 && Services().profiles.Load(index, &profile);
  if (!Life().StillAlive(window)) return false;
  IDialogItems& items = *Items();
  // No selection previews nothing: an empty preview is not left looking like a profile.
  if (!loaded) {
    ClearPreview();
    return true;
  }
  items.SetText(kIdPreviewGroup, Text("PreviewCaption", "Preview of:") + " '" + profile.name + "'");
  items.SetText(kIdPreview, ProfilePreviewText(profile, Services().language));
  items.Show(kIdPreview, true);
  return true;
}

void CProfilesPage::ClearPreview() {
  IDialogItems& items = *Items();
  items.SetText(kIdPreviewGroup, "Preview");
  items.SetText(kIdPreview, "");
  items.Show(kIdPreview, false);
}

void CProfilesPage::ShowCurrentProfileInfo() {
  const std::string& current = Services().profileState.currentName;
  if (IsDefaultProfileName(current)) {
    SetInfoText(Quoted(Text("InfoCurrentProfileIsDefault1", "Your current profile is"),
                       kDefaultProfileName,
                       Text("InfoCurrentProfileIsDefault2",
                            "and it is read-only.\r\nUse the 'New' command on the left to "
                            "create a custom profile.")));
  } else {
    SetInfoText(Quoted(Text("InfoCurrentProfileIsNOTDefault1", "Your current profile is"), current,
                       Text("InfoCurrentProfileIsNOTDefault2",
                            ".\r\nUse commands on the left to manage this profile or to create "
                            "a new one.")));
  }
}

void CProfilesPage::SetInfoText(const std::string& text) { Items()->SetText(kIdInfo, text); }

void CProfilesPage::EnableCommands(bool enable) {
  IDialogItems& items = *Items();
  for (int id : {kIdNew, kIdSave, kIdDelete, kIdRename}) items.Enable(id, enable);
}

void CProfilesPage::ShowWizard(bool show) {
  IDialogItems& items = *Items();
  for (int id : {kIdConfirm, kIdWizardCancel, kIdName}) items.Show(id, show);
}

void CProfilesPage::OnSelChange() {
  IDialogItems& items = *Items();
  const int index = items.ListSelection(kIdList);
  if (!ShowPreview(index) || !ApplyCommandStates(index)) return;
  if (index >= 0) {
    const WindowLife::Token window = Life().Mark();
    const std::string name = SelectedName();
    if (!Life().StillAlive(window)) return;
    const std::string& current = Services().profileState.currentName;
    if (name != current) {
      SetInfoText("'" + name + "' " +
                  Text("InfoIsNotSelected",
                       "is NOT your current profile. To load this profile select it from the "
                       "Profile list on the top."));
    } else {
      SetInfoText(Quoted(Text("InfoCurrentProfileIsNOTDefault1", "Your current profile is"),
                         current,
                         Text("InfoCurrentProfileIsNOTDefault2",
                              ".Use commands on the left to manage this profile or to create a "
                              "new one.")));
    }
  }
  ShowWizard(false);
}

bool CProfilesPage::ValidateName(const std::string& name) {
  const Messages& messages = Services().messages;
  switch (CheckProfileName(name)) {
    case ProfileNameProblem::Empty:
      messages.Show("ErrorProfileNameEmpty", "Please specify a profile name");
      return false;
    case ProfileNameProblem::TooLong:
      messages.Show("ErrorProfileNameLength", "The field must not exceed 15 characters");
      return false;
    case ProfileNameProblem::IllegalCharacter:
      messages.Show("ErrorProfileNameInvalidChars", "The field contains illegal characters");
      return false;
    case ProfileNameProblem::None:
      break;
  }
  return true;
}

void CProfilesPage::OnNew() { OpenWizard(WizardMode::Create); }

void CProfilesPage::OnRename() {
  // Only a stored profile other than Default can be renamed.
  const WindowLife::Token window = Life().Mark();
  const std::string name = SelectedName();
  if (name.empty() || IsDefaultProfileName(name) || !Life().StillAlive(window)) return;
  OpenWizard(WizardMode::Rename);
}

void CProfilesPage::OpenWizard(WizardMode mode) {
  if (ConfiguredByWindows()) return;
  IDialogItems& items = *Items();
  wizardMode_ = mode;
  EnableCommands(false);
  if (mode == WizardMode::Create) {
    items.SetText(kIdConfirm, Text("SecondaryButtonCaptionWhileNewProfile", "Create"));
  } else {
    items.SetText(kIdConfirm, Text("SecondaryButtonCaptionWhileRename", "Rename"));
  }
  ShowWizard(true);
  items.Enable(kIdList, false);
  if (mode == WizardMode::Create) {
    SetInfoText(Text("WizardTextWhileNewProfile", "Type the name of the new profile:"));
  } else {
    SetInfoText(
        Text("SecondaryButtonCaptionWhileRename", "Type the new name for the existing profile:"));
  }
  items.SetText(kIdName, "");
  items.Focus(kIdName);
}

void CProfilesPage::OnWizardConfirm() {
  IDialogItems& items = *Items();
  if (!items.IsVisible(kIdName)) return;
  const WindowLife::Token window = Life().Mark();
  const std::string name = items.Text(kIdName);
  if (!ValidateName(name)) {
    // The message box has run the message loop: the page may be gone meanwhile.
    if (Life().StillAlive(window)) items.Focus(kIdName);
    return;
  }
  ProfileStore& store = Services().profiles;
  ProfileState& state = Services().profileState;
  const Messages& messages = Services().messages;
  Profile existing;

  if (wizardMode_ == WizardMode::Create) {
    if (IsDefaultProfileName(name)) {
      items.Focus(kIdName);
      messages.Show("ErrorCannotCreateDefaultProfile ",
                    "This name conflicts with default profile. Please specify a different name.");
      return;
    }
    if (store.Find(name, &existing)) {
      items.Focus(kIdName);
      messages.Show("ErrorCannotCreateExistingProfile",
                    "This name conflicts with another profile. Please specify a different name");
      return;
    }
    Profile profile;
    if (!Services().profileApplication.CaptureCurrentSettings(&profile)) {
      // Said, rather than closing the wizard as if the profile had been made.
      messages.Show("ErrorCannotRetrieveSettings", "Cannot retrieve current settings");
    } else {
      profile.name = name;
      // The lookup above also fails when the registry does: the store then finds the name
      // taken and asks before saving over it. A save that fails or is refused changes
      // nothing, so whatever bears the name now is a profile that was there before.
      if (store.Save(profile, true)) {
        state.currentName = name;
        state.inSync = true;
      } else {
        messages.Show("ErrorCreateProfile", "Could not create profile");
      }
    }
  } else {
    const std::string old = SelectedName();
    if (!Life().StillAlive(window)) return;
    if (store.Find(name, &existing)) {
      items.Focus(kIdName);
      messages.Show("ErrorProfileExists",
                    "The name specified conflicts with an existing profile name.\r\n\r\nPlease "
                    "type another name for your profile.");
      return;
    }
    // Without a stored profile selected there is nothing to rename: an empty old name would
    // stand for the profiles key itself.
    if (!old.empty() && !IsDefaultProfileName(old)) {
      if (store.Rename(old, name)) {
        if (RegistryNamesEqual(old, state.currentName)) state.currentName = name;
      } else {
        messages.Show("ErrorProfileRename", "Could not rename profile");
      }
    }
  }
  // The store may have asked or told in a box, under which the page may have gone.
  if (!Life().StillAlive(window)) {
    Host().FillProfileSelector();
    return;
  }
  CloseWizard();
}

void CProfilesPage::CloseWizard() {
  if (!IsShown()) return;
  ShowWizard(false);
  EnableCommands(!ConfiguredByWindows());
  Items()->Enable(kIdList, true);
  FillList();
  ShowCurrentProfileInfo();
}

void CProfilesPage::OnWizardCancel() { CloseWizard(); }

bool CProfilesPage::Ask(const std::string& text, const char* captionKey,
                        const char* captionDefault) {
  return Services().windows.ShowMessage(Host().DialogWindow(), text,
                                        Text(captionKey, captionDefault),
                                        kMbYesNo | kMbIconQuestion | kMbDefButton2) == kIdYes;
}

void CProfilesPage::OnSave() {
  const WindowLife::Token window = Life().Mark();
  const int index = Items()->ListSelection(kIdList);
  const std::string name = SelectedName();
  if (name.empty() || IsDefaultProfileName(name) || !Life().StillAlive(window)) return;
  if (!Ask(Quoted(Text("QuestionConfirmOverwrite1", "Are you sure you want to overwrite "), name,
                  Text("QuestionConfirmOverwrite2", "with current settings?")),
           "QuestionConfirmOverwriteCaption", "Overwrite profile?") ||
      !Life().StillAlive(window)) {
    return;
  }
  ProfileState& state = Services().profileState;
  ProfileStore& store = Services().profiles;
  Profile profile;
  if (Services().profileApplication.CaptureCurrentSettings(&profile)) {
    profile.name = name;
    // A save that fails changes nothing (the store has said why): the profile keeps its values.
    if (store.Save(profile, false)) {
      // The adapter now equals the profile just saved; that says something about the profile
      // in use only when it is the one saved.
      if (RegistryNamesEqual(name, state.currentName)) state.inSync = true;
      if (Life().StillAlive(window)) ShowPreview(index);
    }
  } else {
    Services().messages.Show("ErrorCannotRetrieveSettings", "Cannot retrieve current settings");
  }
  ShowChange(window);
}

void CProfilesPage::OnDelete() {
  const WindowLife::Token window = Life().Mark();
  const std::string name = SelectedName();
  if (name.empty() || IsDefaultProfileName(name) || !Life().StillAlive(window)) return;
  if (!Ask(Text("QuestionConfirmDelete", "Are you sure you want to delete profile") + " '" + name +
               "'?",
           "QuestionConfirmDeleteCaption", "Delete profile?") ||
      !Life().StillAlive(window)) {
    return;
  }
  ProfileState& state = Services().profileState;
  if (!Services().profiles.Delete(name)) {
    Services().messages.Show("ErrorFailedDelete", "Failed to delete profile");
    return;
  }
  // The profile in use is gone: Default takes its place, on the adapter too. Registry names
  // ignore letter case, so "home" in use is the stored "Home".
  if (RegistryNamesEqual(name, state.currentName)) {
    state.currentName = kDefaultProfileName;
    Services().adapterSettings.ApplyProfile(kDefaultProfileName);
  }
  ShowChange(window);
}

void CProfilesPage::OnCommand(int id, int code) {
  if (!IsShown()) return;
  if (id == kIdList && code == kLbnSelChange) {
    OnSelChange();
  } else if (code == kBnClicked) {
    switch (id) {
      case kIdNew: OnNew(); break;
      case kIdSave: OnSave(); break;
      case kIdDelete: OnDelete(); break;
      case kIdRename: OnRename(); break;
      case kIdConfirm: OnWizardConfirm(); break;
      case kIdWizardCancel: OnWizardCancel(); break;
      default: break;
    }
  }
}

void CProfilesPage::OnOk() {
  if (InWizard()) OnWizardConfirm();
}

void CProfilesPage::OnCancel() {
  if (InWizard()) {
    OnWizardCancel();
    return;
  }
  CLayoutPage::OnCancel();
}

void CProfilesPage::ApplyWindowsConfiguration(bool configuredByWindows) {
  if (!IsShown()) return;
  if (configuredByWindows) {
    if (InWizard()) {
      ShowWizard(false);
      Items()->Enable(kIdList, true);
    }
    SetInfoText(Text("InfoCardConfiguredByXP",
                     "Profile management is disabled because current settings are configured "
                     "by Windows"));
    EnableCommands(false);
  } else {
    EnableCommands(true);
    // The command states follow the selection again (Default stays read-only).
    FillList();
  }
}

}  // namespace linkscope
