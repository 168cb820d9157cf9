#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/FakePrivateProfile.h"
#include "text/LanguageTable.h"

namespace linkscope {
namespace {

constexpr const char* kOem = ".\\res\\Wlan.oem";
constexpr const char* kIni = ".\\res\\Wlan.ini";

const std::string kTwoLanguages =
    "[Languages]\r\nLanguage-1=English\r\nLanguage-2=Deutsch\r\nDeutsch=1\r\n"
    "[English]\r\nDlgTitle=Linkscope Utility\r\nTaskBarOkIcon=\r\n"
    "[Deutsch]\r\nDlgTitle=Linkscope-Dienstprogramm\r\n";

class LanguageTableTest : public ::testing::Test {
 protected:
  LanguageTable& Opened(const std::string& ini) {
    profile.SetFile(kIni, ini);
    table.ChooseFile();
    return table;
  }
  FakePrivateProfile profile;
  LanguageTable table{profile};
};

TEST_F(LanguageTableTest, VendorFileReplacesTheShippedOneWhichIsNeverRead) {
  profile.SetFile(kIni, kTwoLanguages);
  profile.SetFile(kOem, "[Languages]\r\nLanguage-1=Vendor\r\n[Vendor]\r\nDlgTitle=Acme\r\n");
  table.ChooseFile();
  EXPECT_EQ(kOem, table.FilePath());
  EXPECT_EQ(std::vector<std::string>{"Vendor"}, table.Languages());
  EXPECT_EQ("Acme", table.Lookup("DlgTitle", "x"));
  // Texts the vendor file lacks are the built-in ones, not the shipped file's.
  EXPECT_EQ("builtin", table.Lookup("TaskBarOkIcon", "builtin"));
  EXPECT_EQ(0, std::count(profile.readFiles.begin(), profile.readFiles.end(), kIni));
}

TEST_F(LanguageTableTest, ShippedFileWhenTheVendorFileCannotBeOpened) {
  profile.SetFile(kOem, "[Languages]\r\nLanguage-1=Vendor\r\n");
  profile.SetUnreadable(kOem, true);
  Opened(kTwoLanguages);
  EXPECT_EQ(kIni, table.FilePath());
  EXPECT_EQ((std::vector<std::string>{"English", "Deutsch"}), table.Languages());
  EXPECT_EQ("English", table.CurrentLanguage());
}

TEST_F(LanguageTableTest, WithoutAFileEveryTextIsItsDefaultAndNothingIsRead) {
  table.ChooseFile();
  EXPECT_EQ("", table.FilePath());
  EXPECT_TRUE(table.Languages().empty());
  EXPECT_EQ("", table.CurrentLanguage());
  table.SelectStartLanguage("Deutsch");
  EXPECT_EQ("", table.CurrentLanguage());
  EXPECT_EQ("Linkscope Utility", table.Lookup("DlgTitle", "Linkscope Utility"));
  EXPECT_FALSE(table.HasLanguageEntry("Deutsch"));
  EXPECT_EQ(0, profile.lookups);
}

TEST_F(LanguageTableTest, ListIsDenseFromOneAndEndsAtTheFirstGapOrEmptyValue) {
  Opened("[Languages]\r\nLanguage-1=English\r\nLanguage-2=Deutsch\r\nLanguage-4=Dansk\r\n");
  EXPECT_EQ((std::vector<std::string>{"English", "Deutsch"}), table.Languages());

  LanguageTable other(profile);
  profile.SetFile(kIni, "[Languages]\r\nLanguage-1=English\r\nLanguage-2=\r\nLanguage-3=Dansk\r\n");
  EXPECT_TRUE(other.Open(kIni));
  EXPECT_EQ(std::vector<std::string>{"English"}, other.Languages());

  profile.SetFile(kIni, "[Languages]\r\nLanguage-2=Deutsch\r\n[Deutsch]\r\nDlgTitle=D\r\n");
  LanguageTable none(profile);
  EXPECT_FALSE(none.Open(kIni));
  EXPECT_TRUE(none.Languages().empty());
  EXPECT_EQ("", none.CurrentLanguage());
  // No current language: no section to look in, so even a text in the file is not found.
  EXPECT_EQ("T", none.Lookup("DlgTitle", "T"));
}

// The tray menu has room for 20 languages; a longer list is cut there and not read further.
TEST_F(LanguageTableTest, ListStopsAtTwentyLanguages) {
  std::string ini = "[Languages]\r\n";
  for (int n = 1; n <= 10000; ++n) {
    ini += "Language-" + std::to_string(n) + "=L" + std::to_string(n) + "\r\n";
  }
  Opened(ini);
  ASSERT_EQ(20u, table.Languages().size());
  EXPECT_EQ("L1", table.Languages().front());
  EXPECT_EQ("L20", table.Languages().back());
  EXPECT_EQ(20, profile.lookups);
}

TEST_F(LanguageTableTest, LookupReadsTheCurrentSectionAnewEachTime) {
  Opened(kTwoLanguages);
  EXPECT_EQ("Linkscope Utility", table.Lookup("dlgtitle", "x"));
  table.SetCurrentLanguage("Deutsch");
  EXPECT_EQ("Deutsch", table.CurrentLanguage());
  EXPECT_EQ("Linkscope-Dienstprogramm", table.Lookup("DlgTitle", "x"));
  const int before = profile.lookups;
  profile.SetFile(kIni, "[Deutsch]\r\nDlgTitle=Neu\r\n");
  EXPECT_EQ("Neu", table.Lookup("DlgTitle", "x"));
  EXPECT_EQ(before + 1, profile.lookups) << "one read per lookup, nothing cached";
  // A language added to the file shows in the list only at the next start.
  EXPECT_EQ((std::vector<std::string>{"English", "Deutsch"}), table.Languages());
}

TEST_F(LanguageTableTest, EmptyValueIsPresentMissingOnesGiveTheDefaultAsPassed) {
  Opened(kTwoLanguages + "[Other]\r\nX=1\r\n");
  EXPECT_EQ("", table.Lookup("TaskBarOkIcon", "builtin"));
  EXPECT_EQ("Are you sure you want to overwrite ",
            table.Lookup("QuestionConfirmOverwrite1", "Are you sure you want to overwrite "));
  EXPECT_EQ("a\r\nb", table.Lookup("Missing", "a\r\nb"));
  EXPECT_EQ("", table.Lookup("Missing", nullptr));
  EXPECT_EQ("", table.Lookup("Missing"));
  EXPECT_EQ(std::string("d\0e", 3), table.Lookup("Missing", std::string("d\0e", 3)));
  table.SetCurrentLanguage("Klingon");
  EXPECT_EQ("builtin", table.Lookup("DlgTitle", "builtin"));
}

TEST_F(LanguageTableTest, LongValuesAreCutTo1999Characters) {
  Opened("[Languages]\r\nLanguage-1=" + std::string(2500, 'L') + "\r\n[" + std::string(2500, 'L') +
         "]\r\nLong=" + std::string(2500, 'v') + "\r\nHuge=" + std::string(1 << 20, 'h') + "\r\n");
  ASSERT_EQ(1u, table.Languages().size());
  EXPECT_EQ(1999u, table.Languages()[0].size());
  table.SetCurrentLanguage(std::string(2500, 'L'));
  EXPECT_EQ(std::string(1999, 'v'), table.Lookup("Long", ""));
  EXPECT_EQ(std::string(1999, 'h'), table.Lookup("Huge", ""));
}

TEST_F(LanguageTableTest, HostileValuesComeBackAsTheyAre) {
  std::string ini = "[Languages]\r\nLanguage-1=%s%n%x\r\n[%s%n%x]\r\nDlgTitle=%s%n%s%n\r\n";
  ini += "Binary=\x01\x02\x7F\x80\xFF";
  ini += '\0';
  ini += "tail\r\n";
  Opened(ini);
  EXPECT_EQ("%s%n%x", table.CurrentLanguage());
  EXPECT_EQ("%s%n%s%n", table.Lookup("DlgTitle", "x"));
  EXPECT_EQ("\x01\x02\x7F\x80\xFF", table.Lookup("Binary", "x"));
}

TEST_F(LanguageTableTest, OnlyAMarkedLanguageIsRestoredAtStart) {
  Opened("[Languages]\r\nLanguage-1=English\r\nLanguage-2=Deutsch\r\nLanguage-3=Dansk\r\n"
         "Deutsch=1\r\nDansk=\r\nNoLanguageYet=1\r\nHidden=yes\r\n");
  table.SelectStartLanguage("Deutsch");
  EXPECT_EQ("Deutsch", table.CurrentLanguage());
  table.SelectStartLanguage("Dansk");  // listed, but its mark is empty
  EXPECT_EQ("English", table.CurrentLanguage());
  table.SelectStartLanguage("Svenska");
  EXPECT_EQ("English", table.CurrentLanguage());
  table.SelectStartLanguage("NoLanguageYet");
  EXPECT_EQ("English", table.CurrentLanguage());
  table.SelectStartLanguage("");
  EXPECT_EQ("English", table.CurrentLanguage());
  // A marked section need not be listed: the mark alone restores it.
  table.SelectStartLanguage("Hidden");
  EXPECT_EQ("Hidden", table.CurrentLanguage());
  EXPECT_TRUE(table.HasLanguageEntry("deutsch"));
  EXPECT_FALSE(table.HasLanguageEntry("Dansk"));
}

TEST_F(LanguageTableTest, FirstLanguageIsReadFromTheFileEachTime) {
  Opened(kTwoLanguages);
  table.SetCurrentLanguage("Deutsch");
  profile.SetFile(kIni, "[Languages]\r\nLanguage-2=Deutsch\r\n");
  table.SelectFirstLanguage();
  EXPECT_EQ("", table.CurrentLanguage());
}

}  // namespace
}  // namespace linkscope
