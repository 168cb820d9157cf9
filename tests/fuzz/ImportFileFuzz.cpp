// The command-line companion's profile import file: any bytes are either refused with a line
// and a reason, or give a complete profile that, exported again, reads back as the same
// profile, and exports to the same bytes a second time.

#include <cstdint>
#include <string>

#include "cli/ProfileFile.h"
#include "fuzz/FuzzCheck.h"

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
  return 0;
}
