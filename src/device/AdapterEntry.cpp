#include "device/AdapterEntry.h"

#include <cstdio>
#include <cstring>

namespace linkscope {

namespace {
// The library's texts are NUL-terminated within 260 bytes; one that is not stops at the field's
// end rather than running into the next field.
std::string FieldText(const char (&field)[kRegistryInfoTextSize]) {
  return std::string(field, strnlen(field, kRegistryInfoTextSize));
}
}  // namespace

std::string AdapterEntry::DisplayName() const {
  std::string name = FieldText(registryInfo.displayName);
  return name.empty() ? FieldText(registryInfo.altDisplayName) : name;
}

std::string AdapterEntry::ServiceName() const { return FieldText(registryInfo.serviceName); }

std::string AdapterEntry::IndexText() const {
  return std::string(indexText.data(), strnlen(indexText.data(), indexText.size()));
}

void AdapterEntry::SetIndex(int index) {
  indexText.fill(0);
  std::snprintf(indexText.data(), indexText.size(), "%4.4d", index);
}

}  // namespace linkscope
