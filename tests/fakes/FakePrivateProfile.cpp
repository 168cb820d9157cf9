#include "fakes/FakePrivateProfile.h"

#include <algorithm>
#include <cstring>

#include "fakes/CaseInsensitive.h"

namespace linkscope {

namespace {

// What the platform drops around names and values: the usual white space and the old
// end-of-file mark (0x1A).
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\x1A';
}

// Names and values end at a NUL byte, as the platform's C strings do.
std::string CutAtNul(const std::string& s) { return s.substr(0, s.find('\0')); }

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string UpperPath(const std::string& path) {
  std::string out = path;
  for (char& c : out) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (c == '/') c = '\\';
  }
  return out;
}

// Finds `key` in `section`; false when either is missing. Lines end at CR or LF; a section
// header is '[' after blanks, its name running to the last ']' of the line (a line without ']'
// is no header); a key line is split at its first '='; comment lines start with ';'.
bool FindValue(const std::string& content, const std::string& section, const std::string& key,
               std::string* value) {
  bool inSection = false;
  std::size_t pos = 0;
  while (pos < content.size()) {
    std::size_t end = content.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = content.size();
    const std::string trimmed = Trim(content.substr(pos, end - pos));
    pos = end + 1;
    if (trimmed.empty() || trimmed[0] == ';') continue;
    const std::size_t close = trimmed.rfind(']');
    if (trimmed[0] == '[' && close != std::string::npos) {
      const std::string name = CutAtNul(Trim(trimmed.substr(1, close - 1)));
      if (inSection) return false;  // the first section of that name is the one read
      inSection = EqualsNoCase(name, section);
      continue;
    }
    if (!inSection) continue;
    const std::size_t eq = trimmed.find('=');
    const std::string name =
        CutAtNul(Trim(eq == std::string::npos ? trimmed : trimmed.substr(0, eq)));
    if (name.empty() || !EqualsNoCase(name, key)) continue;
    *value = eq == std::string::npos ? std::string() : CutAtNul(Trim(trimmed.substr(eq + 1)));
    return true;
  }
  return false;
}

}  // namespace

const FakePrivateProfile::Entry* FakePrivateProfile::Find(const std::string& path) const {
  auto it = files_.find(UpperPath(path));
  return it == files_.end() ? nullptr : &it->second;
}

std::uint32_t FakePrivateProfile::GetString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue, char* buffer,
                                            std::uint32_t size, const std::string& file) {
  ++lookups;
  readFiles.push_back(file);
  if (buffer == nullptr || size == 0) return 0;
  std::string value;
  bool quoted = false;
  const Entry* entry = Find(file);
  // The names asked for lose their surrounding blanks, like the names in the file.
  if (entry != nullptr && !entry->unreadable &&
      FindValue(entry->content, Trim(section), Trim(key), &value)) {
    quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
             value.back() == value[0];
  } else {
    // A default loses its trailing blanks, all but its first character.
    value = defaultValue;
    while (value.size() > 1 && value.back() == ' ') value.pop_back();
  }
  if (quoted) value = value.substr(1);
  std::size_t n = std::min<std::size_t>(value.size(), size - 1);
  // The closing quote goes only when it was copied.
  if (quoted && n == value.size()) --n;
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return static_cast<std::uint32_t>(n);
}

bool FakePrivateProfile::CanOpenFile(const std::string& path) {
  const Entry* entry = Find(path);
  return entry != nullptr && !entry->unreadable;
}

void FakePrivateProfile::SetFile(const std::string& path, const std::string& content) {
  files_[UpperPath(path)].content = content;
}

void FakePrivateProfile::RemoveFile(const std::string& path) { files_.erase(UpperPath(path)); }

void FakePrivateProfile::SetUnreadable(const std::string& path, bool unreadable) {
  files_[UpperPath(path)].unreadable = unreadable;
}

}  // namespace linkscope
