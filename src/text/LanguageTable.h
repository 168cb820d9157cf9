#pragma once
// The language string table: every visible text and every customisation value is looked up by
// key in one INI-format text file, in the section of the current language, with a built-in
// default for when the file, the section or the key is missing.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PrivateProfile.h"
#include "text/TextSource.h"

namespace linkscope {

class LanguageTable : public ITextSource {
 public:
  // Relative to the current directory. A vendor's file, when it can be opened, replaces the
  // shipped one entirely.
  static constexpr const char* kOemFile = ".\\res\\Wlan.oem";
  static constexpr const char* kShippedFile = ".\\res\\Wlan.ini";
  static constexpr const char* kListSection = "Languages";
  // Values are read into a buffer of this size, so a value is at most 1999 characters.
  static constexpr std::uint32_t kValueBufferSize = 2000;
  // The tray menu gives each language one of 20 command identifiers (2005 to 2024); a 21st
  // entry would land on the Exit command. Entries beyond these are not read.
  static constexpr std::size_t kMaxLanguages = 20;
  // The registry's "Language" value when no language has been chosen yet.
  static constexpr const char* kNoLanguageYet = "NoLanguageYet";

  explicit LanguageTable(IPrivateProfile& profile);

  // Uses the vendor's file when it can be opened, else the shipped one, else none (then every
  // lookup gives its default). Called once, before anything is looked up.
  void ChooseFile();
  // Uses `path` and builds the language list from its "Languages" section. True when the list
  // is not empty.
  bool Open(const std::string& path);

  // The value of `key` in the current language's section, or `defaultText` when the file, the
  // section or the key is missing. A key present with an empty value gives an empty text. A
  // null default counts as empty. The file is read anew at every call.
  std::string Lookup(const std::string& key, const char* defaultText = nullptr) const;
  std::string Lookup(const std::string& key, const std::string& defaultText) const override;

  // Whether the "Languages" section holds a non-empty value under the key `name`: such a
  // language may be restored from the registry at start.
  bool HasLanguageEntry(const std::string& name) const;
  // Current language := the value of "Language-1" (empty when missing).
  void SelectFirstLanguage();
  // At start: the language stored in the registry when the file marks it as restorable,
  // otherwise the first one.
  void SelectStartLanguage(const std::string& stored);

  const std::vector<std::string>& Languages() const { return languages_; }
  const std::string& CurrentLanguage() const { return current_; }
  void SetCurrentLanguage(const std::string& name) { current_ = name; }
  const std::string& FilePath() const { return file_; }

 private:
  // Reads `key` of `section`; false when the file, the section or the key is missing.
  bool Read(const std::string& section, const std::string& key, std::string* value) const;

  IPrivateProfile& profile_;
  std::string file_;
  std::vector<std::string> languages_;
  std::string current_;
};

}  // namespace linkscope
