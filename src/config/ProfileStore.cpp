#include "config/ProfileStore.h"

#include <algorithm>
#include <cstring>

#include "config/RegistryText.h"

namespace linkscope {

namespace {

constexpr std::uint32_t kBufferSize = 260;
// The registry refuses key names of 256 characters or more.
constexpr std::size_t kMaxNameLength = 255;
// Inside the change key: the profile's new form, and the value that commits the change (the
// name of the profile written, a NUL, the name of the profile removed).
constexpr const char* kChangeCopy = "Copy";
constexpr const char* kChangePending = "Pending";

bool IsKeyName(const std::string& name) {
  return !name.empty() && name.find('\\') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

bool StoredName(const std::vector<std::string>& names, const std::string& name,
                std::string* stored) {
  for (const std::string& candidate : names) {
    if (RegistryNamesEqual(candidate, name)) {
      *stored = candidate;
      return true;
    }
  }
  return false;
}

// Closes a key when it goes out of scope.
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
  return IsKeyName(name) && name.size() <= kMaxNameLength;
}

int ProfileStore::Count() {
  std::vector<std::string> names;
  if (!Names(&names)) return -1;
  return static_cast<int>(names.size());
}

bool ProfileStore::ListNames(RegKey profiles, std::vector<std::string>* names) {
  char name[kBufferSize];
  for (std::uint32_t i = 0;; ++i) {
    std::uint32_t size = sizeof name;
    const long rc = registry_.EnumKey(profiles, i, name, &size);
    if (rc == kRegNoMoreItems) return true;
    // A name too long for the buffer is no profile of this program; the list goes on past it.
    if (rc == kRegMoreData) continue;
    // Any other failure would cut the list short and make the profiles after it look lost.
    if (rc != kRegOk) return false;
    names->emplace_back(name, std::min<std::uint32_t>(size, kBufferSize - 1));
  }
}

bool ProfileStore::Names(std::vector<std::string>* names) {
  names->clear();
  if (!Settle()) return false;
  RegKey key = 0;
  if (registry_.OpenKey(kRegCurrentUser, kProfilesKey, RegAccess::Read, &key) != kRegOk) {
    return false;
  }
  KeyGuard guard(registry_, key);
  if (!ListNames(key, names)) {
    names->clear();
    return false;
  }
  return guard.Close();
}

ProfileStore::NameStep ProfileStore::ReadNameAt(int index, std::string* name) {
  if (!Settle()) return NameStep::OpenFailed;
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
  RegKey profiles = 0;
  if (registry_.OpenKey(kRegCurrentUser, kProfilesKey, RegAccess::Read, &profiles) != kRegOk) {
    profiles = 0;
  }
  KeyGuard guard(registry_, profiles);
  return LoadValues(profiles, name, profile);
}

// The subkey is opened below the open profiles key rather than by its whole path: a long name
// would make the path longer than the registry's text functions take.
bool ProfileStore::LoadValues(RegKey profiles, const std::string& name, Profile* p) {
  RegKey key = 0;
  const long opened =
      profiles != 0 ? registry_.OpenKey(profiles, name, RegAccess::Read, &key) : kRegNotFound;
  const bool open = opened == kRegOk;
  // A value that is missing (or too long to read) is -1 as a number and "ERROR" as a text, and
  // does not fail the load. A value that is there but the registry would not hand over fails
  // it: a profile half read must not be applied or compared as if it were stored so.
  bool unreadable = opened != kRegOk && opened != kRegNotFound;
  auto readable = [&](long result) {
    if (result != kRegOk && result != kRegNotFound && result != kRegMoreData) unreadable = true;
    return result == kRegOk;
  };
  auto number = [&](const char* value) -> std::int32_t {
    if (!open) return -1;
    std::uint8_t data[kBufferSize] = {};
    std::uint32_t type = 0, size = sizeof data;
    if (!readable(registry_.QueryValue(key, value, &type, data, &size))) return -1;
    return RegistryValueNumber(data, size);
  };
  auto text = [&](const char* value) -> std::string {
    if (!open) return "ERROR";
    std::uint8_t data[kBufferSize] = {};
    std::uint32_t type = 0, size = sizeof data;
    if (!readable(registry_.QueryValue(key, value, &type, data, &size))) return "ERROR";
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
  // Values read from a key that could not be closed are not trusted either.
  if (open && registry_.CloseKey(key) != kRegOk) unreadable = true;
  if (unreadable) return false;
  *p = loaded;
  return true;
}

bool ProfileStore::Find(const std::string& name, Profile* profile) {
  // One pass over the names, then one load: the cost grows with the number of profiles, not
  // with its square.
  if (!Settle()) return false;
  RegKey key = 0;
  if (registry_.OpenKey(kRegCurrentUser, kProfilesKey, RegAccess::Read, &key) != kRegOk) {
    return false;
  }
  KeyGuard guard(registry_, key);
  std::vector<std::string> names;
  std::string stored;
  if (!ListNames(key, &names) || !StoredName(names, name, &stored)) return false;
  return LoadValues(key, stored, profile);
}

bool ProfileStore::Settle() {
  RegKey change = 0;
  const long opened = registry_.OpenKey(kRegCurrentUser, kChangeKey, RegAccess::Read, &change);
  if (opened == kRegNotFound) return true;
  if (opened != kRegOk) return false;
  // Room for two names of any length the registry takes, in any code page.
  std::vector<std::uint8_t> data(2048);
  std::uint32_t type = 0, size = static_cast<std::uint32_t>(data.size());
  const long queried = registry_.QueryValue(change, kChangePending, &type, data.data(), &size);
  registry_.CloseKey(change);
  if (queried == kRegNotFound) {
    // A change written but never committed changes nothing: its leftovers go when they can.
    registry_.DeleteTree(kRegCurrentUser, kChangeKey);
    return true;
  }
  // A commit longer than any this program writes, or naming a key the registry refuses (the
  // change key was edited by hand or corrupted), can never be finished: it is dropped, never
  // followed into another key, so that it does not stop every later operation of the store.
  if (queried == kRegMoreData) return Finish();
  if (queried != kRegOk) return false;
  const std::string pending(reinterpret_cast<const char*>(data.data()), size);
  const std::size_t nul = pending.find('\0');
  const std::string target = pending.substr(0, nul);
  const std::string removed = nul == std::string::npos ? std::string() : pending.substr(nul + 1);
  if ((!target.empty() && !IsStorableName(target)) ||
      (!removed.empty() && !IsStorableName(removed))) {
    return Finish();
  }
  return PutInPlace(target, removed);
}

bool ProfileStore::PutInPlace(const std::string& target, const std::string& removed) {
  // Every step can be repeated: a change interrupted anywhere here is finished by running it
  // again from the start.
  RegKey copy = 0;
  if (!target.empty()) {
    // The copy goes only after the commit: a commit without its copy is a change that was
    // already in place when the change key's deletion stopped part-way (or a key edited by
    // hand). Its profiles are left alone, and the commit goes.
    const long opened = registry_.OpenKey(
        kRegCurrentUser, std::string(kChangeKey) + "\\" + kChangeCopy, RegAccess::Read, &copy);
    if (opened == kRegNotFound) return Finish();
    if (opened != kRegOk) return false;
  }
  KeyGuard copyGuard(registry_, copy);
  RegKey profiles = 0;
  if (registry_.CreateKey(kRegCurrentUser, kProfilesKey, &profiles) != kRegOk) return false;
  KeyGuard profilesGuard(registry_, profiles);
  auto gone = [&](const std::string& name) {
    const long rc = registry_.DeleteTree(profiles, name);
    return rc == kRegOk || rc == kRegNotFound;
  };
  // A rename to another key removes the old profile once the new one is complete; a change of
  // letter case only removes it first, since it is the same key.
  const bool removedFirst = !removed.empty() && RegistryNamesEqual(removed, target);
  if (removedFirst && !gone(removed)) return false;
  if (!target.empty()) {
    // The profile being replaced, or a copy that an earlier attempt left half-made.
    if (!gone(target)) return false;
    RegKey made = 0;
    if (registry_.CreateKey(profiles, target, &made) != kRegOk) return false;
    KeyGuard madeGuard(registry_, made);
    if (!CopyKey(copy, made)) return false;
  }
  if (!removed.empty() && !removedFirst && !gone(removed)) return false;
  return Finish();
}

bool ProfileStore::Finish() {
  // The commit goes first, in one step: once it is gone, whatever the change key still holds
  // is leftovers that the next operation clears, never a change to finish again.
  RegKey change = 0;
  const long opened = registry_.OpenKey(kRegCurrentUser, kChangeKey, RegAccess::All, &change);
  if (opened == kRegNotFound) return true;
  if (opened != kRegOk) return false;
  const long deleted = registry_.DeleteValue(change, kChangePending);
  registry_.CloseKey(change);
  if (deleted != kRegOk && deleted != kRegNotFound) return false;
  registry_.DeleteTree(kRegCurrentUser, kChangeKey);
  return true;
}

bool ProfileStore::Change(const std::string& target, const std::string& removed,
                          const std::function<bool(RegKey copy)>& fill) {
  // What an earlier change wrote without committing it goes first.
  const long cleared = registry_.DeleteTree(kRegCurrentUser, kChangeKey);
  if (cleared != kRegOk && cleared != kRegNotFound) return false;
  RegKey change = 0;
  if (registry_.CreateKey(kRegCurrentUser, kChangeKey, &change) != kRegOk) return false;
  bool committed = false;
  {
    KeyGuard changeGuard(registry_, change);
    bool written = true;
    if (!target.empty()) {
      RegKey copy = 0;
      written = registry_.CreateKey(change, kChangeCopy, &copy) == kRegOk;
      if (written) {
        written = fill(copy);
        if (registry_.CloseKey(copy) != kRegOk) written = false;
      }
    }
    if (written) {
      std::string pending = target;
      pending += '\0';
      pending += removed;
      committed = registry_.SetValue(change, kChangePending, kRegBinary,
                                     reinterpret_cast<const std::uint8_t*>(pending.data()),
                                     static_cast<std::uint32_t>(pending.size())) == kRegOk;
    }
  }
  if (!committed) {
    // Nothing visible changed; what is left here is cleared by the next change.
    registry_.DeleteTree(kRegCurrentUser, kChangeKey);
    return false;
  }
  // Committed: whatever does not get into place now, the next operation of the store finishes.
  PutInPlace(target, removed);
  return true;
}

bool ProfileStore::Save(const Profile& p, bool askOverwrite) {
  if (p.name.empty()) {
    messages_.Show("ErrorProfileNameEmpty", "Please specify a profile name");
    return false;
  }
  auto failed = [&] {
    messages_.Show("ErrorSavingProfile", "Registry error. Profile saving failed");
    return false;
  };
  if (!IsStorableName(p.name) || !Settle()) return failed();

  // A profile of that name in another letter case is the same key: it is saved over, and keeps
  // its spelling.
  RegKey profiles = 0;
  const long opened =
      registry_.OpenKey(kRegCurrentUser, kProfilesKey, RegAccess::Read, &profiles);
  if (opened != kRegOk && opened != kRegNotFound) return failed();
  if (opened != kRegOk) profiles = 0;
  KeyGuard profilesGuard(registry_, profiles);
  std::string existing;
  if (profiles != 0) {
    std::vector<std::string> names;
    if (!ListNames(profiles, &names)) return failed();
    StoredName(names, p.name, &existing);
  }
  if (!existing.empty() && askOverwrite &&
      !messages_.Ask("QuestionOverwriteProfile", "Profile name exists. Overwrite?", false)) {
    return false;
  }

  auto fill = [&](RegKey copy) {
    if (!existing.empty()) {
      // Anything else the profile's key holds stays with it.
      RegKey old = 0;
      if (registry_.OpenKey(profiles, existing, RegAccess::Read, &old) != kRegOk) return false;
      KeyGuard oldGuard(registry_, old);
      if (!CopyKey(old, copy)) return false;
    }
    auto putText = [&](const char* value, const std::string& s) {
      std::vector<std::uint8_t> bytes(s.begin(), s.end());
      bytes.push_back(0);  // profile texts are stored with their NUL
      return registry_.SetValue(copy, value, kRegSz, bytes.data(),
                                static_cast<std::uint32_t>(bytes.size())) == kRegOk;
    };
    auto putNumber = [&](const char* value, std::int32_t n) {
      const auto u = static_cast<std::uint32_t>(n);
      const std::uint8_t bytes[4] = {
          static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
          static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
      return registry_.SetValue(copy, value, kRegDword, bytes, 4) == kRegOk;
    };
    return putText("ssid", p.ssid) && putNumber("channel", p.channel) &&
           putNumber("power", p.power) && putNumber("rate", p.rate) &&
           putNumber("mode", p.mode) && putNumber("preamble", p.preamble) &&
           putNumber("frag", p.frag) && putNumber("rts", p.rts) && putNumber("enc", p.enc) &&
           putNumber("auth", p.auth) && putNumber("wepmode", p.wepmode) &&
           putNumber("key", p.key) && putText("key1", p.keys[0]) &&
           putText("key2", p.keys[1]) && putText("key3", p.keys[2]) &&
           putText("key4", p.keys[3]) && putNumber("radio", p.radio) &&
           putNumber("roaming", p.roaming);
  };
  if (!Change(existing.empty() ? p.name : existing, std::string(), fill)) return failed();
  return true;
}

bool ProfileStore::Delete(const std::string& name) {
  // An empty name would name the profiles key itself, that is every profile.
  if (!IsKeyName(name)) return false;
  RegKey key = 0;
  if (!Settle() ||
      registry_.OpenKey(kRegCurrentUser, kProfilesKey, RegAccess::All, &key) != kRegOk) {
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
  if (!IsKeyName(oldName) || !IsStorableName(newName) || !Settle()) return false;
  RegKey profiles = 0;
  if (registry_.OpenKey(kRegCurrentUser, kProfilesKey, RegAccess::Read, &profiles) != kRegOk) {
    return false;
  }
  KeyGuard profilesGuard(registry_, profiles);
  std::vector<std::string> names;
  std::string stored;
  if (!ListNames(profiles, &names) || !StoredName(names, oldName, &stored)) return false;
  if (oldName == newName || stored == newName) return true;
  // Key names ignore letter case: a new name that another profile bears in any case would be
  // that profile's key.
  for (const std::string& other : names) {
    if (other != stored && RegistryNamesEqual(other, newName)) return false;
  }
  // A change of letter case only works the same way: the copy waits beside the profiles while
  // the old key goes, then comes back under the new spelling.
  auto fill = [&](RegKey copy) {
    RegKey old = 0;
    if (registry_.OpenKey(profiles, stored, RegAccess::Read, &old) != kRegOk) return false;
    KeyGuard oldGuard(registry_, old);
    return CopyKey(old, copy);
  };
  return Change(newName, stored, fill);
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
