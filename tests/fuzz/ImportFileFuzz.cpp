// The command-line companion's profile import file: any bytes are either refused with a line
// and a reason, or give a complete profile that, exported again, reads back as the same
// profile, and exports to the same bytes a second time. An accepted profile is also stored as
// import stores it, read back from the store and exported: the store must give back the
// profile the file named, byte for byte.

#include <cstdint>
#include <string>

#include "cli/ProfileFile.h"
#include "config/ProfileStore.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeWindowSystem.h"
#include "fuzz/FuzzCheck.h"
#include "text/Messages.h"
#include "text/TextSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace linkscope;
  const ProfileFileResult read =
      ParseProfileFile(std::string(reinterpret_cast<const char*>(data), size));
  if (!read.ok) {
    FUZZ_CHECK(read.line >= 1 && !read.message.empty(), "a refused file names a line and why");
    return 0;
  }
  const std::string written = WriteProfileFile(read.profile);
  const ProfileFileResult again = ParseProfileFile(written);
  FUZZ_CHECK(again.ok, "an imported profile exports to a file that imports");
  FUZZ_CHECK(again.profile == read.profile, "an imported profile survives export and import");
  FUZZ_CHECK(WriteProfileFile(again.profile) == written, "export is stable");

  FakeRegistry registry;
  FakeWindowSystem windows;
  DefaultTexts texts;
  Messages messages(windows, texts);
  ProfileStore store(registry, messages);
  FUZZ_CHECK(store.Save(read.profile, false), "an accepted profile can be stored");
  Profile stored;
  FUZZ_CHECK(store.Find(read.profile.name, &stored), "a stored profile is found by its name");
  FUZZ_CHECK(WriteProfileFile(stored) == written, "the store gives back the profile imported");
  return 0;
}
