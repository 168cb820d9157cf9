#pragma once
// The text file one profile is exported to and imported from. Every field of the profile is
// one line "field = value"; lines beginning with '#' are comments. The first line warns that
// the file holds the WEP keys in clear.
//
// A file comes from outside: ParseProfileFile checks every field and its range and either
// returns a complete profile or says which line is wrong. It never throws and never reads
// outside the bytes it is given.

#include <cstddef>
#include <string>

#include "config/Profile.h"

namespace linkscope {

// What a parse found. When `ok` is false, `line` is the 1-based line at fault (for a missing
// field, the line after the last one) and `message` says what is wrong with it.
struct ProfileFileResult {
  bool ok = false;
  Profile profile;
  std::size_t line = 0;
  std::string message;
};

// The file for `profile`, CRLF line ends.
std::string WriteProfileFile(const Profile& profile);

// Reads the bytes of an export file.
ProfileFileResult ParseProfileFile(const std::string& bytes);

// Files larger than this are not profile files.
constexpr std::size_t kMaxProfileFileSize = 64 * 1024;
constexpr int kProfileFileFormat = 1;

}  // namespace linkscope
