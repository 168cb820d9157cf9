#include "config/ProfileStore.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "config/RegistryText.h"

namespace linkscope {

namespace {

constexpr std::uint32_t kBufferSize = 260;

std::string SubkeyPath(const std::string& name) {
  return std::string(ProfileStore::kProfilesKey) + "\\" + name;
}

std::string Upper(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Closes a key when it goes out of scope, for the paths that only read.
class KeyGuard {
 public:
  KeyGuard(IRegistry& registry, RegKey key) : registry_(registry), key_(key) {}
  ~KeyGuard() {
    if (key_ != 0) registry_.CloseKey(key_);
  }
  KeyGuard(const KeyGuard&) = delete;
  KeyGuard& operator=(const KeyGuard&) = delete;
  RegKey Get() const { return key_; }
  // Closes now and reports whether the close succeeded.
  bool Close() {
    const long rc = registry_.CloseKey(key_);
    key_ = 0;
    return rc == kRegOk;
  }

 private:
  IRegistry& registry_;
  RegKey key_;
};

}  // namespace

bool Profile::operator==(const Profile& o) const {
  return name == o.name && ssid == o.ssid && mode == o.mode && channel == o.channel &&
         rate == o.rate && power == o.power && preamble == o.preamble && frag == o.frag &&
         rts == o.rts && enc == o.enc && wepmode == o.wepmode && auth == o.auth &&
         key == o.key && keys == o.keys && roaming == o.roaming && radio == o.radio;
}

bool ProfileStore::IsStorableName(const std::string& name) {
  return !name.empty() && name.find('\\') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

int ProfileStore::Count() {
  std::vector<std::string> names;
  if (!Names(&names)) return -1;
  return static_cast<int>(names.size());
}

bool ProfileStore::Names(std::vector<std::string>* names) {
  names->clear();
  RegKey key = 0;
  if (registry_.OpenKey(kRegCurrentUser, kProfilesKey, RegAccess::Read, &key) != kRegOk) {
    return false;
  }
  KeyGuard guard(registry_, key);
  char name[kBufferSize];
  for (std::uint32_t i = 0;; ++i) {
    std::uint32_t size = sizeof name;
    if (registry_.EnumKey(key, i, name, &size) != kRegOk) break;
    names->emplace_back(name, std::min<std::uint32_t>(size, kBufferSize - 1));
  }
  return guard.Close();
}

ProfileStore::NameStep ProfileStore::ReadNameAt(int index, std::string* name) {
  RegKey key = 0;
  if (registry_.OpenKey(kRegCurrentUser, kProfilesKey, RegAccess::Read, &key) != kRegOk) {
    return NameStep::OpenFailed;
  }
  KeyGuard guard(registry_, key);
  char buffer[kBufferSize];
  std::uint32_t size = sizeof buffer;
  if (index < 0 ||
      registry_.EnumKey(key, static_cast<std::uint32_t>(index), buffer, &size) != kRegOk) {
    return NameStep::NotFound;
  }
  if (!guard.Close()) return NameStep::CloseFailed;
  *name = std::string(buffer, std::min<std::uint32_t>(size, kBufferSize - 1));
  return NameStep::Ok;
}

void ProfileStore::ReportNameStep(NameStep step) {
  switch (step) {
    case NameStep::Ok: break;
    case NameStep::OpenFailed: messages_.ShowFixed("Failed to open the registry key"); break;
    case NameStep::NotFound: messages_.ShowFixed("Failed to find the key"); break;
    case NameStep::CloseFailed: messages_.ShowFixed("Failed to close the registry key!"); break;
  }
}

std::string ProfileStore::NameAt(int index) {
  std::string name;
  const NameStep step = ReadNameAt(index, &name);
  ReportNameStep(step);
  return step == NameStep::Ok ? name : std::string();
}

bool ProfileStore::Load(int index, Profile* profile) {
  std::string name;
  const NameStep step = ReadNameAt(index, &name);
  if (step != NameStep::Ok) {
    ReportNameStep(step);
    return false;
  }
  return LoadValues(name, profile);
}

bool ProfileStore::LoadValues(const std::string& name, Profile* p) {
  RegKey key = 0;
  const bool open =
      registry_.OpenKey(kRegCurrentUser, SubkeyPath(name), RegAccess::Read, &key) == kRegOk;
  // A value that cannot be read is -1 as a number and "ERROR" as a text; missing values do
  // not fail the load.
  auto number = [&](const char* value) -> std::int32_t {
    if (!open) return -1;
    std::uint8_t data[kBufferSize] = {};
    std::uint32_t type = 0, size = sizeof data;
    if (registry_.QueryValue(key, value, &type, data, &size) != kRegOk) return -1;
    return RegistryValueNumber(data, size);
  };
  auto text = [&](const char* value) -> std::string {
    if (!open) return "ERROR";
    std::uint8_t data[kBufferSize] = {};
    std::uint32_t type = 0, size = sizeof data;
    if (registry_.QueryValue(key, value, &type, data, &size) != kRegOk) return "ERROR";
    return RegistryValueText(type, data, size);
  };
  Profile loaded;
  loaded.name = name;
  loaded.ssid = text("ssid");
  loaded.channel = number("channel");
  loaded.rate = number("rate");
  loaded.power = number("power");
  loaded.mode = number("mode");
  loaded.preamble = number("preamble");
  loaded.frag = number("frag");
  loaded.rts = number("rts");
  loaded.enc = number("enc");
  loaded.key = number("key");
  loaded.auth = number("auth");
  loaded.wepmode = number("wepmode");
  loaded.keys[0] = text("key1");
  loaded.keys[1] = text("key2");
  loaded.keys[2] = text("key3");
  loaded.keys[3] = text("key4");
  loaded.radio = number("radio");
  loaded.roaming = number("roaming");
  if (open && registry_.CloseKey(key) != kRegOk) {
    // Values read from a key that could not be closed are not trusted.
    Profile failed;
    failed.name = name;
    failed.ssid = "ERROR";
    failed.keys = {"ERROR", "ERROR", "ERROR", "ERROR"};
    for (std::int32_t* n : {&failed.channel, &failed.rate, &failed.power, &failed.mode,
                            &failed.preamble, &failed.frag, &failed.rts, &failed.enc,
                            &failed.key, &failed.auth, &failed.wepmode, &failed.radio,
                            &failed.roaming}) {
      *n = -1;
    }
    loaded = failed;
  }
  *p = loaded;
  return true;
}

bool ProfileStore::Find(const std::string& name, Profile* profile) {
  // One pass over the names, then one load: the cost grows with the number of profiles, not
  // with its square.
  std::vector<std::string> names;
  if (!Names(&names)) return false;
  const std::string wanted = Upper(name);
  for (const std::string& candidate : names) {
    if (Upper(candidate) == wanted) return LoadValues(candidate, profile);
  }
  return false;
}

bool ProfileStore::Save(const Profile& p, bool askOverwrite) {
  if (p.name.empty()) {
    messages_.Show("ErrorProfileNameEmpty", "Please specify a profile name");
    return false;
  }
  if (!IsStorableName(p.name)) {
    messages_.Show("ErrorSavingProfile", "Registry error. Profile saving failed");
    return false;
  }
  const std::string path = SubkeyPath(p.name);
  if (askOverwrite) {
    RegKey existing = 0;
    if (registry_.OpenKey(kRegCurrentUser, path, RegAccess::Read, &existing) == kRegOk) {
      registry_.CloseKey(existing);
      if (!messages_.Ask("QuestionOverwriteProfile", "Profile name exists. Overwrite?", false)) {
        return false;
      }
    }
  }

  RegKey key = 0;
  const bool created = registry_.CreateKey(kRegCurrentUser, path, &key) == kRegOk;
  bool allWritten = created;
  // Every value is attempted even when one fails.
  auto putText = [&](const char* value, const std::string& s) {
    if (!created) return;
    std::vector<std::uint8_t> bytes(s.begin(), s.end());
    bytes.push_back(0);  // profile texts are stored with their NUL
    if (registry_.SetValue(key, value, kRegSz, bytes.data(),
                           static_cast<std::uint32_t>(bytes.size())) != kRegOk) {
      allWritten = false;
    }
  };
  auto putNumber = [&](const char* value, std::int32_t n) {
    if (!created) return;
    const auto u = static_cast<std::uint32_t>(n);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                                   static_cast<std::uint8_t>(u >> 16),
                                   static_cast<std::uint8_t>(u >> 24)};
    if (registry_.SetValue(key, value, kRegDword, bytes, 4) != kRegOk) allWritten = false;
  };
  putText("ssid", p.ssid);
  putNumber("channel", p.channel);
  putNumber("power", p.power);
  putNumber("rate", p.rate);
  putNumber("mode", p.mode);
  putNumber("preamble", p.preamble);
  putNumber("frag", p.frag);
  putNumber("rts", p.rts);
  putNumber("enc", p.enc);
  putNumber("auth", p.auth);
  putNumber("wepmode", p.wepmode);
  putNumber("key", p.key);
  putText("key1", p.keys[0]);
  putText("key2", p.keys[1]);
  putText("key3", p.keys[2]);
  putText("key4", p.keys[3]);
  putNumber("radio", p.radio);
  putNumber("roaming", p.roaming);
  if (created && registry_.CloseKey(key) != kRegOk) allWritten = false;

  if (!allWritten) {
    messages_.Show("ErrorSavingProfile", "Registry error. Profile saving failed");
    return false;
  }
  return true;
}

bool ProfileStore::Delete(const std::string& name) {
  // An empty name would name the profiles key itself, that is every profile.
  if (!IsStorableName(name)) return false;
  RegKey key = 0;
  if (registry_.OpenKey(kRegCurrentUser, kProfilesKey, RegAccess::All, &key) != kRegOk) {
    messages_.ShowFixed("Failed to open the registry key");
    return false;
  }
  const bool deleted = registry_.DeleteTree(key, name) == kRegOk;
  registry_.CloseKey(key);
  return deleted;
}

bool ProfileStore::CopyKey(RegKey from, RegKey to) {
  std::vector<char> name(16384);
  std::vector<std::uint8_t> data(4096);
  for (std::uint32_t i = 0;; ++i) {
    std::uint32_t nameSize = static_cast<std::uint32_t>(name.size());
    std::uint32_t type = 0;
    std::uint32_t dataSize = static_cast<std::uint32_t>(data.size());
    long rc = registry_.EnumValue(from, i, name.data(), &nameSize, &type, data.data(), &dataSize);
    if (rc == kRegMoreData && dataSize > data.size()) {
      data.resize(dataSize);
      nameSize = static_cast<std::uint32_t>(name.size());
      dataSize = static_cast<std::uint32_t>(data.size());
      rc = registry_.EnumValue(from, i, name.data(), &nameSize, &type, data.data(), &dataSize);
    }
    if (rc == kRegNoMoreItems) break;
    if (rc != kRegOk) return false;
    if (registry_.SetValue(to, std::string(name.data(), nameSize), type, data.data(),
                           dataSize) != kRegOk) {
      return false;
    }
  }
  for (std::uint32_t i = 0;; ++i) {
    std::uint32_t nameSize = static_cast<std::uint32_t>(name.size());
    const long rc = registry_.EnumKey(from, i, name.data(), &nameSize);
    if (rc == kRegNoMoreItems) break;
    if (rc != kRegOk) return false;
    const std::string child(name.data(), nameSize);
    RegKey source = 0, target = 0;
    if (registry_.OpenKey(from, child, RegAccess::Read, &source) != kRegOk) return false;
    KeyGuard sourceGuard(registry_, source);
    if (registry_.CreateKey(to, child, &target) != kRegOk) return false;
    KeyGuard targetGuard(registry_, target);
    if (!CopyKey(source, target)) return false;
  }
  return true;
}

bool ProfileStore::Rename(const std::string& oldName, const std::string& newName) {
  if (!IsStorableName(oldName) || !IsStorableName(newName)) return false;
  if (oldName == newName) {
    RegKey key = 0;
    if (registry_.OpenKey(kRegCurrentUser, SubkeyPath(oldName), RegAccess::Read, &key) != kRegOk) {
      return false;
    }
    registry_.CloseKey(key);
    return true;
  }

  // Copies the tree of one profile to another name; on any failure the partial copy goes
  // again, so the source stays the only complete one.
  auto copyProfile = [&](const std::string& from, const std::string& to, bool* createdNew) {
    RegKey source = 0;
    if (registry_.OpenKey(kRegCurrentUser, SubkeyPath(from), RegAccess::Read, &source) != kRegOk) {
      return false;
    }
    KeyGuard sourceGuard(registry_, source);
    RegKey existing = 0;
    const bool existed =
        registry_.OpenKey(kRegCurrentUser, SubkeyPath(to), RegAccess::Read, &existing) == kRegOk;
    if (existed) registry_.CloseKey(existing);
    RegKey target = 0;
    if (registry_.CreateKey(kRegCurrentUser, SubkeyPath(to), &target) != kRegOk) return false;
    bool copied = CopyKey(source, target);
    if (registry_.CloseKey(target) != kRegOk) copied = false;
    if (!copied && !existed) registry_.DeleteTree(kRegCurrentUser, SubkeyPath(to));
    *createdNew = !existed;
    return copied;
  };
  auto removeProfile = [&](const std::string& name) {
    return registry_.DeleteTree(kRegCurrentUser, SubkeyPath(name)) == kRegOk;
  };

  bool created = false;
  if (Upper(oldName) != Upper(newName)) {
    if (!copyProfile(oldName, newName, &created)) return false;
    if (!removeProfile(oldName)) {
      // Both would now exist; take the copy back so that nothing changed.
      if (created) removeProfile(newName);
      return false;
    }
    return true;
  }

  // Only the letter case changes. Key names ignore case, so the profile goes through a
  // temporary key: copy it there, remove it, copy it back under the new spelling.
  std::string temp;
  for (int n = 0;; ++n) {
    temp = ".rename-" + std::to_string(n);
    RegKey probe = 0;
    if (registry_.OpenKey(kRegCurrentUser, SubkeyPath(temp), RegAccess::Read, &probe) != kRegOk) {
      break;
    }
    registry_.CloseKey(probe);
  }
  if (!copyProfile(oldName, temp, &created)) return false;
  if (!removeProfile(oldName)) {
    removeProfile(temp);
    return false;
  }
  if (!copyProfile(temp, newName, &created)) {
    copyProfile(temp, oldName, &created);  // put the profile back as it was
    removeProfile(temp);
    return false;
  }
  // The profile is renamed; the temporary copy must not stay behind looking like a profile,
  // so a failed removal is tried once more.
  if (!removeProfile(temp)) removeProfile(temp);
  return true;
}

std::string ProfileStore::ReadLastProfile() {
  RegKey key = 0;
  if (registry_.OpenKey(kRegCurrentUser, kProfilesKey, RegAccess::Read, &key) != kRegOk) {
    return std::string();
  }
  std::uint8_t data[kBufferSize] = {};
  std::uint32_t type = 0, size = sizeof data;
  const long rc = registry_.QueryValue(key, kLastProfileValue, &type, data, &size);
  if (registry_.CloseKey(key) != kRegOk || rc != kRegOk) return std::string();
  std::string name(reinterpret_cast<const char*>(data), std::min<std::uint32_t>(size, kBufferSize));
  const std::size_t nul = name.find('\0');
  if (nul != std::string::npos) name.resize(nul);
  return name;
}

bool ProfileStore::WriteLastProfile(const std::string& name) {
  RegKey key = 0;
  if (registry_.OpenKey(kRegCurrentUser, kProfilesKey, RegAccess::Write, &key) != kRegOk) {
    return false;
  }
  // Stored without its NUL: the byte count is the name's length.
  const long rc = registry_.SetValue(key, kLastProfileValue, kRegSz,
                                     reinterpret_cast<const std::uint8_t*>(name.data()),
                                     static_cast<std::uint32_t>(name.size()));
  const bool closed = registry_.CloseKey(key) == kRegOk;
  return rc == kRegOk && closed;
}

}  // namespace linkscope
