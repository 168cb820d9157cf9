// The language and customisation file: whatever its bytes, the program builds a language list
// of at most 20 entries, finds a text for every key in every language (never longer than the
// 1999 characters its buffer holds), and reads every customisation value.

#include <cstdint>
#include <string>

#include "fakes/FakePrivateProfile.h"
#include "fuzz/FuzzCheck.h"
#include "text/LanguageTable.h"
#include "text/OemSettings.h"
#include "ui/ProgramTextKeys.h"

namespace linkscope {
namespace {

// Every key in the current language; `stride` > 1 reads every stride-th key only, which is
// how the other languages are read, to keep the runs quick (the file is read anew for each).
void ReadEverything(const LanguageTable& table, std::size_t stride = 1) {
  const auto& keys = TextKeys();
  for (std::size_t i = 0; i < keys.size(); i += stride) {
    const std::string text = table.Lookup(keys[i].key, keys[i].englishDefault);
    FUZZ_CHECK(text.size() < LanguageTable::kValueBufferSize, "a text fits its buffer");
  }
  const OemSettings oem(table);
  oem.TaskBarOkIcon();
  oem.TaskBarNotOkIcon();
  oem.ToolTipText();
  oem.DevicePollingTimerMsec();
  oem.ShowAdaptersList();
  oem.MaxRssi();
  oem.MaxRssiRFMD();
  oem.MaxLinkQuality();
  oem.MaxLinkQualityRFMD();
  oem.LogoBmp();
  oem.WEPKeysPasswordChar();
  const auto descriptions = oem.LoadDeviceDescriptions(OemSettings::BuiltInDeviceDescriptions());
  FUZZ_CHECK(!descriptions.empty(), "some adapter description is always accepted");
}

}  // namespace
}  // namespace linkscope

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace linkscope;
  FakePrivateProfile files;
  files.SetFile(LanguageTable::kShippedFile, std::string(reinterpret_cast<const char*>(data), size));
  LanguageTable table(files);
  table.ChooseFile();
  table.SelectStartLanguage("English");
  FUZZ_CHECK(table.Languages().size() <= LanguageTable::kMaxLanguages,
             "at most 20 languages are offered");
  ReadEverything(table);
  // Every section is read the same way; a few of them show it.
  for (std::size_t i = 0; i < table.Languages().size() && i < 3; ++i) {
    const std::string& language = table.Languages()[i];
    table.SetCurrentLanguage(language);
    table.HasLanguageEntry(language);
    ReadEverything(table, 16);
  }
  return 0;
}
