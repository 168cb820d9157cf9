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

namespace linkscope {

// The shipped language file is Windows-1252. Read through the ANSI functions its accented
// letters come back as the same single bytes, so a section name has as many bytes as letters.
TEST_P(PrivateProfileContract, Windows1252BytesComeBackUnchanged) {
  const std::string f = world_->WriteFile("ansi.ini",
                                          "[Languages]\r\nLanguage-1=Fran\xE7" "ais\r\n"
                                          "Language-2=Deutsch\r\n"
                                          "[Fran\xE7" "ais]\r\nDlgTitle=Utilitaire r\xE9seau\r\n"
                                          "[Deutsch]\r\n\xDC" "bersicht=\xC4\xD6\xDC\xE4\xF6\xFC\xDF\r\n");
  EXPECT_EQ("Fran\xE7" "ais", Get(f, "Languages", "Language-1"));
  EXPECT_EQ("Utilitaire r\xE9seau", Get(f, "Fran\xE7" "ais", "DlgTitle"));
  EXPECT_EQ("\xC4\xD6\xDC\xE4\xF6\xFC\xDF", Get(f, "Deutsch", "\xDC" "bersicht"));
  // Letter case is ignored for plain letters only; an accented capital is another name.
  EXPECT_EQ("<default>", Get(f, "FRAN\xC7" "AIS", "DlgTitle"));
  EXPECT_EQ("Utilitaire r\xE9seau", Get(f, "fRAN\xE7" "AIS", "dlgtitle"));
}

// UTF-8 without a byte-order mark is not decoded: a letter comes back as its two bytes.
TEST_P(PrivateProfileContract, Utf8WithoutMarkIsReadAsBytes) {
  const std::string f = world_->WriteFile("utf8.ini", "[S]\r\nK=Fran\xC3\xA7" "ais\r\n");
  EXPECT_EQ("Fran\xC3\xA7" "ais", Get(f, "S", "K"));
}

TEST_P(PrivateProfileContract, ControlAndHighBytesStayNulEndsAValueOrName) {
  std::string content = "[S]\r\nA=x\x01\x7F\x80\x81\x8D\x9D\xFFy\r\nB=ab";
  content += '\0';
  content += "cd\r\nC";
  content += '\0';
  content += "D=1\r\n";
  content += '\0';
  content += "E=2\r\nF=3\x1A\r\nG=\xA0" "4\xA0\r\n\x1A[T]\r\nH=5\r\n";
  const std::string f = world_->WriteFile("binary.ini", content);
  EXPECT_EQ("x\x01\x7F\x80\x81\x8D\x9D\xFFy", Get(f, "S", "A"));
  EXPECT_EQ("ab", Get(f, "S", "B"));
  EXPECT_EQ("1", Get(f, "S", "C"));
  EXPECT_EQ("<default>", Get(f, "S", "E"));
  // The old end-of-file mark counts as a blank; a no-break space does not.
  EXPECT_EQ("3", Get(f, "S", "F"));
  EXPECT_EQ("\xA0" "4\xA0", Get(f, "S", "G"));
  EXPECT_EQ("5", Get(f, "T", "H"));
}

TEST_P(PrivateProfileContract, CarriageReturnAloneEndsALine) {
  const std::string f = world_->WriteFile("cr.ini", "[S]\rA=1\rB=2\r\n[T]\nC=3\n");
  EXPECT_EQ("1", Get(f, "S", "A"));
  EXPECT_EQ("2", Get(f, "S", "B"));
  EXPECT_EQ("3", Get(f, "T", "C"));
}

TEST_P(PrivateProfileContract, SectionHeaderNamesRunToTheLastBracket) {
  const std::string f = world_->WriteFile("headers.ini",
                                          "[S]x\r\nA=1\r\n[T\r\nB=2\r\n [ U ] \r\nC=3\r\n"
                                          "[V]]\r\nD=4\r\n");
  EXPECT_EQ("1", Get(f, "S", "A"));
  // A line without a closing bracket opens no section.
  EXPECT_EQ("<default>", Get(f, "T", "B"));
  EXPECT_EQ("2", Get(f, "S", "B"));
  EXPECT_EQ("3", Get(f, "U", "C"));
  EXPECT_EQ("4", Get(f, "V]", "D"));
  EXPECT_EQ("<default>", Get(f, "V", "D"));
}

TEST_P(PrivateProfileContract, KeyAskedWithATrailingTabFindsTheKey) {
  const std::string f = world_->WriteFile("tab.ini", "[English]\r\nWEP64Bit=64 Bit\r\n");
  EXPECT_EQ("64 Bit", Get(f, "English", "WEP64Bit\t"));
}

// A default comes back as given apart from trailing blanks: a line feed, which no value read
// from a file can hold, marks a missing key.
TEST_P(PrivateProfileContract, DefaultKeepsEverythingButTrailingBlanks) {
  const std::string f = world_->WriteFile("defaults.ini", "[S]\r\nEmpty=\r\n");
  EXPECT_EQ("\n", Get(f, "S", "Missing", "\n"));
  EXPECT_EQ("a\t \n", Get(f, "S", "Missing", "a\t \n  "));
  EXPECT_EQ(" ", Get(f, "S", "Missing", " "));
  EXPECT_EQ("", Get(f, "S", "Empty", "\n"));
}

TEST_P(PrivateProfileContract, HugeLineIsCutAndLaterKeysAreStillFound) {
  const std::string f = world_->WriteFile(
      "huge.ini", "[S]\r\nHuge=" + std::string(1 << 20, 'h') + "\r\nAfter=ok\r\n");
  EXPECT_EQ(std::string(1999, 'h'), Get(f, "S", "Huge"));
  EXPECT_EQ("ok", Get(f, "S", "After"));
}

}  // namespace linkscope
