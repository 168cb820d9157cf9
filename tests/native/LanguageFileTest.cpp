// The shipped language file against the keys the program looks up.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "app/LinkTooltip.h"
#include "fakes/FakePrivateProfile.h"
#include "text/AccessKeys.h"
#include "text/LanguageTable.h"
#include "ui/DialogLayouts.h"
#include "ui/ProgramTextKeys.h"

namespace linkscope {
namespace {

std::string SourcePath(const std::string& relative) {
#ifdef _WIN32
  return std::string("Z:") + LINKSCOPE_SOURCE_DIR + "/" + relative;  // Wine's view of the tree
#else
  return std::string(LINKSCOPE_SOURCE_DIR) + "/" + relative;
#endif
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string Trim(const std::string& s) {
  const std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// Key names of each section, in file order, as the platform sees them.
std::map<std::string, std::vector<std::string>> KeysBySection(const std::string& content) {
  std::map<std::string, std::vector<std::string>> sections;
  std::string current;
  std::istringstream in(content);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = Trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      current = line.substr(1, line.rfind(']') - 1);
      sections[current];
      continue;
    }
    sections[current].push_back(Trim(line.substr(0, line.find('='))));
  }
  return sections;
}

bool OmittedFromEnglish(const TextKey& k) {
  const std::string text = k.englishDefault;
  return k.otherDefault != nullptr || text.find_first_of("\r\n") != std::string::npos;
}

const std::string kFrancais = "Fran\xE7" "ais";

class ShippedLanguageFile : public ::testing::Test {
 protected:
  void SetUp() override {
    content = ReadAll(SourcePath("res/Wlan.ini"));
    ASSERT_FALSE(content.empty());
    profile.SetFile(LanguageTable::kShippedFile, content);
    table.ChooseFile();
  }
  std::string content;
  FakePrivateProfile profile;
  LanguageTable table{profile};
};

TEST_F(ShippedLanguageFile, OffersEnglishGermanAndFrenchWithTheLastTwoRestorable) {
  EXPECT_EQ((std::vector<std::string>{"English", "Deutsch", kFrancais}), table.Languages());
  EXPECT_EQ(8u, table.Languages()[2].size()) << "one byte per letter";
  EXPECT_TRUE(table.HasLanguageEntry("Deutsch"));
  EXPECT_TRUE(table.HasLanguageEntry(kFrancais));
  table.SelectStartLanguage(kFrancais);
  EXPECT_EQ(kFrancais, table.CurrentLanguage());
}

TEST_F(ShippedLanguageFile, IsWindows1252WithoutAByteOrderMark) {
  ASSERT_GE(content.size(), 3u);
  EXPECT_NE("\xEF\xBB\xBF", content.substr(0, 3));
  for (std::size_t i = 0; i < content.size(); ++i) {
    const auto c = static_cast<unsigned char>(content[i]);
    // Accented letters (0xC0 to 0xFF) and the degree sign; UTF-8 would bring bytes of 0x80
    // to 0xBF after each lead byte.
    EXPECT_TRUE(c < 0x80 || c >= 0xC0 || c == 0xB0) << "byte " << int(c) << " at " << i;
    EXPECT_NE('\0', content[i]);
  }
}

TEST_F(ShippedLanguageFile, EverySectionCarriesExactlyTheKeysThatAreLookedUp) {
  std::set<std::string> all;
  std::set<std::string> english;
  for (const TextKey& k : TextKeys()) {
    all.insert(Trim(k.key));
    if (!OmittedFromEnglish(k)) english.insert(Trim(k.key));
  }
  const auto sections = KeysBySection(content);
  for (const std::string& language : table.Languages()) {
    ASSERT_EQ(1u, sections.count(language)) << language;
    const std::vector<std::string>& keys = sections.at(language);
    const std::set<std::string> present(keys.begin(), keys.end());
    EXPECT_EQ(keys.size(), present.size()) << language << " repeats a key";
    const std::set<std::string>& expected = language == "English" ? english : all;
    for (const std::string& k : expected) EXPECT_EQ(1u, present.count(k)) << language << ": " << k;
    for (const std::string& k : present) {
      EXPECT_EQ(1u, expected.count(k)) << language << ": " << k << " is never looked up";
    }
  }
  // Nothing beyond the list and the languages.
  EXPECT_EQ(table.Languages().size() + 1, sections.size());
  for (const std::string& k : sections.at("Languages")) {
    EXPECT_TRUE(k.rfind("Language-", 0) == 0 || table.HasLanguageEntry(k)) << k;
  }
}

TEST_F(ShippedLanguageFile, EnglishTextsAreTheBuiltInOnes) {
  // The one customisation value the shipped file gives on purpose: the logo drawn for the
  // program, which has no built-in one.
  const std::string logo = "linkscope-logo.bmp";
  table.SetCurrentLanguage("English");
  for (const TextKey& k : TextKeys()) {
    if (OmittedFromEnglish(k)) continue;
    const std::string expected = std::string(k.key) == "LogoBmp" ? logo : k.englishDefault;
    EXPECT_EQ(expected, table.Lookup(k.key, "\x01missing")) << k.key;
  }
}

TEST_F(ShippedLanguageFile, TranslationsGiveEveryTextAndKeepTheCustomisationValues) {
  for (const std::string& language : {std::string("Deutsch"), kFrancais}) {
    table.SetCurrentLanguage(language);
    for (const TextKey& k : TextKeys()) {
      const std::string value = table.Lookup(k.key, "\x01missing");
      EXPECT_NE("\x01missing", value) << language << ": " << k.key;
      if (*k.englishDefault != '\0') {
        EXPECT_NE("", value) << language << ": " << k.key;
      }
    }
    EXPECT_EQ("1000", table.Lookup("DevicePollingTimerMsec"));
    EXPECT_EQ("1", table.Lookup("ShowAdaptersList"));
    EXPECT_EQ("", table.Lookup("DeviceDescription-1", ""));
  }
  table.SetCurrentLanguage("Deutsch");
  EXPECT_EQ("Linkscope-Dienstprogramm", table.Lookup("DlgTitle"));
  EXPECT_EQ("Verschl\xFCsselung", table.Lookup("Tab4"));
}

// The longest tooltip of a link (an SSID of 32 bytes) keeps its numbers in every language.
TEST_F(ShippedLanguageFile, TheTooltipOfALinkFitsWholeInEveryLanguage) {
  LinkSnapshot link;
  link.adapter = true;
  link.deviceState = 5;
  link.config = DeviceConfig();
  link.config->operatingMode = 1;
  link.config->SetSsid(std::string(32, 'S'));
  link.signalPercent = 100;
  link.qualityPercent = 100;
  for (const std::string& language : table.Languages()) {
    table.SetCurrentLanguage(language);
    const std::string tip = LinkTooltip(link, TrayTexts::Load(table));
    EXPECT_EQ(tip.size() - 5, tip.rfind("100 %")) << language << ": " << tip;
  }
}

// What is on screen at once, the frame and one page, marks each access key once in every
// language, and every label and button the language file words marks one. The layouts are
// read as data: a control added to a page is checked without a word here.
TEST_F(ShippedLanguageFile, AccessKeysAreUniqueOnEveryPageInEveryLanguage) {
  for (const std::string& language : table.Languages()) {
    table.SetCurrentLanguage(language);
    for (int page : kPageResourceIds) {
      std::map<char, std::string> taken;
      for (const DialogLayout* layout : {&SettingsDialogLayout(), PageLayout(page)}) {
        for (const ControlLayout& c : layout->controls) {
          const bool captioned = c.kind == ControlKind::Label || c.kind == ControlKind::GroupBox ||
                                 c.kind == ControlKind::PushButton ||
                                 c.kind == ControlKind::CheckBox ||
                                 c.kind == ControlKind::RadioButton;
          // Data, and the hidden controls whose texts no file words (never shown, or worded
          // by their page when they are), carry no access keys.
          if (!captioned || (c.style & kSsNoPrefix) != 0 || (c.hidden && c.textKey == nullptr)) {
            continue;
          }
          const std::string text = c.textKey != nullptr ? table.Lookup(c.textKey, c.text) : c.text;
          const char key = AccessKeyOf(text);
          const std::string where = language + ", page " + std::to_string(page) + ": " + text;
          if (c.textKey != nullptr) {
            EXPECT_NE(0, key) << where;
          }
          if (key != 0) {
            EXPECT_TRUE(taken.emplace(key, text).second) << where << ", " << taken[key];
          }
        }
      }
    }
  }
  EXPECT_EQ("Tx & Rx", WithoutAccessKeys("&Tx && R&x"));
}

TEST(TextKeysTest, HoldsEachOfTheProgramsKeysOnce) {
  std::set<std::string> keys;
  for (const TextKey& k : TextKeys()) {
    EXPECT_TRUE(keys.insert(k.key).second) << k.key;
    EXPECT_NE(nullptr, k.englishDefault) << k.key;
  }
  EXPECT_EQ(206u, keys.size());
  // The few keys spelled with a trailing blank or tab, kept as existing files use them.
  for (const char* odd : {"FailedToGetConfigurationErrorMessage ", "PreambleLong ", "PreambleShort ",
                          "PreambleAuto ", "ErrorCannotCreateDefaultProfile ", "WEP64Bit\t",
                          "ErrorMessage_C80211_MGMT_SC_AuthAlgNotSupported "}) {
    EXPECT_EQ(1u, keys.count(odd)) << odd;
  }
}

std::string Unescape(const std::string& literal) {
  std::string out;
  for (std::size_t i = 0; i < literal.size(); ++i) {
    if (literal[i] != '\\' || i + 1 == literal.size()) {
      out += literal[i];
      continue;
    }
    const char c = literal[++i];
    out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
  }
  return out;
}

// Code that looks a text up by a literal key must name a key of the list, with one of its
// defaults, so that the shipped file keeps up with the program.
TEST(TextKeysTest, EveryLookupInTheSourcesNamesAListedKeyWithItsDefault) {
  std::map<std::string, std::set<std::string>> defaults;
  for (const TextKey& k : TextKeys()) {
    defaults[k.key].insert(k.englishDefault);
    if (k.otherDefault != nullptr) defaults[k.key].insert(k.otherDefault);
  }
  // Lookups, and the message boxes that look their texts up, with a literal key and default.
  const std::regex call(
      R"re((?:Lookup|Show|Ask)\(\s*"((?:[^"\\]|\\.)*)"\s*,\s*"((?:[^"\\]|\\.)*)")re");
  // Adjacent literals ("a" "b") are one text to the compiler.
  const std::regex adjacent(R"re("\s*\n\s*")re");
  int found = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(SourcePath("src"))) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    const std::string text = std::regex_replace(ReadAll(entry.path().string()), adjacent, "");
    for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it) {
      ++found;
      const std::string key = Unescape((*it)[1]);
      ASSERT_EQ(1u, defaults.count(key)) << entry.path() << ": " << key;
      EXPECT_EQ(1u, defaults[key].count(Unescape((*it)[2]))) << entry.path() << ": " << key;
    }
  }
  EXPECT_GE(found, 12) << "the scan found the lookups of the start-up and the customisation";
}

}  // namespace
}  // namespace linkscope
