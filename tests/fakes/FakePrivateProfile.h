#pragma once
// In-memory INI files read with the platform's private-profile rules.

#include <map>
#include <string>
#include <vector>

#include "platform/PrivateProfile.h"

namespace linkscope {

class FakePrivateProfile : public IPrivateProfile {
 public:
  std::uint32_t GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, char* buffer, std::uint32_t size,
                          const std::string& file) override;
  bool CanOpenFile(const std::string& path) override;

  // Files by path; the content is the file's bytes. Paths compare ignoring letter case.
  void SetFile(const std::string& path, const std::string& content);
  void RemoveFile(const std::string& path);
  // Files that exist but cannot be read.
  void SetUnreadable(const std::string& path, bool unreadable);

  int lookups = 0;
  // The file named by each GetString, in order.
  std::vector<std::string> readFiles;

 private:
  struct Entry {
    std::string content;
    bool unreadable = false;
  };
  const Entry* Find(const std::string& path) const;
  std::map<std::string, Entry> files_;
};

}  // namespace linkscope
