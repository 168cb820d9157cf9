#include "ui/CEncryptionPage.h"

#include <algorithm>

#include "config/AdapterSettings.h"
#include "config/ProfileApplication.h"
#include "config/SettingsRules.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"
#include "device/SurveyRequests.h"
#include "platform/DialogSystem.h"
#include "text/AccessKeys.h"
#include "text/OemSettings.h"
#include "ui/DialogLayouts.h"

namespace linkscope {

namespace {

constexpr int kLevelDisabled = 0;
constexpr int kLevel64 = 1;
constexpr int kLevel128 = 2;

// Selects the item of a record value, or none when the list has no such item (Windows and
// Wine disagree on what an index out of range leaves selected).
void SelectValue(IDialogItems& items, int id, int value) {
  items.ComboSelect(id, value >= 0 && value < items.ComboCount(id) ? value : -1);
}

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

}  // namespace

CEncryptionPage::CEncryptionPage(const SettingsDialogServices& services, IPageHost& host)
    : CLayoutPage(kEncryptionPageId, services, host) {}

bool CEncryptionPage::Offers128Bit(std::uint8_t cardType) {
  switch (cardType) {
    case 2: case 3: case 11: case 12: case 13: case 14:
    case 15: case 16: case 17: case 18: case 21: case 22:
      return true;
    default:
      return false;
  }
}

std::string CEncryptionPage::Text(const char* key, const char* defaultText) const {
  return Services().language.Lookup(key, defaultText);
}

bool CEncryptionPage::ConfiguredByWindows() const {
  return Services().link.configuredByWindows != 0;
}

void CEncryptionPage::OnInitDialog(WindowHandle dialog, IDialogItems& items) {
  readFailed_ = false;
  creating_ = true;
  CLayoutPage::OnInitDialog(dialog, items);
  creating_ = false;
  if (!readFailed_) return;
  // A page whose record could not be read stays out of sight: the tab shows no page. The
  // message comes last: its box dispatches messages, and a tab change among them destroys
  // this page, after which nothing here may touch it.
  items.ShowDialog(false);
  ReportReadFailure();
}

void CEncryptionPage::ReportReadFailure() {
  Services().messages.Show("FailedToGetWepInfoErrorMessage", "Failed to get WEP information");
}

void CEncryptionPage::OnCreatePage() {
  IDialogItems& items = *Items();
  const bool locked = ConfiguredByWindows();
  items.Enable(kIdLevel, !locked);
  items.Enable(kIdSubmit, !locked);

  const std::string passwordChar = OemSettings(Services().language).WEPKeysPasswordChar();
  for (int k = 0; k < 4; ++k) {
    items.EditLimitText(kIdKey1 + k, kKeyTextLimit);
    if (!passwordChar.empty()) items.EditSetPasswordChar(kIdKey1 + k, passwordChar[0]);
  }
  InitTexts();
  Refresh();
}

void CEncryptionPage::OnDestroyPage() {
  // The typed keys are not kept once the page is gone: the record as read is all the next
  // showing needs, and key texts have no business lingering in memory for the whole run.
  for (std::string& text : keyTexts_) {
    std::fill(text.begin(), text.end(), '\0');
    text.clear();
    text.shrink_to_fit();
  }
}

void CEncryptionPage::InitTexts() {
  IDialogItems& items = *Items();
  CAdapterLink& link = Services().link;
  // On failure the card type keeps what it was.
  std::uint8_t cardType = cardType_;
  std::uint32_t written = 0;
  if (link.Query(link.CurrentAdapter(), OID_PRIV_CARD_TYPE, &cardType, 1, &written)) {
    cardType_ = cardType;
  }

  SetLayoutTexts();
  // The default key is picked by the keys' labels.
  items.ComboReset(kIdDefaultKey);
  for (int k = 0; k < 4; ++k) items.ComboAdd(kIdDefaultKey, WithoutAccessKeys(LayoutText(kIdKeyLabel1 + k)));

  items.ComboReset(kIdMode);
  items.ComboAdd(kIdMode, Text("WEPModeMandatory", "Mandatory"));
  items.ComboAdd(kIdMode, Text("WEPModeOptional", "Optional"));

  items.ComboReset(kIdAuthentication);
  items.ComboAdd(kIdAuthentication, Text("AythTypeOpenSystem", "Open System"));
  items.ComboAdd(kIdAuthentication, Text("AythTypeSharedKey", "Shared Key"));
  items.ComboAdd(kIdAuthentication, Text("AythTypeAuto", "Auto"));

  items.ComboReset(kIdLevel);
  items.ComboAdd(kIdLevel, Text("WEPDisabled", "Disabled"));
  items.ComboAdd(kIdLevel, Text("WEP64Bit", "64 Bit"));
  if (Offers128Bit(cardType_)) items.ComboAdd(kIdLevel, Text("WEP128Bit", "128 Bit"));
}

bool CEncryptionPage::Refresh() {
  IDialogItems& items = *Items();
  CAdapterLink& link = Services().link;
  WepConfig read;
  if (!QueryWepConfig(link, link.CurrentAdapter(), &read) || read.encryptionLevel > kLevel128) {
    readFailed_ = true;
    StayHidden();  // while the page is being built: the frame must not show it in between
    items.ShowDialog(false);
    // While the page is being created its creation says it, once the page is done with.
    if (!creating_) ReportReadFailure();
    return false;
  }
  wep_ = read;
  readFailed_ = false;

  // The level's item is missing when the adapter reports 128 bit on a card type that does not
  // offer it: the list is then left without a selection, and nothing can be submitted until
  // the user picks a level.
  SelectValue(items, kIdLevel, wep_.encryptionLevel);
  ShowKeys();
  const int level = items.ComboSelection(kIdLevel);
  EnableKeyControls(level > kLevelDisabled);
  SelectValue(items, kIdDefaultKey, wep_.defaultKeyIndex);
  SelectValue(items, kIdMode, wep_.wepMode);
  SelectValue(items, kIdAuthentication, wep_.authenticationType);
  items.ShowDialog(true);
  if (ConfiguredByWindows()) {
    EnableKeyControls(false);
  } else {
    items.Enable(kIdSubmit, level >= 0);
  }
  return true;
}

void CEncryptionPage::StoreKeyTexts() {
  for (int k = 0; k < 4; ++k) keyTexts_[static_cast<std::size_t>(k)] = Items()->Text(kIdKey1 + k);
}

void CEncryptionPage::ShowKeys() {
  IDialogItems& items = *Items();
  StoreKeyTexts();
  const int level = items.ComboSelection(kIdLevel);
  if (level < 0) return;
  const std::size_t length =
      level == kLevel128 ? WepConfig::kKeyLength128 : WepConfig::kKeyLength64;
  for (std::size_t k = 0; k < WepConfig::kKeyCount; ++k) {
    items.SetText(kIdKey1 + static_cast<int>(k), EncodeKeyBytes(wep_.keys[k].data(), length));
  }
}

void CEncryptionPage::EnableKeyControls(bool enable) {
  IDialogItems& items = *Items();
  for (int k = 0; k < 4; ++k) items.Enable(kIdKey1 + k, enable);
  items.Enable(kIdAuthentication, enable);
  items.Enable(kIdDefaultKey, enable);
  items.Enable(kIdMode, enable);
}

void CEncryptionPage::OnLevelChange() {
  StoreKeyTexts();
  const int level = Items()->ComboSelection(kIdLevel);
  if (level != kLevelDisabled) {
    // The boxes are rewritten from the record as last read, at the new level's length: a key
    // typed since is replaced.
    ShowKeys();
    EnableKeyControls(true);
  } else {
    EnableKeyControls(false);
  }
  if (!ConfiguredByWindows()) Items()->Enable(kIdSubmit, level >= 0);
}

bool CEncryptionPage::ValidateKeys() {
  IDialogItems& items = *Items();
  const int level = items.ComboSelection(kIdLevel);
  // Without encryption the boxes are not read.
  if (level != kLevel64 && level != kLevel128) return true;
  for (int k = 0; k < 4; ++k) {
    const int box = kIdKey1 + k;
    std::string& text = keyTexts_[static_cast<std::size_t>(k)];
    RuleFailure failure;
    if (CheckWepKeyText(level, text, &failure)) {
      text = Upper(text);
      continue;
    }
    const int from = static_cast<int>(failure.position);
    const int to = failure.length == 0 ? -1 : from + static_cast<int>(failure.length);
    items.EditSetSelection(box, from, to);
    items.EditScrollCaret(box);
    items.Focus(box);
    Services().messages.Show(failure.key, failure.defaultText);
    return false;
  }
  return true;
}

void CEncryptionPage::OnSubmit() {
  IDialogItems& items = *Items();
  StoreKeyTexts();
  const int level = items.ComboSelection(kIdLevel);
  // Without a level (128 bit reported on a card that does not offer it) there is nothing
  // defined to send.
  if (level < 0 || ConfiguredByWindows()) return;
  if (!ValidateKeys()) return;

  // The choices go into a copy: the record as last read stays what the page shows until the
  // adapter has taken them.
  WepConfig wep = wep_;
  // A list without a selection (the adapter reported a value it has no item for) keeps the
  // record's value instead of sending "none" as 255.
  const int auth = items.ComboSelection(kIdAuthentication);
  const int mode = items.ComboSelection(kIdMode);
  const int key = items.ComboSelection(kIdDefaultKey);
  if (auth >= 0) wep.authenticationType = static_cast<std::uint16_t>(auth);
  if (mode >= 0) wep.wepMode = static_cast<std::uint8_t>(mode);
  if (key >= 0) wep.defaultKeyIndex = static_cast<std::uint8_t>(key);
  wep.encryptionLevel = static_cast<std::uint8_t>(level);

  std::uint8_t keyLength = keyLength_;
  if (level == kLevel128) keyLength = WepConfig::kKeyLength128;
  if (level == kLevel64) keyLength = WepConfig::kKeyLength64;
  if (level != kLevelDisabled) {
    for (std::size_t k = 0; k < WepConfig::kKeyCount; ++k) {
      // The text holds exactly 2 x keyLength hexadecimal digits here; the slot's other bytes
      // keep what the adapter last reported.
      DecodeKeyText(keyTexts_[k].substr(0, 2u * keyLength), wep.keys[k].data());
    }
  }

  WepChange change;
  change.wep = wep;
  for (std::size_t k = 0; k < WepConfig::kKeyCount; ++k) {
    change.keyTexts[k] = keyTexts_[k].substr(0, 2u * keyLength);
  }
  const WindowLife::Token window = Life().Mark();
  if (Services().adapterSettings.ChangeWep(change) != ChangeResult::kApplied) {
    Services().messages.Show("FailedToSetWepInfoErrorMessage", "Failed to set WEP information");
    return;
  }
  wep_ = wep;
  keyLength_ = keyLength;
  // The change may have told of a registry failure in a box, under which the page may have
  // gone.
  if (!Life().StillAlive(window)) return;
  Host().FillProfileSelector();
  Host().SelectPage(0);  // destroys this page: nothing may follow
}

void CEncryptionPage::OnCommand(int id, int code) {
  if (!IsShown()) return;
  if (id == kIdLevel && code == kCbnSelChange) {
    OnLevelChange();
  } else if (id == kIdSubmit && code == kBnClicked) {
    OnSubmit();
  }
}

void CEncryptionPage::Reload() {
  if (!IsShown()) return;
  InitTexts();
  Refresh();
}

void CEncryptionPage::ApplyWindowsConfiguration(bool configuredByWindows) {
  if (!IsShown()) return;
  IDialogItems& items = *Items();
  const int level = items.ComboSelection(kIdLevel);
  items.Enable(kIdLevel, !configuredByWindows);
  items.Enable(kIdSubmit, !configuredByWindows && level >= 0);
  EnableKeyControls(!configuredByWindows && level > kLevelDisabled);
}

}  // namespace linkscope
