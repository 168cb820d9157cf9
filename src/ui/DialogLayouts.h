#pragma once
// The layouts of the settings dialog and its seven pages: the one description of each, from
// which the Win32 layer builds the windows and the test fake its controls.

#include "platform/DialogLayout.h"

namespace linkscope {

// Resource numbers of the dialogs.
constexpr int kSettingsDialogId = 130;
constexpr int kStatusPageId = 132;
constexpr int kSiteSurveyPageId = 134;
constexpr int kEncryptionPageId = 135;
constexpr int kAdvancedPageId = 139;
constexpr int kInfoPageId = 141;
constexpr int kStatisticsPageId = 145;
constexpr int kProfilesPageId = 148;

// The pages in tab order (Status, Statistics, Site Survey, Encryption, Advanced, Profiles,
// Info).
constexpr int kPageCount = 7;
extern const int kPageResourceIds[kPageCount];

// The tab whose page is a child of the tab control rather than of the dialog; its layout's
// position is relative to the tab control.
constexpr int kTabHostedPageId = kProfilesPageId;

const DialogLayout& SettingsDialogLayout();
// The layout of a page, or null for any other number.
const DialogLayout* PageLayout(int resourceId);

// Ids of the settings dialog's controls.
constexpr int kIdAdapterSelector = 1001;
constexpr int kIdTabControl = 1003;
constexpr int kIdResetButton = 1064;
constexpr int kIdWindowsCheckBox = 1084;
constexpr int kIdProfileSelector = 1085;

}  // namespace linkscope
