#include "contract/PrivateProfileContract.h"

#include <cstring>
#include <vector>

namespace linkscope {

std::string PrivateProfileContract::Get(const std::string& file, const std::string& section,
                                        const std::string& key, const std::string& def,
                                        std::uint32_t size) {
  std::vector<char> buffer(size + 16, '\x7F');
  const std::uint32_t n = world_->Profile().GetString(section, key, def, buffer.data(), size, file);
  EXPECT_LT(n, size);
  EXPECT_EQ('\0', buffer[n]) << "the value is NUL-terminated";
  EXPECT_EQ(std::strlen(buffer.data()), n);
  return std::string(buffer.data(), n);
}

TEST_P(PrivateProfileContract, SectionAndKeyNamesIgnoreCase) {
  const std::string f = world_->WriteFile("case.ini",
                                          "[Languages]\r\nLanguage-1=English\r\n"
                                          "[English]\r\nTaskBarMenuExit=Exit\r\n");
  EXPECT_EQ("English", Get(f, "LANGUAGES", "language-1"));
  EXPECT_EQ("Exit", Get(f, "english", "TASKBARMENUEXIT"));
}

TEST_P(PrivateProfileContract, MissingFileSectionOrKeyGivesTheDefault) {
  const std::string f = world_->WriteFile("missing.ini", "[English]\r\nKnown=yes\r\n");
  EXPECT_EQ("fallback", Get(world_->MissingPath(), "English", "Known", "fallback"));
  EXPECT_EQ("fallback", Get(f, "Deutsch", "Known", "fallback"));
  EXPECT_EQ("fallback", Get(f, "English", "Unknown", "fallback"));
  EXPECT_EQ("", Get(f, "English", "Unknown", ""));
}

TEST_P(PrivateProfileContract, DefaultLosesTrailingBlanks) {
  const std::string f = world_->WriteFile("def.ini", "[English]\r\n");
  EXPECT_EQ("Preamble Long", Get(f, "English", "PreambleLong ", "Preamble Long   "));
}

TEST_P(PrivateProfileContract, EmptyValueIsPresentAndEmpty) {
  const std::string f = world_->WriteFile("empty.ini", "[English]\r\nTaskBarOkIcon=\r\nSpaces=   \r\n");
  EXPECT_EQ("", Get(f, "English", "TaskBarOkIcon", "builtin"));
  EXPECT_EQ("", Get(f, "English", "Spaces", "builtin"));
}

TEST_P(PrivateProfileContract, ValuesAreCutToTheBufferLessOne) {
  const std::string f = world_->WriteFile("cut.ini", "[S]\r\nShort=abcdefghij\r\nLong=" +
                                                         std::string(2500, 'w') + "\r\n");
  EXPECT_EQ("abcd", Get(f, "S", "Short", "", 5));
  EXPECT_EQ("abcdefghij", Get(f, "S", "Short", "", 11));
  EXPECT_EQ(std::string(1999, 'w'), Get(f, "S", "Long", "", 2000));
  EXPECT_EQ("defa", Get(f, "S", "Missing", "default", 5));
}

TEST_P(PrivateProfileContract, BlanksAroundKeysAndValuesAreDropped) {
  const std::string f = world_->WriteFile("blanks.ini",
                                          "  [English]  \r\n"
                                          "  DlgTitle  =   Linkscope  Utility   \r\n"
                                          "\tTabbed\t=\tvalue\t\r\n"
                                          "PreambleLong = Long\r\n"
                                          "NoSpace=x=y\r\n");
  EXPECT_EQ("Linkscope  Utility", Get(f, "English", "DlgTitle"));
  EXPECT_EQ("value", Get(f, "English", "Tabbed"));
  // A key asked for with a trailing blank finds the key written without it.
  EXPECT_EQ("Long", Get(f, "English", "PreambleLong "));
  EXPECT_EQ("Long", Get(f, " English\t", "\tPreambleLong"));
  EXPECT_EQ("x=y", Get(f, "English", "NoSpace"));
}

TEST_P(PrivateProfileContract, MatchingQuotesAroundAValueAreRemoved) {
  const std::string f = world_->WriteFile("quotes.ini",
                                          "[S]\r\n"
                                          "Double=\"  padded  \"\r\n"
                                          "Single='single'\r\n"
                                          "Open=\"unmatched\r\n"
                                          "Mixed=\"mixed'\r\n"
                                          "Inner=a \"b\" c\r\n"
                                          "Lone=\"\r\n"
                                          "Pair=\"\"\r\n");
  EXPECT_EQ("  padded  ", Get(f, "S", "Double"));
  EXPECT_EQ("single", Get(f, "S", "Single"));
  EXPECT_EQ("\"unmatched", Get(f, "S", "Open"));
  EXPECT_EQ("\"mixed'", Get(f, "S", "Mixed"));
  EXPECT_EQ("a \"b\" c", Get(f, "S", "Inner"));
  EXPECT_EQ("\"", Get(f, "S", "Lone"));
  EXPECT_EQ("", Get(f, "S", "Pair"));
}

TEST_P(PrivateProfileContract, CommentLinesAreNotKeys) {
  const std::string f = world_->WriteFile("comments.ini",
                                          "; a comment before any section\r\n"
                                          "[English]\r\n"
                                          ";Hidden=1\r\n"
                                          "  ; Indented=2\r\n"
                                          "Visible=3 ; not a comment\r\n");
  EXPECT_EQ("<default>", Get(f, "English", "Hidden"));
  EXPECT_EQ("<default>", Get(f, "English", "Indented"));
  EXPECT_EQ("3 ; not a comment", Get(f, "English", "Visible"));
}

TEST_P(PrivateProfileContract, FirstOfARepeatedKeyWins) {
  const std::string f = world_->WriteFile("repeat.ini", "[S]\r\nKey=first\r\nkey=second\r\n");
  EXPECT_EQ("first", Get(f, "S", "Key"));
}

TEST_P(PrivateProfileContract, PlainLineFeedsWork) {
  const std::string f = world_->WriteFile("lf.ini", "[S]\nA=1\nB=2");
  EXPECT_EQ("1", Get(f, "S", "A"));
  EXPECT_EQ("2", Get(f, "S", "B"));
}

TEST_P(PrivateProfileContract, CanOpenFileTellsExistingFromMissing) {
  const std::string f = world_->WriteFile("exists.ini", "");
  EXPECT_TRUE(world_->Profile().CanOpenFile(f));
  EXPECT_FALSE(world_->Profile().CanOpenFile(world_->MissingPath()));
  EXPECT_EQ("d", Get(f, "S", "K", "d"));
}

TEST_P(PrivateProfileContract, AnEditShowsAtTheNextLookup) {
  const std::string f = world_->WriteFile("edit.ini", "[S]\r\nK=old\r\n");
  EXPECT_EQ("old", Get(f, "S", "K"));
  world_->WriteFile("edit.ini", "[S]\r\nK=new value\r\n");
  EXPECT_EQ("new value", Get(f, "S", "K"));
}

}  // namespace linkscope
