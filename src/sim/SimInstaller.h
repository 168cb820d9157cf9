#pragma once
// What installing the simulated adapters' drivers writes into the registry, in the layout of
// the running Windows family (see SimLayout.h), and its removal.

#include <string>

#include "platform/Registry.h"
#include "sim/SimEnvironment.h"
#include "sim/SimLayout.h"

namespace linkscope::sim {

// Removes what an earlier install wrote, then writes every adapter of the environment at the
// first free adapter subkeys, in file order. False with a reason when the registry refuses.
bool InstallAdapters(IRegistry& registry, SimOsFamily family, const SimEnvironment& environment,
                     std::string* error);

// Removes every key an install wrote (they carry the installer's mark); other adapters' keys
// are left alone.
bool RemoveAdapters(IRegistry& registry, SimOsFamily family, std::string* error);

}  // namespace linkscope::sim
