#include "config/ProgramCore.h"

#include "config/ProfileNames.h"

namespace linkscope {

ServiceHandle ProgramCore::OptionalServices::OpenManager(std::uint32_t access) {
  return services_ != nullptr ? services_->OpenManager(access) : 0;
}

ServiceHandle ProgramCore::OptionalServices::OpenNamedService(ServiceHandle manager,
                                                              const std::string& name,
                                                              std::uint32_t access,
                                                              std::uint32_t* error) {
  return services_ != nullptr ? services_->OpenNamedService(manager, name, access, error) : 0;
}

bool ProgramCore::OptionalServices::QueryState(ServiceHandle service, std::uint32_t* state) {
  return services_ != nullptr && services_->QueryState(service, state);
}

bool ProgramCore::OptionalServices::CloseHandle(ServiceHandle handle) {
  return services_ != nullptr && services_->CloseHandle(handle);
}

ProgramCore::ProgramCore(IRegistry& registry, IPrivateProfile& profile, ISystem& system,
                         IRequestLibrary& requests, IWindowSystem& windows,
                         IServiceManager* const& services)
    : system_(system),
      services_(services),
      language(profile),
      messages(windows, language),
      link(requests, system),
      profiles(registry, messages),
      parameters(registry, messages, link),
      application(link, profiles, parameters, messages, system, state),
      settings(link, state, application, parameters),
      windowsConfiguration_(services_, registry, requests, link, messages) {
  // On Windows XP the link answers the Windows-configuration query from here, not the driver.
  link.SetWindowsConfigCheck([this] { return windowsConfiguration_.IsConfiguredByWindows(); });
}

bool ProgramCore::LearnOsKind() {
  OsVersion version;
  if (!system_.GetVersion(&version) || !ClassifyOs(version, &osKind)) return false;
  link.SetOsKind(osKind);
  return true;
}

void ProgramCore::EnsureDefaultProfile() {
  Profile existing;
  if (!profiles.Find(kDefaultProfileName, &existing)) profiles.Save(DefaultProfile(), false);
}

Profile ProgramCore::DefaultProfile() {
  Profile p;
  p.name = kDefaultProfileName;
  p.ssid = "";
  p.mode = 1;
  p.channel = 10;
  p.rate = 4;
  p.power = 0;
  p.preamble = 2;
  p.frag = 2346;
  p.rts = 2347;
  p.enc = 0;
  p.wepmode = 0;
  p.auth = 2;
  p.key = 0;
  p.keys = {"7E3D91C0A5", "7E3D91C0A5", "7E3D91C0A5", "7E3D91C0A5"};
  p.roaming = 0;
  p.radio = 1;
  return p;
}

std::string ProgramCore::ReadLanguageSetting(IRegistry& registry) {
  std::string stored = LanguageTable::kNoLanguageYet;
  RegKey key = 0;
  if (registry.OpenKey(kRegCurrentUser, kSettingsKey, RegAccess::Read, &key) != kRegOk) {
    return stored;
  }
  // No language name can be longer than a value of the language file; a longer value names
  // none of them.
  std::string data(LanguageTable::kValueBufferSize, '\0');
  std::uint32_t type = 0;
  std::uint32_t size = LanguageTable::kValueBufferSize;
  const long rc = registry.QueryValue(key, kLanguageValue, &type,
                                      reinterpret_cast<std::uint8_t*>(&data[0]), &size);
  registry.CloseKey(key);
  if (rc == kRegOk && (type == kRegSz || type == kRegExpandSz) &&
      size <= LanguageTable::kValueBufferSize) {
    // Stored with or without its terminating NUL.
    data.resize(size);
    stored = data.substr(0, data.find('\0'));
  }
  return stored;
}

}  // namespace linkscope
