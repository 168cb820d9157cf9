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

namespace {

unsigned char UpperInCodePage(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  // Latin-1 letters a-grave to thorn, except the division sign.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return c;
  }
}

}  // namespace

std::string RegistryNameUpper(const std::string& name) {
  std::string out = name;
  for (char& c : out) c = static_cast<char>(UpperInCodePage(static_cast<unsigned char>(c)));
  return out;
}

bool RegistryNamesEqual(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperInCodePage(static_cast<unsigned char>(a[i])) !=
        UpperInCodePage(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace linkscope
