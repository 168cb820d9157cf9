#pragma once
// Reading INI-format text files with the platform's private-profile rules: section and key names
// compare ignoring case, blanks around keys and values are dropped, a value in matching quotes
// loses them, and a value is cut to fit the caller's buffer.

#include <cstdint>
#include <string>

namespace linkscope {

class IPrivateProfile {
 public:
  virtual ~IPrivateProfile() = default;

  // Copies the value of `key` in `section` of `file` (or `defaultValue` when the file, the
  // section or the key is missing) into `buffer`, cut to size - 1 characters and NUL-terminated.
  // Returns the number of characters copied, without the NUL.
  virtual std::uint32_t GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue, char* buffer,
                                  std::uint32_t size, const std::string& file) = 0;

  // Whether the file exists and can be opened for reading.
  virtual bool CanOpenFile(const std::string& path) = 0;
};

}  // namespace linkscope
