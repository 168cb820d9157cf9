#include "config/RegistryText.h"

#include "platform/Registry.h"

namespace linkscope {

std::string RegistryValueText(std::uint32_t type, const std::uint8_t* data, std::uint32_t size) {
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  if (type == kRegDword) {
    for (std::uint32_t i = size; i > 0; --i) {
      text += kHex[data[i - 1] >> 4];
      text += kHex[data[i - 1] & 0xF];
    }
    return text;
  }
  // A text stored without its NUL ends with its data.
  for (std::uint32_t i = 0; i < size && data[i] != 0; ++i) text += static_cast<char>(data[i]);
  return text;
}

std::int32_t RegistryValueNumber(const std::uint8_t* data, std::uint32_t size) {
  std::uint32_t value = 0;
  for (std::uint32_t i = 0; i < 4 && i < size; ++i) value |= std::uint32_t{data[i]} << (8 * i);
  return static_cast<std::int32_t>(value);
}

}  // namespace linkscope
