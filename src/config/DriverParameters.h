#pragma once
// The adapter driver's registry parameters: every setting the program sends to the adapter is
// also written here, so that the driver starts the same way after a restart. Numbers are
// REG_DWORD on NT 4 and decimal text elsewhere; texts are stored without their NUL; Windows
// 9x keeps a second copy of each value below the driver key's "Ndi\params".

#include <array>
#include <cstdint>
#include <string>

#include "device/CAdapterLink.h"
#include "device/CoreRecords.h"
#include "device/WepConfig.h"
#include "platform/Registry.h"
#include "text/Messages.h"

namespace linkscope {

class DriverParameters {
 public:
  DriverParameters(IRegistry& registry, const Messages& messages, CAdapterLink& link)
      : registry_(registry), messages_(messages), link_(link) {}
  ~DriverParameters() { Close(); }
  DriverParameters(const DriverParameters&) = delete;
  DriverParameters& operator=(const DriverParameters&) = delete;

  // Recomputes the selected adapter's driver key path and opens that key; never creates it.
  // Fails where the system has no driver key (OsKind 0) or no adapter is selected.
  bool Open();
  void WriteNumber(const std::string& name, std::uint32_t value);
  void WriteText(const std::string& name, const std::string& text);
  // A text value in the driver key only, without the Windows 9x copy below "Ndi\params".
  void WriteTextWithoutCopy(const std::string& name, const std::string& text);
  void Close();

  // A whole configuration, as a profile applies it; false when the driver key cannot be opened
  // or any value (or its Windows 9x copy) could not be stored.
  bool WriteAll(const DeviceConfig& config, const WepConfig& wep, std::uint8_t radio,
                std::uint8_t roaming, const std::array<std::string, 4>& keyTexts);

  // One value below HKEY_LOCAL_MACHINE as text, or "ERROR" (after a message) on any failure.
  std::string ReadText(const std::string& keyPath, const std::string& valueName);

  // The Windows-configures-the-card state, recorded on Windows XP only.
  void WriteUseWzcs(bool configuredByWindows);

 private:
  void StoreText(const std::string& name, const std::string& text, bool mirror);

  IRegistry& registry_;
  const Messages& messages_;
  CAdapterLink& link_;
  RegKey key_ = 0;
  bool writeFailed_ = false;  // a value of the current write sequence was not stored
};

}  // namespace linkscope
