#include "text/LanguageTable.h"

#include <vector>

namespace linkscope {

namespace {

// Passed to the platform as the default. A value read from the file can never contain a line
// feed, so getting this back means the key is missing. The caller's own default is not passed
// down: the platform would drop its trailing blanks ("Are you sure you want to overwrite ").
constexpr char kMissing[] = "\n";

}  // namespace

LanguageTable::LanguageTable(IPrivateProfile& profile) : profile_(profile) {}

void LanguageTable::ChooseFile() {
  if (profile_.CanOpenFile(kOemFile)) {
    Open(kOemFile);
  } else if (profile_.CanOpenFile(kShippedFile)) {
    Open(kShippedFile);
  }
}

bool LanguageTable::Open(const std::string& path) {
  file_ = path;
  languages_.clear();
  // The keys are built here, never from file text, so nothing read can act as a format.
  for (std::size_t n = 1; n <= kMaxLanguages; ++n) {
    std::string name;
    if (!Read(kListSection, "Language-" + std::to_string(n), &name) || name.empty()) break;
    languages_.push_back(name);
  }
  if (!languages_.empty()) current_ = languages_.front();
  return !languages_.empty();
}

bool LanguageTable::Read(const std::string& section, const std::string& key,
                         std::string* value) const {
  if (file_.empty()) return false;
  std::vector<char> buffer(kValueBufferSize, '\0');
  std::uint32_t n =
      profile_.GetString(section, key, kMissing, buffer.data(), kValueBufferSize, file_);
  if (n >= kValueBufferSize) n = kValueBufferSize - 1;  // never trust a count beyond the buffer
  const std::string text(buffer.data(), n);
  if (text == kMissing) return false;
  *value = text;
  return true;
}

std::string LanguageTable::Lookup(const std::string& key, const std::string& defaultText) const {
  std::string value;
  // Without a current language there is no section to look in.
  if (!current_.empty() && Read(current_, key, &value)) return value;
  return defaultText;
}

std::string LanguageTable::Lookup(const std::string& key, const char* defaultText) const {
  return Lookup(key, defaultText != nullptr ? std::string(defaultText) : std::string());
}

bool LanguageTable::HasLanguageEntry(const std::string& name) const {
  if (name.empty()) return false;
  std::string value;
  return Read(kListSection, name, &value) && !value.empty();
}

void LanguageTable::SelectFirstLanguage() {
  std::string first;
  current_ = Read(kListSection, "Language-1", &first) ? first : std::string();
}

void LanguageTable::SelectStartLanguage(const std::string& stored) {
  if (stored != kNoLanguageYet && HasLanguageEntry(stored)) {
    current_ = stored;
  } else {
    SelectFirstLanguage();
  }
}

}  // namespace linkscope
