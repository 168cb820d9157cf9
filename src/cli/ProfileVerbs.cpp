// The profile verbs: profiles, apply, export and import.

#include "cli/CliVerbs.h"
#include "cli/ProfileFile.h"
#include "config/ProfileNames.h"
#include "text/OemSettings.h"
#include "ui/ProfileSwitcher.h"

namespace linkscope {

namespace {

// Profile names as the store compares them: letter case ignored.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto up = [](char ch) { return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch; };
    if (up(a[i]) != up(b[i])) return false;
  }
  return true;
}

}  // namespace

int CliProgram::Profiles(const Options& o) {
  const int started = Start(false, 0);
  if (started != kExitOk) return started;
  Core& c = *core_;
  std::vector<std::string> names;
  if (!c.profiles.Names(&names)) names.clear();  // no profiles key yet: no profiles
  std::string current = c.profiles.ReadLastProfile();
  if (current.empty()) current = kDefaultProfileName;
  auto isCurrent = [&](const std::string& name) { return SameName(name, current); };
  if (o.json) {
    std::string j = "[";
    for (std::size_t i = 0; i < names.size(); ++i) {
      Profile p;
      const bool loaded = c.profiles.Find(names[i], &p);
      j += std::string(i > 0 ? ",\n " : "\n ") + "{\"name\": " + JsonString(names[i]) +
           ", \"current\": " + (isCurrent(names[i]) ? "true" : "false");
      if (loaded) {
        j += ", \"ssid\": " + JsonString(p.ssid) + ", \"mode\": " + std::to_string(p.mode) +
             ", \"channel\": " + std::to_string(p.channel) + ", \"enc\": " + std::to_string(p.enc);
      }
      j += "}";
    }
    platform_.out.Write(j + (names.empty() ? "]\n" : "\n]\n"));
    return kExitOk;
  }
  std::string text;
  for (const std::string& name : names) text += (isCurrent(name) ? "* " : "  ") + name + "\n";
  platform_.out.Write(text);
  return kExitOk;
}

int CliProgram::Apply(const Options& o) {
  const int started = Start(false, 0);
  if (started != kExitOk) return started;
  Core& c = *core_;
  const std::string& wanted = o.positional[0];
  std::vector<std::string> names;
  if (!c.profiles.Names(&names)) names.clear();
  int index = -1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (SameName(names[i], wanted)) {
      index = static_cast<int>(i);
      break;
    }
  }
  if (index < 0) {
    Fail("there is no profile named \"" + wanted + "\" (see linkscope-cli profiles)");
    return kExitProfile;
  }
  const std::string& name = names[static_cast<std::size_t>(index)];

  const std::string title = OemSettings(c.language).Title();
  if (platform_.tray.Running(title)) {
    // The running program holds the profile in use; it switches, so that it, the adapter and
    // the registry agree. It shows its own refusals.
    if (!platform_.tray.AskSwitch(title, index)) {
      Fail("the running Linkscope did not answer");
      return kExitRefused;
    }
    if (c.profiles.ReadLastProfile() != name) {
      Fail("the running Linkscope did not switch to \"" + name + "\" (it says why in its window)");
      return kExitRefused;
    }
    platform_.out.Write("Linkscope switched to profile \"" + name + "\".\n");
    return kExitOk;
  }

  const int adapterStarted = Start(true, o.adapter);
  if (adapterStarted != kExitOk) return adapterStarted;
  ProfileSwitcher switcher(c.link, c.profiles, c.application, c.messages);
  c.state.currentName.clear();
  if (!switcher.SwitchProfile(index, nullptr)) return kExitRefused;
  // ApplyProfile has said why it failed; success makes the name current.
  if (c.state.currentName != name) return kExitAdapter;
  platform_.out.Write("Profile \"" + name + "\" applied.\n");
  return kExitOk;
}

int CliProgram::Export(const Options& o) {
  const int started = Start(false, 0);
  if (started != kExitOk) return started;
  Profile profile;
  if (!core_->profiles.Find(o.positional[0], &profile)) {
    Fail("there is no profile named \"" + o.positional[0] + "\" (see linkscope-cli profiles)");
    return kExitProfile;
  }
  std::string why;
  if (!platform_.files.Write(o.positional[1], WriteProfileFile(profile), &why)) {
    Fail("cannot write " + o.positional[1] + ": " + why);
    return kExitFile;
  }
  platform_.out.Write("Profile \"" + profile.name + "\" exported to " + o.positional[1] +
                      ". The file holds its WEP keys in clear.\n");
  return kExitOk;
}

int CliProgram::Import(const Options& o) {
  const int started = Start(false, 0);
  if (started != kExitOk) return started;
  Core& c = *core_;
  const std::string& file = o.positional[0];
  std::string bytes;
  std::string why;
  if (!platform_.files.Read(file, kMaxProfileFileSize, &bytes, &why)) {
    Fail("cannot read " + file + ": " + why);
    return kExitFile;
  }
  ProfileFileResult parsed = ParseProfileFile(bytes);
  if (!parsed.ok) {
    Fail(file + ", line " + std::to_string(parsed.line) + ": " + parsed.message +
         ". Nothing was stored.");
    return kExitFile;
  }
  Profile profile = std::move(parsed.profile);
  if (o.as.has_value()) {
    profile.name = *o.as;
    switch (CheckProfileName(profile.name)) {
      case ProfileNameProblem::Empty:
        c.messages.Show("ErrorProfileNameEmpty", "Please specify a profile name");
        return kExitProfile;
      case ProfileNameProblem::TooLong:
        c.messages.Show("ErrorProfileNameLength", "The field must not exceed 15 characters");
        return kExitProfile;
      case ProfileNameProblem::IllegalCharacter:
        c.messages.Show("ErrorProfileNameInvalidChars", "The field contains illegal characters");
        return kExitProfile;
      case ProfileNameProblem::None:
        break;
    }
  }
  if (IsDefaultProfileName(profile.name)) {
    c.messages.Show("ErrorCannotCreateDefaultProfile ",
                    "This name conflicts with default profile. Please specify a different name.");
    return kExitProfile;
  }
  Profile existing;
  if (c.profiles.Find(profile.name, &existing)) {
    if (!o.replace) {
      c.messages.Show("ErrorCannotCreateExistingProfile",
                      "This name conflicts with another profile. Please specify a different name");
      Fail("use --replace to overwrite \"" + existing.name + "\"");
      return kExitProfile;
    }
    // The stored letter case stays: registry key names ignore case.
    profile.name = existing.name;
  }
  // The store writes a profile whole or not at all.
  if (!c.profiles.Save(profile, false)) return kExitProfile;
  platform_.out.Write("Profile \"" + profile.name + "\" imported from " + file + ".\n");
  return kExitOk;
}

}  // namespace linkscope
