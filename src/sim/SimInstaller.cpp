#include "sim/SimInstaller.h"

#include <vector>

#include "device/ByteOrder.h"
#include "sim/DriverParameters.h"

namespace linkscope::sim {

namespace {

// Adapter subkeys beyond this are never looked at.
constexpr int kMaxAdapterSubkeys = 1000;

// Owns one open key.
class Key {
 public:
  explicit Key(IRegistry& registry) : registry_(registry) {}
  ~Key() {
    if (key_ != 0) registry_.CloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  long Create(const std::string& path) { return registry_.CreateKey(kRegLocalMachine, path, &key_); }
  long Open(const std::string& path) {
    return registry_.OpenKey(kRegLocalMachine, path, RegAccess::Read, &key_);
  }
  RegKey get() const { return key_; }

 private:
  IRegistry& registry_;
  RegKey key_ = 0;
};

// Writes values into one key; the first failure is kept.
class Writer {
 public:
  Writer(IRegistry& registry, RegKey key) : registry_(registry), key_(key) {}
  // Windows' own setup stores its texts with the NUL.
  void SetupText(const std::string& name, const std::string& text) {
    Store(name, kRegSz, reinterpret_cast<const std::uint8_t*>(text.c_str()), text.size() + 1);
  }
  // Driver parameters are texts without the NUL, as the utility writes them.
  void ParameterText(const std::string& name, const std::string& text) {
    Store(name, kRegSz, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  }
  void Dword(const std::string& name, std::uint32_t value) {
    std::uint8_t raw[4];
    WriteU32Le(raw, value);
    Store(name, kRegDword, raw, sizeof raw);
  }
  long Result() const { return result_; }

 private:
  void Store(const std::string& name, std::uint32_t type, const std::uint8_t* data,
             std::size_t size) {
    const long rc = registry_.SetValue(key_, name, type, data, static_cast<std::uint32_t>(size));
    if (result_ == kRegOk) result_ = rc;
  }
  IRegistry& registry_;
  RegKey key_;
  long result_ = kRegOk;
};

bool Fail(std::string* error, const std::string& what, long rc) {
  if (error != nullptr) *error = what + " (registry error " + std::to_string(rc) + ")";
  return false;
}

bool HasMark(IRegistry& registry, const std::string& path) {
  Key key(registry);
  if (key.Open(path) != kRegOk) return false;
  std::string mark;
  return ReadRegistryText(registry, key.get(), kInstallerMarkName, 255, &mark) &&
         mark == kInstallerMarkValue;
}

// Subkey names of a key (empty when it does not exist).
std::vector<std::string> SubkeyNames(IRegistry& registry, const std::string& path) {
  std::vector<std::string> names;
  Key key(registry);
  if (key.Open(path) != kRegOk) return names;
  for (std::uint32_t i = 0;; ++i) {
    char name[256];
    std::uint32_t size = sizeof name;
    if (registry.EnumKey(key.get(), i, name, &size) != kRegOk) break;
    names.emplace_back(name, size < sizeof name ? size : sizeof name - 1);
  }
  return names;
}

// The first adapter index whose subkey does not exist.
int FreeIndex(IRegistry& registry, SimOsFamily family, const std::string& parent) {
  for (int index = 0; index < kMaxAdapterSubkeys; ++index) {
    Key key(registry);
    if (key.Open(parent + "\\" + AdapterSubkeyName(family, index)) != kRegOk) return index;
  }
  return -1;
}

bool WriteParameters(IRegistry& registry, SimOsFamily family, const std::string& driverKey,
                     const SimAdapterSetup& adapter, std::string* error) {
  Key key(registry);
  long rc = key.Create(driverKey);
  if (rc != kRegOk) return Fail(error, "cannot create " + driverKey, rc);
  Writer writer(registry, key.get());
  for (const DriverParameterInfo& info : DriverParameterTable()) {
    auto it = adapter.parameters.find(info.name);
    const std::string text = it != adapter.parameters.end() ? it->second : info.defaultText;
    std::uint32_t number = 0;
    if (info.numeric && family == SimOsFamily::Nt4 && ParseDecimal(text, &number)) {
      writer.Dword(info.name, number);
    } else {
      writer.ParameterText(info.name, text);
    }
    if (family == SimOsFamily::Win9x) {
      // Windows 9x keeps a described copy of every parameter for its property pages; the
      // utility mirrors its writes into the unnamed value there.
      const std::string paramKey = driverKey + "\\Ndi\\params\\" + info.name;
      Key param(registry);
      rc = param.Create(paramKey);
      if (rc != kRegOk) return Fail(error, "cannot create " + paramKey, rc);
      Writer p(registry, param.get());
      p.ParameterText("", text);
      p.SetupText("ParamDesc", info.name);
      p.SetupText("default", info.defaultText);
      if (p.Result() != kRegOk) return Fail(error, "cannot write " + paramKey, p.Result());
    }
  }
  if (writer.Result() != kRegOk) return Fail(error, "cannot write " + driverKey, writer.Result());
  return true;
}

bool InstallOne(IRegistry& registry, SimOsFamily family, const SimAdapterSetup& adapter,
                std::string* error) {
  const std::string classKey = NetCardRegistryPath(family);
  if (family == SimOsFamily::Win9x || family == SimOsFamily::Nt5) {
    const int index = FreeIndex(registry, family, classKey);
    if (index < 0) return Fail(error, "no free adapter subkey below " + classKey, kRegNotFound);
    const std::string path = classKey + "\\" + AdapterSubkeyName(family, index);
    Key key(registry);
    const long rc = key.Create(path);
    if (rc != kRegOk) return Fail(error, "cannot create " + path, rc);
    Writer w(registry, key.get());
    w.SetupText(kInstallerMarkName, kInstallerMarkValue);
    w.SetupText("DriverDesc", adapter.displayName);
    if (family == SimOsFamily::Nt5) {
      w.SetupText("NetCfgInstanceId", adapter.InstanceId());
    } else {
      if (!adapter.hardwareId.empty()) w.SetupText("MatchingDeviceId", adapter.hardwareId);
      w.SetupText("NTMPDriver", adapter.serviceName + ".sys");
    }
    if (w.Result() != kRegOk) return Fail(error, "cannot write " + path, w.Result());
    if (adapter.wireless && !WriteParameters(registry, family, path, adapter, error)) return false;
  }
  if (family == SimOsFamily::Nt4 || family == SimOsFamily::Nt5) {
    const std::string cards = NetworkCardsKey();
    const int index = FreeIndex(registry, SimOsFamily::Nt4, cards);
    if (index < 0) return Fail(error, "no free network-card number below " + cards, kRegNotFound);
    const std::string number = AdapterSubkeyName(SimOsFamily::Nt4, index);
    const std::string path = cards + "\\" + number;
    Key key(registry);
    const long rc = key.Create(path);
    if (rc != kRegOk) return Fail(error, "cannot create " + path, rc);
    Writer w(registry, key.get());
    w.SetupText(kInstallerMarkName, kInstallerMarkValue);
    w.SetupText("Description", adapter.displayName);
    w.SetupText("Title", "[" + number + "] " + adapter.displayName);
    w.SetupText("ServiceName",
                family == SimOsFamily::Nt4 ? adapter.serviceName : adapter.InstanceId());
    w.SetupText("ProductName", adapter.serviceName);
    if (w.Result() != kRegOk) return Fail(error, "cannot write " + path, w.Result());
  }
  if (family == SimOsFamily::Nt4) {
    const std::string service = ServiceKey(adapter.serviceName);
    Key key(registry);
    const long rc = key.Create(service);
    if (rc != kRegOk) return Fail(error, "cannot create " + service, rc);
    Writer w(registry, key.get());
    w.SetupText(kInstallerMarkName, kInstallerMarkValue);
    w.Dword("Type", 1);          // kernel driver
    w.Dword("Start", 3);         // on demand
    w.Dword("ErrorControl", 1);  // normal
    w.SetupText("Group", "NDIS");
    w.SetupText("ImagePath", "System32\\drivers\\" + adapter.serviceName + ".sys");
    if (w.Result() != kRegOk) return Fail(error, "cannot write " + service, w.Result());
    const std::string parameters = service + "\\Parameters";
    if (adapter.wireless) {
      if (!WriteParameters(registry, family, parameters, adapter, error)) return false;
    } else {
      Key p(registry);
      const long prc = p.Create(parameters);
      if (prc != kRegOk) return Fail(error, "cannot create " + parameters, prc);
    }
  }
  return true;
}

}  // namespace

bool RemoveAdapters(IRegistry& registry, SimOsFamily family, std::string* error) {
  std::vector<std::string> doomed;
  if (family != SimOsFamily::Nt4) {
    const std::string classKey = NetCardRegistryPath(family);
    for (const std::string& name : SubkeyNames(registry, classKey)) {
      if (HasMark(registry, classKey + "\\" + name)) doomed.push_back(classKey + "\\" + name);
    }
  }
  if (family != SimOsFamily::Win9x) {
    const std::string cards = NetworkCardsKey();
    for (const std::string& name : SubkeyNames(registry, cards)) {
      const std::string path = cards + "\\" + name;
      if (!HasMark(registry, path)) continue;
      doomed.push_back(path);
      Key key(registry);
      std::string service;
      if (key.Open(path) == kRegOk &&
          ReadRegistryText(registry, key.get(), "ProductName", 255, &service) &&
          !service.empty() && HasMark(registry, ServiceKey(service))) {
        doomed.push_back(ServiceKey(service));
      }
    }
  }
  for (const std::string& path : doomed) {
    const long rc = registry.DeleteTree(kRegLocalMachine, path);
    if (rc != kRegOk && rc != kRegNotFound) return Fail(error, "cannot delete " + path, rc);
  }
  return true;
}

bool InstallAdapters(IRegistry& registry, SimOsFamily family, const SimEnvironment& environment,
                     std::string* error) {
  if (!RemoveAdapters(registry, family, error)) return false;
  for (const SimAdapterSetup& adapter : environment.adapters) {
    if (!InstallOne(registry, family, adapter, error)) return false;
  }
  return true;
}

}  // namespace linkscope::sim
