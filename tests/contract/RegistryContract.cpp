#include "contract/RegistryContract.h"

#include <cstring>
#include <set>
#include <vector>

namespace linkscope {

void RegistryContract::SetUp() {
  registry_ = GetParam().make();
  scratchPath_ = "Software\\LinkscopeContract\\" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
  registry_->DeleteTree(kRegCurrentUser, scratchPath_);
  ASSERT_EQ(kRegOk, registry_->CreateKey(kRegCurrentUser, scratchPath_, &scratch_));
}

void RegistryContract::TearDown() {
  if (scratch_ != 0) registry_->CloseKey(scratch_);
  registry_->DeleteTree(kRegCurrentUser, "Software\\LinkscopeContract");
}

void RegistryContract::Put(const std::string& path, const std::string& name, std::uint32_t type,
                           const std::string& bytes) {
  RegKey key = 0;
  ASSERT_EQ(kRegOk, registry_->CreateKey(scratch_, path, &key));
  ASSERT_EQ(kRegOk, registry_->SetValue(key, name, type,
                                        reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                        static_cast<std::uint32_t>(bytes.size())));
  registry_->CloseKey(key);
}

namespace {

std::string Bytes(const std::uint8_t* data, std::uint32_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace

TEST_P(RegistryContract, MissingKeysFailToOpenAndCreateMakesTheWholePath) {
  RegKey key = 0;
  EXPECT_EQ(kRegNotFound, registry_->OpenKey(scratch_, "Missing", RegAccess::Read, &key));
  EXPECT_EQ(kRegNotFound, registry_->OpenKey(scratch_, "A\\B\\C", RegAccess::Read, &key));
  ASSERT_EQ(kRegOk, registry_->CreateKey(scratch_, "A\\B\\C", &key));
  registry_->CloseKey(key);
  ASSERT_EQ(kRegOk, registry_->OpenKey(scratch_, "A\\B", RegAccess::Read, &key));
  registry_->CloseKey(key);
  ASSERT_EQ(kRegOk, registry_->OpenKey(kRegCurrentUser, scratchPath_ + "\\A\\B\\C",
                                       RegAccess::All, &key));
  registry_->CloseKey(key);
}

TEST_P(RegistryContract, KeyNamesIgnoreCaseAndEnumerateAsCreated) {
  RegKey key = 0;
  ASSERT_EQ(kRegOk, registry_->CreateKey(scratch_, "Home Network", &key));
  registry_->CloseKey(key);
  // The same name in other letters is the same key.
  ASSERT_EQ(kRegOk, registry_->CreateKey(scratch_, "HOME network", &key));
  registry_->CloseKey(key);
  ASSERT_EQ(kRegOk, registry_->OpenKey(scratch_, "home NETWORK", RegAccess::Read, &key));
  registry_->CloseKey(key);

  std::uint32_t subKeys = 99, values = 99;
  ASSERT_EQ(kRegOk, registry_->QueryInfoKey(scratch_, &subKeys, &values));
  EXPECT_EQ(1u, subKeys);
  EXPECT_EQ(0u, values);

  char name[260];
  std::uint32_t size = sizeof name;
  ASSERT_EQ(kRegOk, registry_->EnumKey(scratch_, 0, name, &size));
  EXPECT_EQ("Home Network", std::string(name));
  EXPECT_EQ(12u, size);
  size = sizeof name;
  EXPECT_EQ(kRegNoMoreItems, registry_->EnumKey(scratch_, 1, name, &size));
}

// Names reach the registry in the program's code page, Windows-1252; the registry folds every
// letter of it, not only A to Z, and nothing that is not a single letter.
TEST_P(RegistryContract, KeyNamesFoldEveryLetterOfTheCodePage) {
  struct Case {
    const char* created;
    const char* opened;
    bool sameKey;
  };
  const Case cases[] = {
      {"b\xFCro", "B\xDCRO", true},          // u diaeresis
      {"\xE9t\xE9", "\xC9T\xC9", true},       // e acute
      {"\xE6\xF8\xE5", "\xC6\xD8\xC5", true},  // ae, o slash, a ring
      {"\xFF", "\x9F", true},                // y diaeresis and its capital
      {"\x9A\x9E\x9C", "\x8A\x8E\x8C", true},  // s caron, z caron, oe
      {"stra\xDF" "e", "STRASSE", false},     // sharp s has no single capital
      {"\xF7", "\xD7", false},               // division and multiplication signs
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string parent = "case" + std::to_string(n++);
    RegKey key = 0;
    ASSERT_EQ(kRegOk, registry_->CreateKey(scratch_, parent + "\\" + c.created, &key));
    registry_->CloseKey(key);
    const long rc =
        registry_->OpenKey(scratch_, parent + "\\" + c.opened, RegAccess::Read, &key);
    EXPECT_EQ(c.sameKey ? kRegOk : kRegNotFound, rc) << c.created << " / " << c.opened;
    if (rc == kRegOk) registry_->CloseKey(key);
  }
}

TEST_P(RegistryContract, KeyNamesLongerThan255CharactersAreRefused) {
  RegKey key = 0;
  const std::string longest(255, 'n');
  ASSERT_EQ(kRegOk, registry_->CreateKey(scratch_, longest, &key));
  registry_->CloseKey(key);
  ASSERT_EQ(kRegOk, registry_->OpenKey(scratch_, longest, RegAccess::Read, &key));
  registry_->CloseKey(key);
  char name[260];
  std::uint32_t size = sizeof name;
  ASSERT_EQ(kRegOk, registry_->EnumKey(scratch_, 0, name, &size));
  EXPECT_EQ(255u, size);
  // Exactly 256 differs between Windows and Wine; beyond it both refuse.
  for (std::size_t length : {257u, 300u, 1000u}) {
    EXPECT_NE(kRegOk, registry_->CreateKey(scratch_, std::string(length, 'n'), &key)) << length;
    EXPECT_NE(kRegOk, registry_->OpenKey(scratch_, std::string(length, 'n'), RegAccess::Read,
                                         &key))
        << length;
  }
  std::uint32_t subKeys = 0;
  ASSERT_EQ(kRegOk, registry_->QueryInfoKey(scratch_, &subKeys, nullptr));
  EXPECT_EQ(1u, subKeys);
}

TEST_P(RegistryContract, SubkeysEnumerateInNameOrderIgnoringCase) {
  for (const char* n : {"delta", "Bravo", "alpha", "Charlie"}) {
    RegKey key = 0;
    ASSERT_EQ(kRegOk, registry_->CreateKey(scratch_, n, &key));
    registry_->CloseKey(key);
  }
  std::vector<std::string> seen;
  char name[260];
  for (std::uint32_t i = 0;; ++i) {
    std::uint32_t size = sizeof name;
    const long rc = registry_->EnumKey(scratch_, i, name, &size);
    if (rc == kRegNoMoreItems) break;
    ASSERT_EQ(kRegOk, rc);
    seen.emplace_back(name, size);
  }
  EXPECT_EQ((std::vector<std::string>{"alpha", "Bravo", "Charlie", "delta"}), seen);
}

TEST_P(RegistryContract, EnumKeyWithTooSmallBufferAsksForMore) {
  RegKey key = 0;
  ASSERT_EQ(kRegOk, registry_->CreateKey(scratch_, "LongerName", &key));
  registry_->CloseKey(key);
  char name[8];
  std::uint32_t size = sizeof name;
  EXPECT_EQ(kRegMoreData, registry_->EnumKey(scratch_, 0, name, &size));
}

TEST_P(RegistryContract, TextWithoutNulReadsBackWithoutIt) {
  Put("", "ssid", kRegSz, "Home");
  std::uint8_t data[260];
  std::memset(data, 0xCC, sizeof data);
  std::uint32_t type = 0, size = sizeof data;
  ASSERT_EQ(kRegOk, registry_->QueryValue(scratch_, "ssid", &type, data, &size));
  EXPECT_EQ(kRegSz, type);
  EXPECT_EQ(4u, size);
  EXPECT_EQ("Home", Bytes(data, 4));
}

TEST_P(RegistryContract, TextWithNulReadsBackWithIt) {
  Put("", "name", kRegSz, std::string("Office\0", 7));
  std::uint8_t data[260];
  std::uint32_t type = 0, size = sizeof data;
  ASSERT_EQ(kRegOk, registry_->QueryValue(scratch_, "name", &type, data, &size));
  EXPECT_EQ(kRegSz, type);
  EXPECT_EQ(7u, size);
  EXPECT_EQ(std::string("Office\0", 7), Bytes(data, 7));
}

TEST_P(RegistryContract, ValueTypesComeBackAsStored) {
  const std::string dword("\x2A\x09\x00\x00", 4);
  const std::string binary("\x01\x00\xFF\x7F\x80", 5);
  Put("", "Frag", kRegDword, dword);
  Put("", "Blob", kRegBinary, binary);
  Put("", "Text", kRegSz, "2346");
  struct Expect {
    const char* name;
    std::uint32_t type;
    std::string bytes;
  };
  for (const Expect& e : {Expect{"Frag", kRegDword, dword}, Expect{"Blob", kRegBinary, binary},
                          Expect{"Text", kRegSz, "2346"}}) {
    std::uint8_t data[260];
    std::uint32_t type = 0, size = sizeof data;
    ASSERT_EQ(kRegOk, registry_->QueryValue(scratch_, e.name, &type, data, &size)) << e.name;
    EXPECT_EQ(e.type, type) << e.name;
    EXPECT_EQ(e.bytes, Bytes(data, size)) << e.name;
  }
}

TEST_P(RegistryContract, ValueNamesIgnoreCaseAndOverwriteKeepsOneValue) {
  Put("", "Channel", kRegSz, "10");
  Put("", "CHANNEL", kRegSz, "11");
  std::uint32_t values = 0;
  ASSERT_EQ(kRegOk, registry_->QueryInfoKey(scratch_, nullptr, &values));
  EXPECT_EQ(1u, values);
  std::uint8_t data[16];
  std::uint32_t size = sizeof data;
  ASSERT_EQ(kRegOk, registry_->QueryValue(scratch_, "channel", nullptr, data, &size));
  EXPECT_EQ("11", Bytes(data, size));
}

TEST_P(RegistryContract, TooLargeValueFailsWithMoreDataAndLeavesTheBufferAlone) {
  const std::string big(300, 'x');
  Put("", "big", kRegSz, big);
  Put("", "blob", kRegBinary, big);
  for (const char* name : {"big", "blob"}) {
    std::uint8_t data[260];
    std::memset(data, 0xCC, sizeof data);
    std::uint32_t type = 0, size = sizeof data;
    EXPECT_EQ(kRegMoreData, registry_->QueryValue(scratch_, name, &type, data, &size)) << name;
    EXPECT_EQ(300u, size) << name;
    EXPECT_EQ(std::string(260, '\xCC'), Bytes(data, 260)) << name;
  }
}

TEST_P(RegistryContract, SizeQueryWithoutBufferReportsTheByteCount) {
  Put("", "ssid", kRegSz, "abcdef");
  std::uint32_t type = 0, size = 0;
  ASSERT_EQ(kRegOk, registry_->QueryValue(scratch_, "ssid", &type, nullptr, &size));
  EXPECT_EQ(6u, size);
  EXPECT_EQ(kRegSz, type);
}

TEST_P(RegistryContract, MissingValueIsNotFound) {
  std::uint8_t data[16];
  std::uint32_t size = sizeof data;
  EXPECT_EQ(kRegNotFound, registry_->QueryValue(scratch_, "nothing", nullptr, data, &size));
  EXPECT_EQ(kRegNotFound, registry_->DeleteValue(scratch_, "nothing"));
}

TEST_P(RegistryContract, EnumValueListsNamesTypesAndData) {
  Put("", "mode", kRegSz, "1");
  Put("", "rate", kRegDword, std::string("\x04\x00\x00\x00", 4));
  std::set<std::string> seen;
  for (std::uint32_t i = 0;; ++i) {
    char name[260];
    std::uint8_t data[260];
    std::uint32_t nameSize = sizeof name, type = 0, dataSize = sizeof data;
    const long rc = registry_->EnumValue(scratch_, i, name, &nameSize, &type, data, &dataSize);
    if (rc == kRegNoMoreItems) break;
    ASSERT_EQ(kRegOk, rc);
    EXPECT_EQ(std::strlen(name), nameSize);
    seen.insert(std::string(name) + ":" + std::to_string(type) + ":" + Bytes(data, dataSize));
  }
  EXPECT_EQ((std::set<std::string>{"mode:1:1", std::string("rate:4:\x04\0\0\0", 11)}), seen);

  char name[2];
  std::uint32_t nameSize = sizeof name;
  EXPECT_EQ(kRegMoreData, registry_->EnumValue(scratch_, 0, name, &nameSize, nullptr, nullptr,
                                               nullptr));
}

TEST_P(RegistryContract, DeleteValueRemovesOnlyThatValue) {
  Put("", "a", kRegSz, "1");
  Put("", "b", kRegSz, "2");
  ASSERT_EQ(kRegOk, registry_->DeleteValue(scratch_, "A"));
  std::uint8_t data[16];
  std::uint32_t size = sizeof data;
  EXPECT_EQ(kRegNotFound, registry_->QueryValue(scratch_, "a", nullptr, data, &size));
  size = sizeof data;
  EXPECT_EQ(kRegOk, registry_->QueryValue(scratch_, "b", nullptr, data, &size));
}

TEST_P(RegistryContract, DeleteKeyRefusesAKeyWithSubkeys) {
  RegKey key = 0;
  ASSERT_EQ(kRegOk, registry_->CreateKey(scratch_, "Parent\\Child", &key));
  registry_->CloseKey(key);
  EXPECT_NE(kRegOk, registry_->DeleteKey(scratch_, "Parent"));
  EXPECT_EQ(kRegOk, registry_->DeleteKey(scratch_, "Parent\\Child"));
  EXPECT_EQ(kRegOk, registry_->DeleteKey(scratch_, "Parent"));
  EXPECT_EQ(kRegNotFound, registry_->OpenKey(scratch_, "Parent", RegAccess::Read, &key));
  EXPECT_EQ(kRegNotFound, registry_->DeleteKey(scratch_, "Parent"));
}

TEST_P(RegistryContract, DeleteTreeRemovesEverythingBelowAndKeepsSiblings) {
  Put("Profiles\\Home", "ssid", kRegSz, "home");
  Put("Profiles\\Home\\Deeper\\Still", "x", kRegDword, std::string(4, '\0'));
  Put("Profiles\\Office", "ssid", kRegSz, "office");
  Put("Profiles", "LastProfile", kRegSz, "Home");

  ASSERT_EQ(kRegOk, registry_->DeleteTree(scratch_, "Profiles\\HOME"));
  RegKey key = 0;
  EXPECT_EQ(kRegNotFound, registry_->OpenKey(scratch_, "Profiles\\Home", RegAccess::Read, &key));
  EXPECT_EQ(kRegNotFound,
            registry_->OpenKey(scratch_, "Profiles\\Home\\Deeper", RegAccess::Read, &key));
  ASSERT_EQ(kRegOk, registry_->OpenKey(scratch_, "Profiles\\Office", RegAccess::Read, &key));
  registry_->CloseKey(key);

  ASSERT_EQ(kRegOk, registry_->DeleteTree(scratch_, "Profiles"));
  EXPECT_EQ(kRegNotFound, registry_->OpenKey(scratch_, "Profiles", RegAccess::Read, &key));
  EXPECT_EQ(kRegNotFound, registry_->DeleteTree(scratch_, "Profiles"));
}

}  // namespace linkscope
