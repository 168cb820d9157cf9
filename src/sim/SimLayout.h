#pragma once
// Where installing an adapter's driver puts things in the registry, per Windows family, and the
// request library's registry helpers that read them back.
//
//   Windows 95/98/Me  System\CurrentControlSet\Services\Class\Net\NNNN: DriverDesc,
//                     MatchingDeviceId, NTMPDriver, the driver parameters as text and their
//                     Ndi\params\<name> keys.
//   Windows NT 4      Software\Microsoft\Windows NT\CurrentVersion\NetworkCards\N (from 1):
//                     Title, Description, ServiceName; the parameters (numbers as DWORD) in
//                     System\CurrentControlSet\Services\<service>\Parameters.
//   Windows 2000/XP   System\CurrentControlSet\Control\Class\{4D36E972-...}\NNNN: DriverDesc,
//                     NetCfgInstanceId and the parameters as text; NetworkCards\N as well.

#include <string>

#include "platform/Registry.h"
#include "platform/RequestLibrary.h"
#include "platform/System.h"
#include "sim/SimEnvironment.h"

namespace linkscope::sim {

enum class SimOsFamily { Win9x, Nt4, Nt5 };

// Win32s counts as nothing we serve; false then.
bool FamilyOfVersion(const OsVersion& version, SimOsFamily* family);

// Value written into every key the installer creates, so that removing finds only its own.
constexpr const char* kInstallerMarkName = "ProviderName";
constexpr const char* kInstallerMarkValue = "ORVEX Skyrelay (simulated)";

std::string NetCardRegistryPath(SimOsFamily family);
// Name of the adapter subkey of an adapter index: "%04d" below the class key, or the NT 4
// network-card number (index + 1).
std::string AdapterSubkeyName(SimOsFamily family, int index);
std::string NetworkCardsKey();
std::string ServiceKey(const std::string& serviceName);

// The name the request library's open takes for the adapter installed at `index`.
std::string DeviceNameOf(SimOsFamily family, const SimAdapterSetup& adapter, int index);

// Fills `info` from the adapter subkey of `index`; nonzero when there is none.
std::uint32_t ReadAdapterRegistryInfo(IRegistry& registry, SimOsFamily family, int index,
                                      AdapterRegistryInfo* info);

// Finds the installed driver key of an adapter by what the installer wrote (NetCfgInstanceId,
// NTMPDriver, the NT 4 service); false when it is not installed.
bool FindDriverKey(IRegistry& registry, SimOsFamily family, const SimAdapterSetup& adapter,
                   std::string* path);

// A text value of at most maxBytes (NUL or not); false when missing, not text or longer.
bool ReadRegistryText(IRegistry& registry, RegKey key, const std::string& name,
                      std::size_t maxBytes, std::string* text);

}  // namespace linkscope::sim
