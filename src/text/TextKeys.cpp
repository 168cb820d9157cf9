#include "text/TextKeys.h"

#include <cstring>

namespace linkscope {

void AddTextKey(const TextKey& key, std::vector<TextKey>* keys) {
  for (TextKey& known : *keys) {
    if (std::strcmp(known.key, key.key) != 0) continue;
    const bool otherText = std::strcmp(known.englishDefault, key.englishDefault) != 0;
    if (otherText && known.otherDefault == nullptr) known.otherDefault = key.englishDefault;
    return;
  }
  keys->push_back(key);
}

const std::vector<TextKey>& CodeTextKeys() {
  static const std::vector<TextKey> kKeys = {
      // Start-up and the tray.
      {"TaskBarOkIcon", "", nullptr},
      {"TaskBarNotOkIcon", "", nullptr},
      {"ToolTipText", "Linkscope", nullptr},
      {"DevicePollingTimerMsec", "1000", nullptr},
      {"LogoBmp", "", nullptr},
      {"FailedToSetErrorMessage", "Failed to set parameters", nullptr},
      {"TaskBarMenuLanguage", "Language", nullptr},
      {"TaskBarMenuProfile", "Active Profile", nullptr},
      {"TaskBarMenuAlwaysOnTop", "Always on top", nullptr},
      {"TaskBarMenuSettings", "Settings", nullptr},
      {"TaskBarMenuAbout", "About...", nullptr},
      {"TaskBarMenuExit", "Exit", nullptr},
      {"QuestionSaveChanges1", "You have made changes to your current profile (", nullptr},
      {"QuestionSaveChanges2", ").Would you like to save these changes?", nullptr},
      {"QuestionSaveChangesCaption", "Save changes?", nullptr},
      {"ErrorCannotGetSettings", "Cannot get current settings", nullptr},
      {"ErrorCannotSaveProfile", "Could not save profile", nullptr},
      // Customisation values.
      {"ShowAdaptersList", "1", nullptr},
      {"MaxRssi", "40", nullptr},
      {"MaxRssiRFMD", "100", nullptr},
      {"MaxLinkQuality", "40", nullptr},
      {"MaxLinkQualityRFMD", "100", nullptr},
      {"WEPKeysPasswordChar", "", nullptr},
      // The settings dialog.
      {"Tab1", "Status", nullptr},
      {"Tab2", "Statistics", nullptr},
      {"Tab3", "Site Survey", nullptr},
      {"Tab4", "Encryption", nullptr},
      {"Tab5", "Advanced", nullptr},
      {"Tab6", "Profiles", nullptr},
      {"Tab7", "Info", nullptr},
      {"InfoCardConfiguredByXP",
       "Profile management is disabled because current settings are configured by Windows",
       nullptr},
      {"ErrorSwitchWhileRescan", "Cannot switch profile while Re-Scan", nullptr},
      {"ErrorSwitchWhileConfigurationByXP",
       "Cannot switch profile while card is configured by Windows.", nullptr},
      // Profiles.
      {"ErrorProfileNameEmpty", "Please specify a profile name", nullptr},
      {"QuestionOverwriteProfile", "Profile name exists. Overwrite?", nullptr},
      {"ErrorSavingProfile", "Registry error. Profile saving failed", nullptr},
      {"ErrorGetProfile",
       "WARNING: Cannot find information for this profile.\r\nThis can be due to a failed "
       "previous operation.You can continue normally.",
       nullptr},
      {"ErrorSetDevConfig", "Cannot set device configuration", nullptr},
      {"ErrorSetWepConfig", "Cannot set wep configuration", nullptr},
      {"ErrorNotSavedInRegistry", "Last configuration not saved", nullptr},
      // Status page.
      {"FailedToGetConfigurationErrorMessage ", "Failed to get configuration", nullptr},
      {"AdHoc", "Ad-Hoc", nullptr},
      {"Infrastructure", "Infrastructure", nullptr},
      {"1Mbps", "1 Mbps", "Fixed 1 Mbps"},
      {"2Mbps", "2 Mbps", "Fixed 2 Mbps"},
      {"55Mbps", "5.5 Mbps", "Fixed 5.5 Mbps"},
      {"11Mbps", "11 Mbps", "Fixed 11 Mbps"},
      {"Auto", "Auto", nullptr},
      {"RadioOff", "Off", nullptr},
      {"RadioOn", "On", nullptr},
      {"IntRoamDisabled", "Disabled", nullptr},
      {"IntRoamEnabled", "Enabled", nullptr},
      {"ErrorMessage_C80211_MGMT_SC_AuthAlgNotSupported ",
       "Authentication Error. Check Encryption Settings", nullptr},
      {"ErrorMessage_C80211_MGMT_SC_AuthRejectChallenge",
       "Authentication Error. Check Encryption Settings", nullptr},
      {"ErrorMessage_C80211_MGMT_SC_AssDeniedBSSRate",
       "Association Denied. Check Supported Rates.", nullptr},
      {"ErrorMessage_C80211_MGMT_SC_SupportCapabilities",
       "Association Denied. Check Capabilities.", nullptr},
      {"ErrorMessage_C80211_MGMT_SC_Unspecified", "Association Denied. Unspecified Error.",
       nullptr},
      {"ErrorMessage_C80211_MGMT_SC_ReassDenied", "Re-Association Denied.", nullptr},
      {"ErrorMessage_C80211_MGMT_SC_AssDenied", "Association Denied.", nullptr},
      {"ErrorMessage_C80211_MGMT_SC_AuthTransSeqNumError", "Authentication Error. Lost Sequence.",
       nullptr},
      {"ErrorMessage_C80211_MGMT_SC_AuthRejectTimeout", "Authentication Error. Timeout.", nullptr},
      {"ErrorMessage_C80211_MGMT_SC_AssDeniedHandleAP", "Association Denied. Maximum Capacity.",
       nullptr},
      {"ErrorMessage_WEP_Required", "Enable Encryption to join this BSS", nullptr},
      {"ErrorMessage_WEP_Not_Required", "Disable Encryption to join this BSS", nullptr},
      {"ErrorUnknown", "Management Error", nullptr},
      {"InvalidSSIDErrorMessage", "Invalid SSID (maximum 32 characters)", nullptr},
      {"FailedToSetConfigurationErrorMessage", "Failed to set device configuration", nullptr},
      // Statistics page.
      {"FailedToGetStatisticsErrorMessage", "Failed to get statistics", nullptr},
      {"FailedToResetStatisticsErrorMessage", "Failed to reset statistics", nullptr},
      // Site survey page.
      {"ColumnBSSID", "BSSID", nullptr},
      {"ColumnSSID", "SSID", nullptr},
      {"ColumnSignal", "Signal", nullptr},
      {"ColumnChannel", "Channel", nullptr},
      {"ColumnWEP", "Encryption", nullptr},
      {"ColumnBSStype", "BSS", nullptr},
      {"RssiInfoNotAvailable", "N/A", nullptr},
      // The channel view, its least crowded channel and the repeated survey.
      {"LeastCrowdedChannel", "Least crowded channel:", nullptr},
      {"ChannelLeastCrowded", "(least crowded)", nullptr},
      {"GraphMinutes", "min", nullptr},
      {"SurveyRepeatSeconds", "10", nullptr},
      {"BssUsingWEP", "Yes", nullptr},
      {"BssNotUsingWEP", "No", nullptr},
      {"FailedToCancelSiteSurveyErrorMessage", "Failed to cancel Site Survey", nullptr},
      {"FailedToInitiateSiteSurveyErrorMessage", "Failed to initiate Site Survey", nullptr},
      {"FailedToGetSiteSurveyStateErrorMessage", "Failed to get Site Survey state", nullptr},
      {"FailedToSelectAccessPointErrorMessage", "Failed to select Access Point", nullptr},
      // Encryption page.
      {"WEPModeMandatory", "Mandatory", nullptr},
      {"WEPModeOptional", "Optional", nullptr},
      {"AythTypeOpenSystem", "Open System", nullptr},
      {"AythTypeSharedKey", "Shared Key", nullptr},
      {"AythTypeAuto", "Auto", nullptr},
      {"WEPDisabled", "Disabled", nullptr},
      {"WEP64Bit", "64 Bit", nullptr},
      {"WEP128Bit", "128 Bit", nullptr},
      {"FailedToGetWepInfoErrorMessage", "Failed to get WEP information", nullptr},
      {"FailedToSetWepInfoErrorMessage", "Failed to set WEP information", nullptr},
      {"InvalidWEPkeyMessage", "Invalid WEP Key", nullptr},
      {"InvalidWEPkeyLengthMessage", "Invalid WEP Key length", nullptr},
      // Advanced page.
      {"DisabledIndicationStr", "Disabled", nullptr},
      {"EnabledIndicationStr", "Enabled", nullptr},
      // Profiles page.
      // The preview's names for four settings whose labels on their pages read shorter.
      {"PowerSave", "802.11 Power Save", nullptr},
      {"EncryptionLevel", "Encryption Level", nullptr},
      {"WEPMode", "WEP Mode", nullptr},
      {"WEPKeyToUse", "WEP Key to use", nullptr},
      {"InfoCurrentProfileIsNOTDefault1", "Your current profile is", nullptr},
      {"InfoCurrentProfileIsNOTDefault2",
       ".\r\nUse commands on the left to manage this profile or to create a new one.",
       ".Use commands on the left to manage this profile or to create a new one."},
      {"InfoIsNotSelected",
       "is NOT your current profile. To load this profile select it from the Profile list on the "
       "top.",
       nullptr},
      {"SecondaryButtonCaptionWhileNewProfile", "Create", nullptr},
      {"WizardTextWhileNewProfile", "Type the name of the new profile:", nullptr},
      {"PreviewCaption", "Preview of:", nullptr},
      {"WEP64Bit\t", "64 Bit", nullptr},
      {"ErrorCannotCreateDefaultProfile ",
       "This name conflicts with default profile. Please specify a different name.", nullptr},
      {"ErrorCannotCreateExistingProfile",
       "This name conflicts with another profile. Please specify a different name", nullptr},
      {"ErrorCreateProfile", "Could not create profile", nullptr},
      {"ErrorProfileExists",
       "The name specified conflicts with an existing profile name.\r\n\r\nPlease type another "
       "name for your profile.",
       nullptr},
      {"ErrorProfileRename", "Could not rename profile", nullptr},
      {"InfoCurrentProfileIsDefault1", "Your current profile is", nullptr},
      {"InfoCurrentProfileIsDefault2",
       "and it is read-only.\r\nUse the 'New' command on the left to create a custom profile.",
       nullptr},
      {"QuestionConfirmOverwrite1", "Are you sure you want to overwrite ", nullptr},
      {"QuestionConfirmOverwrite2", "with current settings?", nullptr},
      {"QuestionConfirmOverwriteCaption", "Overwrite profile?", nullptr},
      {"ErrorCannotRetrieveSettings", "Cannot retrieve current settings", nullptr},
      {"QuestionConfirmDelete", "Are you sure you want to delete profile", nullptr},
      {"QuestionConfirmDeleteCaption", "Delete profile?", nullptr},
      {"ErrorFailedDelete", "Failed to delete profile", nullptr},
      {"SecondaryButtonCaptionWhileRename", "Rename",
       "Type the new name for the existing profile:"},
      {"ErrorProfileNameLength", "The field must not exceed 15 characters", nullptr},
      {"ErrorProfileNameInvalidChars", "The field contains illegal characters", nullptr},
      // Info page.
      {"FailedToGetVersionInfoErrorMessage", "Failed to get version information", nullptr},
  };
  return kKeys;
}

}  // namespace linkscope
